// The settings and profile readers on arbitrary bytes.
#include <cstdlib>
#include <vector>

#include "persist/file_formats.h"
#include "tests/fuzz/fuzz_targets.h"

namespace {

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

bool IsLineBreak(uint8_t flag) { return flag == '\r' || flag == '\n'; }

}  // namespace

bool Fuzz_Persist(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);

    const tsettings settings = Settings_Decode(bytes);
    if (HasLineBreak(settings.country) || HasLineBreak(settings.player_name)) return false;
    if (settings.player_name.size() > PROFILE_NAME_MAX_BYTES) return false;
    // A flag that is itself a line break cannot come back whole; the game never writes one.
    if (!IsLineBreak(settings.windowed) && !IsLineBreak(settings.music_off) && !IsLineBreak(settings.ambient_off)) {
        const tsettings again = Settings_Decode(Settings_Encode(settings));
        if (again.windowed != settings.windowed || again.music_off != settings.music_off ||
            again.ambient_off != settings.ambient_off || again.country != settings.country ||
            again.player_name != settings.player_name)
            return false;
    }

    const tprofile profile = Profile_Decode(bytes);
    if (profile.progress < 0 || profile.progress > PROGRESS_CUP_WON) return false;
    const tprofile again = Profile_Decode(Profile_Encode(profile));
    return again.progress == profile.progress && again.score == profile.score;
}

#ifdef KORVAMO_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Fuzz_Persist(data, size)) std::abort();
    return 0;
}
#endif
