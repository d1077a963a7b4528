// xmenvelopes: writes the envelope of this player's own render of every
// reference song it renders differently from the established player on
// purpose, into tests/music/own_envelopes. The reference test holds those
// songs to these envelopes; write them again only after an intended change
// to how such a song sounds (`cmake --build build --target xm-envelopes`).
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/music/loudness.h"
#include "tests/music/reference_songs.h"

int main() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(ReferenceSongs_EnvelopeFolder(), ec);
    int written = 0;
    for (const auto& [name, why] : ReferenceSongs_Deviations()) {
        int64_t ref_frames = 0;
        LoudnessEnvelope ref;
        if (!Loudness_ReadReference((ReferenceSongs_Folder() / (name + ".env")).string(), ref_frames, ref)) {
            std::fprintf(stderr, "xmenvelopes: no reference envelope for %s in %s\n", name.c_str(),
                         ReferenceSongs_Folder().string().c_str());
            return 1;
        }
        std::string refused;
        const auto pcm = ReferenceSongs_Render(name, ref_frames + 48000, refused);
        if (!refused.empty()) {
            std::printf("%s: refused by the loader (%s), no envelope\n", name.c_str(), refused.c_str());
            continue;
        }
        const std::string path = (ReferenceSongs_EnvelopeFolder() / (name + ".env")).string();
        if (!OwnEnvelope_Write(path, name, OwnEnvelope_Measure(pcm))) {
            std::fprintf(stderr, "xmenvelopes: cannot write %s\n", path.c_str());
            return 1;
        }
        ++written;
    }
    std::printf("%d envelopes written to %s\n", written, ReferenceSongs_EnvelopeFolder().string().c_str());
    return 0;
}
