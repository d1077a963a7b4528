// bench_menu_song: what the music worker does on each of its 5 ms polls for
// the menu song: render one 1024-frame block (21.3 ms of sound) and convert it
// into the output ring at full volume. It must take a small share of the
// block's own duration; the counter gives CPU time per second of sound.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "music/arena.h"
#include "music/block.h"
#include "music/replay.h"
#include "music/song.h"
#include "music/source.h"
#include "music/xm_loader.h"

namespace {

void BM_MenuSongBlock(benchmark::State& state) {
    const std::string file = std::string(KORVAMO_TEST_DATA) + "/sfx/menu.xm";
    ByteSource source;
    TArena arena;
    TSong song;
    if (!Source_OpenFile(source, file) || !Song_Load(song, source, arena)) {
        state.SkipWithError(("cannot load " + file).c_str());
        return;
    }
    Source_Close(source);
    std::array<float, 2 * kBlockFrames> acc;
    std::array<int16_t, 2 * kBlockFrames> out;
    for (auto _ : state) {
        acc.fill(0.0f);
        Song_Render(song, acc.data(), kBlockFrames);
        benchmark::DoNotOptimize(Block_Convert(acc.data(), out.data(), kFullVolumeDivisor));
    }
    state.counters["cpu_per_audio_second"] = benchmark::Counter(
        double(state.iterations()) * kBlockFrames / kOutputRate,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MenuSongBlock);

}  // namespace

BENCHMARK_MAIN();
