#include "engine/backend_sdl.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/audio.h"
#include "engine/canvas.h"
#include "engine/input.h"
#include "engine/keymap.h"
#include "engine/oe.h"
#include "engine/pad.h"
#include "engine/window_frame.h"

namespace oe {

namespace {

constexpr int kLogicalWidth = 800;
constexpr int kLogicalHeight = 600;
constexpr Uint32 kSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER;
// Where vsync is not honoured (virtual displays) the loop would spin; no frame
// is shorter than this.
constexpr double kMinFrameMs = 1000.0 / 144.0;
// The software renderer never waits for the display: it draws no more frames
// than the display shows, at this rate when the display does not say.
constexpr int kDefaultRefreshHz = 60;
// The longest nap while the loop has no frame to draw.
constexpr double kMaxWaitMs = 10.0;

// Whether to try a GPU renderer at all. Without a GPU driver SDL's OpenGL is a
// software rasteriser (Mesa's llvmpipe) that costs more processor time than the
// canvas and maps tens of megabytes of compiler code; on Linux a machine with a
// GPU driver has a render node. KORVAMO_RENDERER=software or gpu decides instead.
bool GpuWanted() {
    if (const char* choice = std::getenv("KORVAMO_RENDERER")) return std::string(choice) != "software";
#ifdef __linux__
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error))
        if (entry.path().filename().string().starts_with("renderD")) return true;
    return false;
#else
    return true;
#endif
}

// An OpenGL renderer that is a software rasteriser after all.
bool DrawsOnTheProcessor() {
    if (const char* choice = std::getenv("KORVAMO_RENDERER"); choice && std::string(choice) == "gpu") return false;
    using GetString = const unsigned char* (*)(unsigned);
    constexpr unsigned kGlRenderer = 0x1F01;
    if (!SDL_GL_GetCurrentContext()) return false;
    const auto get = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = get ? get(kGlRenderer) : nullptr;
    if (!name) return false;
    const std::string renderer(reinterpret_cast<const char*>(name));
    for (const char* soft : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR"})
        if (renderer.find(soft) != std::string::npos) return true;
    return false;
}

bool IsSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    return SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
}

double MinFrameMs(SDL_Window* window, bool software) {
    if (!software) return kMinFrameMs;
    SDL_DisplayMode mode;
    const int hz = SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0 ? mode.refresh_rate
                                                                                           : kDefaultRefreshHz;
    return 1000.0 / hz;
}

// SDL falls back to video drivers that show nothing when there is no display;
// the game would then run unseen. They stay usable when asked for by name
// (SDL_VIDEODRIVER), as benchmarks do.
bool DisplayReachable() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    const std::string name = driver;
    if (name != "offscreen" && name != "dummy") return true;
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return asked && name == asked;
}

// A game controller, read through the keys its buttons and stick hold.
class Pad {
public:
    explicit Pad(SDL_GameController* controller) : controller_(controller) {}
    ~Pad() {
        keys_.ReleaseAll();
        SDL_GameControllerClose(controller_);
    }
    Pad(const Pad&) = delete;
    Pad& operator=(const Pad&) = delete;

    SDL_JoystickID Id() const {
        return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller_));
    }

    void Button(Uint8 button, bool down) {
        switch (button) {
            case SDL_CONTROLLER_BUTTON_DPAD_UP: keys_.Button(PadButton::Up, down); break;
            case SDL_CONTROLLER_BUTTON_DPAD_DOWN: keys_.Button(PadButton::Down, down); break;
            case SDL_CONTROLLER_BUTTON_DPAD_LEFT: keys_.Button(PadButton::Left, down); break;
            case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: keys_.Button(PadButton::Right, down); break;
            case SDL_CONTROLLER_BUTTON_A: keys_.Button(PadButton::A, down); break;
            case SDL_CONTROLLER_BUTTON_B: keys_.Button(PadButton::B, down); break;
            case SDL_CONTROLLER_BUTTON_START: keys_.Button(PadButton::Start, down); break;
            default: break;
        }
    }

    void Axis(Uint8 axis, Sint16 value) {
        const float at = static_cast<float>(value) / SDL_JOYSTICK_AXIS_MAX;
        if (axis == SDL_CONTROLLER_AXIS_LEFTX) keys_.StickX(at);
        if (axis == SDL_CONTROLLER_AXIS_LEFTY) keys_.StickY(at);
    }

private:
    SDL_GameController* controller_;
    PadKeys keys_;
};

int EngineButton(Uint8 sdl_button) {
    switch (sdl_button) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 0;
        case SDL_BUTTON_MIDDLE: return 2;
        default: return -1;
    }
}

class SdlBackend final : public Backend {
public:
    ~SdlBackend() override { Close(); }

    bool Open(const std::string& title, const OE_OptionsRec& options) override {
        // On Windows the window's size counts in the desktop's scaled points, so
        // the 800x600 window is as large on a 200 % display and drawn sharp (other
        // systems ignore the hint).
        SDL_SetHint(SDL_HINT_WINDOWS_DPI_SCALING, "1");
        if (SDL_InitSubSystem(kSubsystems) != 0) return Fail("cannot start SDL's video: ", SDL_GetError());
        sdl_started_ = true;
        if (!DisplayReachable()) {
            return Fail("no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY leads to one); "
                        "SDL could only offer its invisible '", SDL_GetCurrentVideoDriver(), "' driver");
        }
        Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
        if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   kLogicalWidth, kLogicalHeight, flags);
        if (!window_) return Fail("cannot open a window: ", SDL_GetError());
        Uint32 renderer_flags = SDL_RENDERER_ACCELERATED;
        if (options.vsync) renderer_flags |= SDL_RENDERER_PRESENTVSYNC;
        if (GpuWanted()) renderer_ = SDL_CreateRenderer(window_, -1, renderer_flags);
        if (renderer_ && DrawsOnTheProcessor()) {
            SDL_DestroyRenderer(renderer_);
            renderer_ = nullptr;
        }
        if (renderer_ && !IsSoftware(renderer_)) {
            SDL_RenderSetLogicalSize(renderer_, kLogicalWidth, kLogicalHeight);
            canvas_ = std::make_unique<Canvas>(renderer_);
        } else {
            if (renderer_) SDL_DestroyRenderer(renderer_);
            renderer_ = nullptr;
            // The window's own pixels, not a texture of some GPU renderer.
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
            if (!frame_.Open(window_)) return Fail("cannot draw into the window: ", SDL_GetError());
        }
        SDL_ShowCursor(SDL_DISABLE);
        SDL_StartTextInput();
        start_ = SDL_GetPerformanceCounter();
        min_frame_ms_ = MinFrameMs(window_, frame_.IsOpen());
        return true;
    }

    std::string OpenError() const override { return error_; }

    void Close() override {
        pads_.clear();
        canvas_.reset();
        frame_.Close();
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        renderer_ = nullptr;
        window_ = nullptr;
        if (sdl_started_) SDL_QuitSubSystem(kSubsystems);
        sdl_started_ = false;
    }

    void SetTitle(const std::string& title) override {
        if (window_) SDL_SetWindowTitle(window_, title.c_str());
    }

    void ApplyOptions(const OE_OptionsRec& options) override {
        if (!window_) return;
        SDL_SetWindowFullscreen(window_, options.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        if (!options.fullscreen) SDL_SetWindowSize(window_, kLogicalWidth, kLogicalHeight);
    }

    bool Pump() override {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (!Handle(e)) return false;
        }
        return true;
    }

    double Now() override {
        return static_cast<double>(SDL_GetPerformanceCounter() - start_) * 1000.0 /
               static_cast<double>(SDL_GetPerformanceFrequency());
    }

    void Sleep(int ms) override { SDL_Delay(static_cast<Uint32>(ms)); }

    Canvas* GetCanvas() override { return canvas_ ? canvas_.get() : frame_.GetCanvas(); }

    void BeginFrame() override { GetCanvas()->Clear(0x000000); }

    void Present() override {
        if (frame_.IsOpen())
            frame_.Show();
        else
            SDL_RenderPresent(renderer_);
        // Frames keep to a fixed cadence: a nap that ends a little early or late
        // moves the next one, so the rate holds on average; a frame more than
        // one period late starts the cadence afresh.
        const double due = last_present_ + min_frame_ms_;
        if (const double now = Now(); now < due) SDL_Delay(static_cast<Uint32>(due - now));
        last_present_ = Now() - due > min_frame_ms_ ? Now() : due;
    }

    void Wait(double ms) override {
        if (ms > 0) SDL_Delay(static_cast<Uint32>(std::min(ms, kMaxWaitMs)));
    }

    bool OpenAudio() override { return Audio_OpenDevice(); }

    void CloseAudio() override { Audio_CloseDevice(); }

    bool OpenUrl(const std::string& url) override { return SDL_OpenURL(url.c_str()) == 0; }

private:
    bool Handle(const SDL_Event& e) {
        switch (e.type) {
            case SDL_QUIT: return false;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                if (!e.key.repeat) {
                    const int key = VirtualKeyFromSdl(e.key.keysym.sym);
                    if (key >= 0) Input_Key(key, e.type == SDL_KEYDOWN);
                }
                break;
            case SDL_TEXTINPUT: Input_Text(e.text.text); break;
            case SDL_MOUSEMOTION: MovePointer(e.motion.x, e.motion.y); break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                MovePointer(e.button.x, e.button.y);
                Input_MouseButton(EngineButton(e.button.button), e.type == SDL_MOUSEBUTTONDOWN,
                                  e.button.clicks >= 2);
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) Input_ReleaseAll();
                if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                    OE_Redraw();
                break;
            case SDL_CONTROLLERDEVICEADDED:
                if (SDL_GameController* c = SDL_GameControllerOpen(e.cdevice.which))
                    pads_.push_back(std::make_unique<Pad>(c));
                break;
            case SDL_CONTROLLERDEVICEREMOVED:
                std::erase_if(pads_, [&](const auto& p) { return p->Id() == e.cdevice.which; });
                break;
            case SDL_CONTROLLERBUTTONDOWN:
            case SDL_CONTROLLERBUTTONUP:
                if (Pad* p = Find(e.cbutton.which))
                    p->Button(e.cbutton.button, e.type == SDL_CONTROLLERBUTTONDOWN);
                break;
            case SDL_CONTROLLERAXISMOTION:
                if (Pad* p = Find(e.caxis.which)) p->Axis(e.caxis.axis, e.caxis.value);
                break;
            default: break;
        }
        return true;
    }

    // A GPU renderer's logical size already maps the pointer onto the picture.
    void MovePointer(int x, int y) {
        const SDL_Point p = frame_.IsOpen() ? frame_.ToPicture(x, y) : SDL_Point{x, y};
        Input_MouseMove(p.x, p.y);
    }

    Pad* Find(SDL_JoystickID id) {
        for (auto& p : pads_)
            if (p->Id() == id) return p.get();
        return nullptr;
    }

    template <typename... Parts>
    bool Fail(const Parts&... parts) {
        error_.clear();
        (error_.append(parts), ...);
        return false;
    }

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    std::unique_ptr<Canvas> canvas_;   // straight on a GPU renderer
    WindowFrame frame_;                // without a GPU renderer: the canvas draws here
    std::string error_;
    double min_frame_ms_ = 0.0;
    std::vector<std::unique_ptr<Pad>> pads_;
    Uint64 start_ = 0;
    double last_present_ = 0.0;
    bool sdl_started_ = false;
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend() { return std::make_unique<SdlBackend>(); }

}  // namespace oe
