// xmrender: renders an XM song to a 48000 Hz stereo 16-bit WAV file through
// the player's own block path (1024-frame blocks, full volume).
//
//   xmrender IN.xm OUT.wav [--seconds N]
//
// The song plays once through its order list; --seconds N stops it after N
// seconds at the latest (a song that jumps back never ends by itself).
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "music/arena.h"
#include "music/block.h"
#include "music/replay.h"
#include "music/song.h"
#include "music/source.h"
#include "music/xm_loader.h"

namespace {

void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<uint8_t> WavHeader(uint32_t frames) {
    const uint32_t data = frames * 4;
    std::vector<uint8_t> h;
    for (char c : std::string("RIFF")) h.push_back(static_cast<uint8_t>(c));
    Put(h, 36 + data, 4);
    for (char c : std::string("WAVEfmt ")) h.push_back(static_cast<uint8_t>(c));
    Put(h, 16, 4);
    Put(h, 1, 2);                       // PCM
    Put(h, 2, 2);                       // stereo
    Put(h, kOutputRate, 4);
    Put(h, kOutputRate * 4, 4);         // bytes per second
    Put(h, 4, 2);                       // bytes per frame
    Put(h, 16, 2);                      // bits per sample
    for (char c : std::string("data")) h.push_back(static_cast<uint8_t>(c));
    Put(h, data, 4);
    return h;
}

int Usage() {
    std::fprintf(stderr, "usage: xmrender IN.xm OUT.wav [--seconds N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) return Usage();
    double seconds = 0.0;
    if (argc == 5) {
        char* end = nullptr;
        seconds = std::strtod(argv[4], &end);
        if (std::string(argv[3]) != "--seconds" || end == argv[4] || *end != '\0' || !(seconds > 0.0))
            return Usage();
    }
    ByteSource source;
    if (!Source_OpenFile(source, argv[1])) {
        std::fprintf(stderr, "xmrender: cannot open %s\n", argv[1]);
        return 1;
    }
    TArena arena;
    TSong song;
    const bool loaded = Song_Load(song, source, arena);
    Source_Close(source);
    if (!loaded) {
        std::fprintf(stderr, "xmrender: %s is not a song this player accepts\n", argv[1]);
        return 1;
    }
    song.no_loop = true;

    // Without a limit, a song that never ends stops after an hour.
    const double limit = seconds > 0.0 ? seconds : 3600.0;
    const uint64_t max_frames = static_cast<uint64_t>(limit * kOutputRate);
    std::vector<int16_t> pcm;
    std::array<float, 2 * kBlockFrames> acc;
    std::array<int16_t, 2 * kBlockFrames> block;
    uint64_t frames = 0;
    while (frames < max_frames && !song.ended) {
        acc.fill(0.0f);
        const int32_t rendered = Song_Render(song, acc.data(), kBlockFrames);
        Block_Convert(acc.data(), block.data(), kFullVolumeDivisor);
        const uint64_t keep = std::min<uint64_t>(uint64_t(rendered), max_frames - frames);
        pcm.insert(pcm.end(), block.begin(), block.begin() + 2 * keep);
        frames += keep;
    }

    std::vector<uint8_t> bytes = WavHeader(static_cast<uint32_t>(frames));
    for (int16_t s : pcm) Put(bytes, static_cast<uint16_t>(s), 2);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "xmrender: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
