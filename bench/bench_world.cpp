// The per-tick refresh of the draw list (World_BuildView, World_OrderView and
// the dynamic shadows) on every shipped track, the camera moving along the
// route, and on synthetic full maps of 4097 objects.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "assets/texbase.h"
#include "core/state.h"
#include "engine/backend_recording.h"
#include "engine/fs.h"
#include "engine/record.h"
#include "world/race_setup.h"
#include "world/view.h"

namespace {

// One refresh per iteration, the camera on the next waypoint each time as if
// following a car round the track.
void Refresh(benchmark::State& state) {
    int64_t drawn = 0;
    int32_t next = 0;
    for (auto _ : state) {
        if (world_map.waypoint_count > 0) {
            const tcorner& w = world_map.waypoints[next++ % world_map.waypoint_count];
            game.main_camera->x = w.x - 400;
            game.main_camera->y = w.y - 300;
        }
        World_RefreshDrawList();
        drawn += draw_list.count;
    }
    state.counters["objects"] = world_map.count;
    state.counters["on_screen"] = benchmark::Counter(static_cast<double>(drawn), benchmark::Counter::kAvgIterations);
}

void Track(benchmark::State& state, const std::string& name) {
    World_Clear(world_map);
    World_LoadRace(world_map, "wld\\" + name + ".wld");
    Refresh(state);
}

// 4097 objects: lamps, dynamic props and cars among props and ground tiles,
// spread over `size` x `size` pixels around the route.
void Synthetic(benchmark::State& state, int size) {
    World_Clear(world_map);
    world_map.waypoint_count = 0;
    const char* kinds[] = {"lnd_grass", "lnd_grass", "tree", "bush", "lamp", "tyres", "car", "limit"};
    for (int i = 0; i < WORLD_CAPACITY; ++i) {
        tminimal o;
        o.kind = kinds[i % 8];
        o.x = (i * 7919) % size;
        o.y = (i * 104729) % size;
        o.frame = 1.0f;
        o.dynamic = o.kind == "tyres" || o.kind == "car";
        World_Append(world_map, o);
    }
    for (int i = 0; i < 40; ++i) World_AddWaypoint(world_map, (i * 997) % size, (i * 1499) % size);
    World_LoadRace(world_map, "wld\\none.wld");   // no file: sizes, light and shadows only
    Refresh(state);
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::current_path(KORVAMO_TEST_DATA);
    oe::UseRecordingBackend();
    oe::Recorder_Enable(false);
    TexBase_LoadFolder(object_registry, "gfx\\obj\\");
    game.main_camera = Cam2D_Create();
    for (const std::string& file : Fs_List("wld\\*.wld")) {
        const std::string name = file.substr(0, file.size() - 4);
        benchmark::RegisterBenchmark(("Refresh/" + name).c_str(), Track, name)->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("Refresh/synthetic_4097_spread", Synthetic, 6000)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Refresh/synthetic_4097_on_one_screen", Synthetic, 600)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
