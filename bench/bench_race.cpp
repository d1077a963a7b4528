// The racing tick (bonus spawner, Race_Update, particles, draw-list refresh:
// the game's tick in the race state) with the autopilot driving, on the
// densest shipped track and on synthetic worst cases of 4097 objects with 8 or
// 32 cars and 500 or 1000 dynamic props; and one race frame drawn on the
// offscreen backend and through the window's software path on every shipped
// track. Besides the mean, each prints the median and 99th percentile tick, and
// the median frame by the wall clock and by processor time. And the game's own
// loop racing each track in the window: frames a second and drawing time, drawn
// at the display's rate or, as before, only after ticks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/frame.h"
#include "app/tick.h"
#include "assets/texbase.h"
#include "core/state.h"
#include "engine/backend_offscreen.h"
#include "engine/backend_recording.h"
#include "engine/backend_sdl.h"
#include "engine/core.h"
#include "engine/fs.h"
#include "engine/record.h"
#include "tools/harness/autopilot.h"
#include "world/particles.h"
#include "world/race_rules.h"
#include "world/race_setup.h"

namespace {

constexpr double kTickMs = 30.0;
constexpr double kCountdownMs = 4000.0;

// This thread's processor time: on a busy machine the wall clock also counts
// the time other processes had the processor.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The game's registries, font and camera on a fresh engine.
void LoadAssets() {
    share_registry = TBase{};
    object_registry = TBase{};
    TexBase_LoadFolder(share_registry, "gfx\\share\\");
    TexBase_LoadFolder(object_registry, "gfx\\obj\\");
    game.main_font = Text_LoadFontFromFile("fnt\\font.tga", "fnt\\font.ofi", 0xFFFFFFFF, 266);
    game.main_camera = Cam2D_Create();
    Cam2D_Set(game.main_camera);
    game.tick_timer = nullptr;
    particle_system.count = 0;
}

// The shipped track with the most objects.
std::string DensestTrack() {
    std::string densest;
    int32_t most = -1;
    for (const std::string& file : Fs_List("wld\\*.wld")) {
        World_Clear(world_map);
        World_LoadRace(world_map, "wld\\" + file);
        if (world_map.count > most) {
            most = world_map.count;
            densest = file.substr(0, file.size() - 4);
        }
    }
    return densest;
}

// A map at the limits: 4097 objects on 3200 x 2400 px, `cars` cars on a grid
// at the start of a 30-waypoint loop, `barrels` dynamic barrels in a field
// 25 wide the cars drive through, land tiles and trees for the rest.
void BuildWorstCase(tworld& map, int cars, int barrels) {
    World_Clear(map);
    map.waypoint_count = 0;
    for (int i = 0; i < 30; ++i) {
        const int side = i / 8, step = i % 8;
        const int x = side == 0 ? 400 * step : side == 1 ? 3200 : side == 2 ? 3200 - 400 * step : 0;
        const int y = side == 0 ? 0 : side == 1 ? 300 * step : side == 2 ? 2400 : 2400 - 400 * step;
        World_AddWaypoint(map, x, y);
    }
    auto add = [&map](const std::string& kind, int32_t x, int32_t y, int32_t size, uint8_t dynamic, uint8_t ai) {
        tminimal o;
        o.kind = kind;
        o.x = x;
        o.y = y;
        o.frame = 1.0f;
        o.width = o.height = size;
        o.radius = size / 4;
        o.dynamic = dynamic;
        o.ai = ai;
        o.corner_colours.fill(0xFFFFFF);
        World_Append(map, o);
    };
    for (int c = 0; c < cars; ++c)
        add(c == cars - 1 ? "jeep" : "car", -100 - 80 * (c / 2), 40 * (c % 2) - 20, 64, 1, c < cars - 1);
    for (int b = 0; b < barrels; ++b) add("barrel", 300 + 60 * (b % 25), -600 + 60 * (b / 25), 40, 1, 0);
    for (int t = 0; map.count < WORLD_CAPACITY; ++t) {
        if (t % 3 == 2)
            add("tree", (t * 7919) % 3600 - 200, (t * 104729) % 2800 - 200, 96, 0, 0);
        else
            add("lnd_grass", (t % 40) * 128 - 1000, (t / 40) * 128 - 1000, 128, 0, 0);
    }
    for (int i = 0; i < map.count; ++i)
        if (IsCarKind(map.objects[i].kind)) map.objects[i].top_speed = 15;
}

// Ticks the race with the autopilot at the wheel; a finished race starts again.
void RunTicks(benchmark::State& state, const std::function<void()>& start_race) {
    oe::VirtualBackend& backend = oe::UseRecordingBackend();
    oe::Recorder_Enable(false);
    LoadAssets();
    auto restart = [&] {
        Race_ClearResult();
        start_race();
        game.state = STATE_RACE;
        backend.Advance(kCountdownMs);   // the cars are released at once
    };
    restart();
    Autopilot_Enable(true);
    std::vector<double> costs;
    for (auto _ : state) {
        Autopilot_Drive();
        backend.Advance(kTickMs);
        const auto start = std::chrono::steady_clock::now();
        GameTick();
        costs.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        if (game.state != STATE_RACE || costs.size() % 4000 == 0) {
            state.PauseTiming();
            restart();
            state.ResumeTiming();
        }
    }
    Autopilot_Enable(false);
    std::sort(costs.begin(), costs.end());
    state.counters["median_us"] = costs[costs.size() / 2];
    state.counters["p99_us"] = costs[costs.size() * 99 / 100];
    state.counters["objects"] = world_map.count;
}

void BM_RacingTickDensestTrack(benchmark::State& state, const std::string& track) {
    RunTicks(state, [&track] {
        World_Clear(world_map);
        World_LoadRace(world_map, "wld\\" + track + ".wld");
    });
}

void BM_RacingTickWorstCase(benchmark::State& state, int cars, int barrels) {
    RunTicks(state, [cars, barrels] {
        BuildWorstCase(world_map, cars, barrels);
        game.race_start_time = U_GetTime();
    });
}

// One race frame after three seconds of racing, so cars, smoke and bonuses are
// on screen: on the software surface of the headless harness, or through the
// game's window backend on SDL's window-less driver, where the window's
// software renderer shows what the canvas drew.
void BM_RaceFrame(benchmark::State& state, const std::string& track, bool window) {
    auto owned = oe::MakeOffscreenBackend();
    oe::OffscreenBackend& offscreen = *owned;
    oe::SetBackend(std::move(owned));
    oe::ResetEngine();
    if (!offscreen.Open("bench", OE_OptionsRec{})) {
        state.SkipWithError("no offscreen surface");
        return;
    }
    LoadAssets();
    Race_ClearResult();
    World_StartRace(track);
    Autopilot_Enable(true);
    for (int t = 0; t < (kCountdownMs + 3000) / kTickMs; ++t) {
        Autopilot_Drive();
        offscreen.Advance(kTickMs);
        GameTick();
    }
    Autopilot_Enable(false);
    if (window) {
        oe::SetBackend(oe::MakeSdlBackend());
        if (!oe::GetBackend()->Open("bench", OE_OptionsRec{})) {
            state.SkipWithError(oe::GetBackend()->OpenError().c_str());
            return;
        }
    }
    oe::Backend& backend = *oe::GetBackend();
    std::vector<double> wall_ms, cpu_ms;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpu_start = ThreadCpuMs();
        backend.BeginFrame();
        DrawFrame();
        backend.Present();
        cpu_ms.push_back(ThreadCpuMs() - cpu_start);
        wall_ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(wall_ms.begin(), wall_ms.end());
    std::sort(cpu_ms.begin(), cpu_ms.end());
    state.counters["median_ms"] = wall_ms[wall_ms.size() / 2];
    state.counters["cpu_median_ms"] = cpu_ms[cpu_ms.size() / 2];
    state.counters["on_screen"] = draw_list.count;
    state.counters["particles"] = particle_system.count;
    backend.Close();
}

// The game's own loop racing `track` in the window on SDL's window-less driver
// (the software path, capped at the display's rate, 60 Hz where it does not
// say): frames drawn a second, and the median and 99th percentile time of
// drawing one, over 2 s after a 1 s start with the cars released at once. With
// `between` off the race is drawn only after its ticks, as it once was.
constexpr double kStartMs = 1000.0;
constexpr double kMeasureMs = 2000.0;
struct RaceLoopRun {
    std::string track;
    bool between = true;
    double measure_from = 0.0;
    int frames = 0;
    std::vector<double> draw_ms;
};
RaceLoopRun race_loop;

void BM_RaceLoop(benchmark::State& state, const std::string& track, bool between) {
    race_loop = RaceLoopRun{};
    race_loop.track = track;
    race_loop.between = between;
    for (auto _ : state) {
        oe::SetBackend(oe::MakeSdlBackend());
        oe::ResetEngine();
        OE_SetScreenOptions(800, 600, 32, 0, false, true);
        OE_RegProcedure(OE_PROC_LOAD, [] {
            LoadAssets();
            Race_ClearResult();
            World_StartRace(race_loop.track);
            game.race_start_time -= kCountdownMs;   // the cars are released at once
            race_loop.measure_from = U_GetTime() + kStartMs;
            Autopilot_Enable(true);
        });
        Timer_Create([] {
            Autopilot_Drive();
            GameTick();
            if (!race_loop.between) OE_SetDrawBetweenTicks(false);
        }, int(kTickMs), true);
        OE_RegProcedure(OE_PROC_DRAW, [] {
            const double start = ThreadCpuMs();
            DrawFrame();
            if (U_GetTime() < race_loop.measure_from) return;
            race_loop.draw_ms.push_back(ThreadCpuMs() - start);
            ++race_loop.frames;
        });
        OE_RegProcedure(OE_PROC_IDLE, [] {
            if (U_GetTime() > race_loop.measure_from + kMeasureMs) OE_Quit();
        });
        OE_Init(16, 0);
        Autopilot_Enable(false);
    }
    if (!OE_InitError().empty() || race_loop.draw_ms.empty()) {
        state.SkipWithError(OE_InitError().empty() ? "no frames" : OE_InitError().c_str());
        return;
    }
    std::sort(race_loop.draw_ms.begin(), race_loop.draw_ms.end());
    state.counters["fps"] = race_loop.frames / (kMeasureMs / 1000.0);
    state.counters["draw_median_ms"] = race_loop.draw_ms[race_loop.draw_ms.size() / 2];
    state.counters["draw_p99_ms"] = race_loop.draw_ms[race_loop.draw_ms.size() * 99 / 100];
    state.counters["race_state"] = game.state == STATE_RACE;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::current_path(KORVAMO_TEST_DATA);
    setenv("SDL_VIDEODRIVER", "dummy", 0);   // the window backend's frames need no display
    oe::UseRecordingBackend();
    oe::Recorder_Enable(false);
    LoadAssets();
    const std::string densest = DensestTrack();
    benchmark::RegisterBenchmark(("RacingTick/" + densest).c_str(), BM_RacingTickDensestTrack, densest)
        ->Unit(benchmark::kMicrosecond);
    for (const auto& [cars, barrels] : {std::pair{8, 500}, std::pair{32, 500}, std::pair{8, 1000}}) {
        const std::string name = "RacingTick/worst_case_4097_objects_" + std::to_string(cars) + "_cars_" +
                                 std::to_string(barrels) + "_dynamic";
        benchmark::RegisterBenchmark(name.c_str(), BM_RacingTickWorstCase, cars, barrels)
            ->Unit(benchmark::kMicrosecond);
    }
    // Every track: lamps make a track's ground lit and its frames the dearest.
    for (const std::string& file : Fs_List("wld\\*.wld")) {
        const std::string track = file.substr(0, file.size() - 4);
        for (const bool window : {false, true}) {
            const std::string name = std::string("RaceFrame/") + (window ? "window_software/" : "offscreen/") + track;
            benchmark::RegisterBenchmark(name.c_str(), BM_RaceFrame, track, window)->Unit(benchmark::kMillisecond);
        }
        for (const bool between : {false, true}) {
            const std::string name =
                std::string("RaceLoop/window_software/") + (between ? "every_display_frame/" : "after_ticks_only/") + track;
            benchmark::RegisterBenchmark(name.c_str(), BM_RaceLoop, track, between)
                ->Unit(benchmark::kSecond)->Iterations(1);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
