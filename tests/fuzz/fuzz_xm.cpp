// The module player on arbitrary bytes: Song_Load, then a short render.
#include <array>
#include <cmath>
#include <cstdlib>

#include "music/arena.h"
#include "music/block.h"
#include "music/replay.h"
#include "music/source.h"
#include "music/xm_loader.h"
#include "tests/fuzz/fuzz_targets.h"

namespace {

constexpr int kBlocks = 6;

bool LoadedWithinRange(const TSong& song) {
    if (song.channel_count < 1 || song.channel_count > kMaxChannels) return false;
    if (song.song_length < 1 || song.song_length > 256 || song.restart_position >= song.song_length) return false;
    // Stored patterns hold 1 to 256 rows; an empty one keeps any row count.
    for (int p = 0; p < song.pattern_slots; ++p) {
        const TPattern& pat = song.patterns[p];
        if (pat.rows < 1 || (pat.cells && pat.rows > 256)) return false;
    }
    for (int i = 0; i < song.instrument_count; ++i) {
        const TInstrument& ins = song.instruments[i];
        if (ins.volume_envelope.count > kEnvelopePoints || ins.panning_envelope.count > kEnvelopePoints) return false;
        for (const TSample* s : ins.samples)
            if (s && (!s->data || s->loop_start + s->loop_length > s->length)) return false;
    }
    return true;
}

}  // namespace

bool Fuzz_Xm(const uint8_t* data, size_t size) {
    TArena arena;
    arena.budget = size_t(32) << 20;   // keeps each input quick; larger requests are rejected
    TSong song;
    ByteSource src = Source_OpenMemory(data, static_cast<uint32_t>(size));
    if (!Song_Load(song, src, arena)) return true;
    if (!LoadedWithinRange(song)) return false;
    song.no_loop = (size & 1) != 0;
    std::array<float, 2 * kBlockFrames> acc;
    std::array<int16_t, 2 * kBlockFrames> out;
    for (int b = 0; b < kBlocks; ++b) {
        acc.fill(0.0f);
        const int32_t rendered = Song_Render(song, acc.data(), kBlockFrames);
        if (rendered < 0 || rendered > kBlockFrames) return false;
        for (float v : acc)
            if (!std::isfinite(v)) return false;
        Block_Convert(acc.data(), out.data(), kFullVolumeDivisor);
    }
    return true;
}

#ifdef KORVAMO_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Fuzz_Xm(data, size)) std::abort();
    return 0;
}
#endif
