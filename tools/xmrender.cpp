// xmrender: renders an XM song to a 48000 Hz stereo 16-bit WAV file through
// the player's own block path (1024-frame blocks, full volume), writing the
// file block by block as it renders.
//
//   xmrender IN.xm OUT.wav [--seconds N] [--loops N]
//
// Without --seconds the song plays once: it stops where it ends, that is where
// it first goes on to an order it has already played (the end of the order
// list, a jump back). --loops N plays N more passes after the first. With
// --seconds N it stops after N seconds, playing on round its loops until then
// (or until the passes --loops asks for are done).
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "music/arena.h"
#include "music/block.h"
#include "music/replay.h"
#include "music/song.h"
#include "music/source.h"
#include "music/xm_loader.h"

namespace {

constexpr uint32_t kHeaderBytes = 44;
constexpr uint32_t kFrameBytes = 4;   // two 16-bit channels
// A RIFF file's size field counts everything after its first 8 bytes.
constexpr uint64_t kMaxFrames = (0xFFFFFFFFull - (kHeaderBytes - 8)) / kFrameBytes;

void Put(uint8_t* out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}

std::array<uint8_t, kHeaderBytes> WavHeader(uint32_t frames) {
    const uint32_t data = frames * kFrameBytes;
    std::array<uint8_t, kHeaderBytes> h{};
    std::memcpy(&h[0], "RIFF", 4);
    Put(&h[4], kHeaderBytes - 8 + data, 4);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    Put(&h[16], 16, 4);
    Put(&h[20], 1, 2);                          // PCM
    Put(&h[22], 2, 2);                          // stereo
    Put(&h[24], kOutputRate, 4);
    Put(&h[28], kOutputRate * kFrameBytes, 4);  // bytes per second
    Put(&h[32], kFrameBytes, 2);
    Put(&h[34], 16, 2);                         // bits per sample
    std::memcpy(&h[36], "data", 4);
    Put(&h[40], data, 4);
    return h;
}

int Usage() {
    std::fprintf(stderr, "usage: xmrender IN.xm OUT.wav [--seconds N] [--loops N]\n");
    return 2;
}

struct Options {
    const char* in = nullptr;
    const char* out = nullptr;
    double seconds = 0.0;   // 0: no time limit
    long loops = -1;        // -1: not given
};

bool ParseOptions(int argc, char** argv, Options& o) {
    if (argc < 3 || argc % 2 == 0) return false;
    o.in = argv[1];
    o.out = argv[2];
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string_view flag = argv[i];
        char* end = nullptr;
        if (flag == "--seconds") {
            o.seconds = std::strtod(argv[i + 1], &end);
            if (end == argv[i + 1] || *end != '\0' || !(o.seconds > 0.0)) return false;
        } else if (flag == "--loops") {
            o.loops = std::strtol(argv[i + 1], &end, 10);
            if (end == argv[i + 1] || *end != '\0' || o.loops < 0 || o.loops > 1000000) return false;
        } else {
            return false;
        }
    }
    return true;
}

// Output that has failed is removed, so no half-written WAV is left behind.
int WriteFailed(const char* path) {
    std::fprintf(stderr, "xmrender: cannot write %s: %s\n", path, std::strerror(errno));
    std::remove(path);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, o)) return Usage();
    if (o.seconds * kOutputRate > double(kMaxFrames)) {
        std::fprintf(stderr, "xmrender: %g seconds do not fit in a WAV file (at most %.0f seconds, 4 GiB)\n", o.seconds,
                     double(kMaxFrames) / kOutputRate);
        return 1;
    }
    ByteSource source;
    if (!Source_OpenFile(source, o.in)) {
        std::fprintf(stderr, "xmrender: cannot open %s: %s\n", o.in, std::strerror(errno));
        return 1;
    }
    TArena arena;
    TSong song;
    std::string why;
    const bool loaded = Song_Load(song, source, arena, &why);
    Source_Close(source);
    if (!loaded) {
        std::fprintf(stderr, "xmrender: %s is refused: %s\n", o.in, why.c_str());
        return 1;
    }
    song.max_passes = o.loops >= 0 ? int32_t(o.loops) + 1 : o.seconds > 0.0 ? 0 : 1;

    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(o.out, "wb"));
    if (!out) return WriteFailed(o.out);
    if (std::fwrite(WavHeader(0).data(), 1, kHeaderBytes, out.get()) != kHeaderBytes) return WriteFailed(o.out);

    const uint64_t limit = o.seconds > 0.0 ? static_cast<uint64_t>(o.seconds * kOutputRate) : kMaxFrames;
    std::array<float, 2 * kBlockFrames> acc;
    std::array<int16_t, 2 * kBlockFrames> block;
    std::array<uint8_t, kFrameBytes * kBlockFrames> bytes;
    uint64_t frames = 0;
    while (frames < limit && !song.ended) {
        acc.fill(0.0f);
        const int32_t rendered = Song_Render(song, acc.data(), kBlockFrames);
        Block_Convert(acc.data(), block.data(), kFullVolumeDivisor);
        const uint64_t keep = std::min<uint64_t>(uint64_t(rendered), limit - frames);
        for (uint64_t i = 0; i < 2 * keep; ++i) Put(&bytes[2 * i], static_cast<uint16_t>(block[i]), 2);
        if (std::fwrite(bytes.data(), kFrameBytes, keep, out.get()) != keep) return WriteFailed(o.out);
        frames += keep;
    }
    if (!song.ended && o.seconds <= 0.0) {
        std::fprintf(stderr, "xmrender: %s plays longer than a WAV file can hold (4 GiB); ask for fewer --loops\n", o.in);
        out.reset();
        std::remove(o.out);
        return 1;
    }
    const auto header = WavHeader(static_cast<uint32_t>(frames));
    if (std::fseek(out.get(), 0, SEEK_SET) != 0 || std::fwrite(header.data(), 1, kHeaderBytes, out.get()) != kHeaderBytes ||
        std::fclose(out.release()) != 0)
        return WriteFailed(o.out);
    return 0;
}
