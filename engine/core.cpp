// core.cpp: the engine's loop, callbacks, timers, screen options and camera.
#include "engine/core.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "engine/audio.h"
#include "engine/backend.h"
#include "engine/draw_state.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/record.h"
#include "engine/texture.h"

namespace oe {

namespace {

// A timer that fell this many steps behind (a stall, a slow load) drops the
// rest of its backlog instead of running the game in fast forward.
constexpr int kMaxCatchUpSteps = 4;

struct Engine {
    std::unique_ptr<Backend> backend;
    std::array<OE_Procedure, 4> procs{};
    std::vector<std::unique_ptr<OE_TimerRec>> timers;
    std::vector<std::unique_ptr<OE_CameraRec>> cameras;
    OE_CameraRec* camera = nullptr;
    OE_OptionsRec options;
    std::string title;
    bool open = false;
    bool quit = false;
    bool inside_tick = false;
    bool draw_between_ticks = false;
    bool picture_stale = true;   // a timer ran or input came since the last frame was drawn
    float tick_progress = 1.0f;  // of the frame being drawn
    std::string init_error;
    double last_audio_time = 0.0;
    double fps_window_start = 0.0;
    int fps_frames = 0;
    int fps = 0;
};

Engine engine;

void Call(int id) {
    if (engine.procs[id]) engine.procs[id]();
}

// Runs every due timer in fixed steps from its last run; true when any ran.
bool RunTimers(double now) {
    bool ran = false;
    for (size_t i = 0; i < engine.timers.size(); ++i) {
        OE_TimerRec* t = engine.timers[i].get();
        int steps = 0;
        while (t->enabled && t->interval > 0 && now - t->last_run >= t->interval) {
            if (steps == kMaxCatchUpSteps) {
                t->last_run = now;
                break;
            }
            t->last_run += t->interval;
            Input_SetReader(InputReader::Tick);
            engine.inside_tick = true;
            if (t->proc) t->proc();
            engine.inside_tick = false;
            Input_EndTurn(InputReader::Tick);
            Input_SetReader(InputReader::Frame);
            ++steps;
            ran = true;
        }
    }
    return ran;
}

// Milliseconds until the next enabled timer is due (0 when one is due now).
double UntilNextTimer(double now) {
    double until = 1000.0;
    for (const auto& t : engine.timers)
        if (t->enabled && t->interval > 0) until = std::min(until, t->last_run + t->interval - now);
    return std::max(until, 0.0);
}

// How far `now` is from the first timer's last run to its next, 0..1.
float TickProgress(double now) {
    for (const auto& t : engine.timers)
        if (t->enabled && t->interval > 0)
            return static_cast<float>(std::clamp((now - t->last_run) / t->interval, 0.0, 1.0));
    return 1.0f;
}

void DrawOneFrame(double now) {
    engine.backend->BeginFrame();
    Input_SetReader(InputReader::Frame);
    Call(OE_PROC_DRAW);
    Input_EndTurn(InputReader::Frame);
    engine.backend->Present();
    ++engine.fps_frames;
    if (now - engine.fps_window_start >= 1000.0) {
        engine.fps = engine.fps_frames;
        engine.fps_frames = 0;
        engine.fps_window_start = now;
    }
}

// Without a device the mixer still runs in step with the clock, so voices end
// and the music's play position moves on as if heard.
void AdvanceSilentAudio(double now) {
    if (!Audio_HasDevice() && now > engine.last_audio_time)
        Audio_Advance(now - engine.last_audio_time);
    engine.last_audio_time = now;
}

}  // namespace

void SetBackend(std::unique_ptr<Backend> backend) { engine.backend = std::move(backend); }

Backend* GetBackend() { return engine.backend.get(); }

Canvas* CurrentCanvas() { return engine.backend ? engine.backend->GetCanvas() : nullptr; }

const OE_CameraRec* DrawCamera() {
    return engine.camera && engine.camera->enabled ? engine.camera : nullptr;
}

double Now() {
    if (engine.backend) return engine.backend->Now();
    using namespace std::chrono;
    static const auto start = steady_clock::now();
    return duration<double, std::milli>(steady_clock::now() - start).count();
}

bool InsideTick() { return engine.inside_tick; }

void ResetEngine() {
    Audio_ReleaseAll();
    Fonts_ReleaseAll();
    Textures_ReleaseAll();
    Draw_ResetState();
    Input_Reset();
    Recorder_Enable(false);
    auto backend = std::move(engine.backend);
    engine = Engine{};
    engine.backend = std::move(backend);
}

}  // namespace oe

using oe::engine;

void OE_SetWndName(const std::string& title) {
    engine.title = title;
    if (engine.open) engine.backend->SetTitle(title);
}

void OE_SetScreenOptions(int width, int height, int /*bits*/, int /*refresh*/, bool fullscreen,
                         bool vsync) {
    engine.options.width = width;
    engine.options.height = height;
    engine.options.fullscreen = fullscreen ? 1 : 0;
    engine.options.vsync = vsync ? 1 : 0;
}

void OE_ChangeScreenOptions(int width, int height, int bits, int refresh, bool fullscreen,
                            bool vsync) {
    oe::Record("OE_ChangeScreenOptions",
               {double(width), double(height), double(bits), double(refresh), double(fullscreen), double(vsync)});
    OE_SetScreenOptions(width, height, bits, refresh, fullscreen, vsync);
    if (engine.open) engine.backend->ApplyOptions(engine.options);
}

OE_Options OE_GetOptions() { return &engine.options; }

void OE_SetResolutionDependence(int /*width*/, int /*height*/) {
    // The logical screen is always 800x600; backends letterbox it.
}

void OE_Enable(int /*flag*/) {}

void OE_Disable(int /*flag*/) {}

void OE_RegProcedure(int id, OE_Procedure proc) {
    if (id >= 0 && id < static_cast<int>(engine.procs.size())) engine.procs[id] = proc;
}

int OE_GetFPS() { return engine.fps; }

void OE_Sleep(int ms) {
    if (ms > 0 && engine.backend) engine.backend->Sleep(ms);
}

OE_Timer Timer_Create(OE_Procedure proc, int interval, bool enabled) {
    auto timer = std::make_unique<OE_TimerRec>();
    timer->proc = proc;
    timer->interval = interval;
    timer->enabled = enabled ? 1 : 0;
    timer->last_run = oe::Now();
    engine.timers.push_back(std::move(timer));
    return engine.timers.back().get();
}

void OE_Init(int /*a*/, int /*b*/) {
    oe::Backend* backend = engine.backend.get();
    engine.init_error.clear();
    if (!backend) {
        engine.init_error = "no backend to run on";
        return;
    }
    if (!backend->Open(engine.title, engine.options)) {
        engine.init_error = backend->OpenError();
        backend->Close();
        return;
    }
    engine.open = true;
    engine.quit = false;
    const double start = backend->Now();
    engine.last_audio_time = start;
    engine.fps_window_start = start;
    oe::Call(OE_PROC_LOAD);
    // The load callback may take a while; the game's clock starts after it.
    const double loaded = backend->Now();
    for (auto& t : engine.timers) t->last_run = loaded;
    while (!engine.quit && backend->Pump()) {
        const double now = backend->Now();
        oe::AdvanceSilentAudio(now);
        // Without a tick or input nothing has changed: the frame would repeat
        // the last one, unless it shows the game between its ticks.
        const bool ticked = oe::RunTimers(now);
        const bool input = oe::Input_TakeArrived();
        if (ticked || input) engine.picture_stale = true;
        const bool between = engine.draw_between_ticks && backend->ShowsFramesBetweenTicks();
        if (engine.picture_stale || between) {
            engine.tick_progress = between ? oe::TickProgress(now) : 1.0f;
            oe::DrawOneFrame(now);
            engine.picture_stale = false;
        } else {
            backend->Wait(oe::UntilNextTimer(now));
        }
        oe::Call(OE_PROC_IDLE);
    }
    oe::Call(OE_PROC_EXIT);
    backend->CloseAudio();
    backend->Close();
    engine.open = false;
}

void OE_Quit() { engine.quit = true; }

const std::string& OE_InitError() { return engine.init_error; }

void OE_SetDrawBetweenTicks(bool on) { engine.draw_between_ticks = on; }

float OE_TickProgress() { return engine.tick_progress; }

void OE_Redraw() { engine.picture_stale = true; }

OE_Camera Cam2D_Create() {
    engine.cameras.push_back(std::make_unique<OE_CameraRec>());
    return engine.cameras.back().get();
}

void Cam2D_Set(OE_Camera camera) { engine.camera = camera; }

double U_GetTime() { return oe::Now(); }
