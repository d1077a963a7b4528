// The load callback on the generated asset set: sounds, both texture
// registries, the font and the camera, as the game loads them at start-up.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/startup.h"
#include "assets/soundbase.h"
#include "assets/texbase.h"
#include "core/state.h"
#include "engine/backend_recording.h"
#include "engine/record.h"

namespace {

void BM_LoadCallback(benchmark::State& state) {
    std::filesystem::current_path(KORVAMO_TEST_DATA);
    for (auto _ : state) {
        state.PauseTiming();
        oe::UseRecordingBackend();
        oe::Recorder_Enable(false);
        share_registry = TBase{};
        object_registry = TBase{};
        sound_registry = TS_List{};
        state.ResumeTiming();
        LoadCallback();
    }
    state.counters["textures"] = share_registry.count + object_registry.count;
    state.counters["sounds"] = sound_registry.count;
}
BENCHMARK(BM_LoadCallback)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
