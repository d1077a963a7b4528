#include "engine/backend_sdl.h"

#include <SDL.h>

#include <array>
#include <memory>
#include <vector>

#include "engine/audio.h"
#include "engine/canvas.h"
#include "engine/input.h"
#include "engine/keymap.h"

namespace oe {

namespace {

constexpr int kLogicalWidth = 800;
constexpr int kLogicalHeight = 600;
constexpr Uint32 kSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER;
constexpr Sint16 kStickThreshold = 16000;
// Where vsync is not honoured (software renderers, virtual displays) the loop
// would spin; no frame is shorter than this.
constexpr double kMinFrameMs = 1000.0 / 144.0;

// A game controller drives the car through the same key codes as the keyboard.
class Pad {
public:
    explicit Pad(SDL_GameController* controller) : controller_(controller) {}
    ~Pad() {
        ReleaseAll();
        SDL_GameControllerClose(controller_);
    }
    Pad(const Pad&) = delete;
    Pad& operator=(const Pad&) = delete;

    SDL_JoystickID Id() const {
        return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller_));
    }

    void Button(Uint8 button, bool down) {
        switch (button) {
            case SDL_CONTROLLER_BUTTON_DPAD_UP: Set(kDpadUp, 38, down); break;
            case SDL_CONTROLLER_BUTTON_DPAD_DOWN: Set(kDpadDown, 40, down); break;
            case SDL_CONTROLLER_BUTTON_DPAD_LEFT: Set(kDpadLeft, 37, down); break;
            case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: Set(kDpadRight, 39, down); break;
            case SDL_CONTROLLER_BUTTON_A: Set(kA, 38, down); break;
            case SDL_CONTROLLER_BUTTON_B: Set(kB, 40, down); break;
            case SDL_CONTROLLER_BUTTON_START: Set(kStart, 27, down); break;
            default: break;
        }
    }

    void Axis(Uint8 axis, Sint16 value) {
        if (axis == SDL_CONTROLLER_AXIS_LEFTX) {
            Set(kStickLeft, 37, value < -kStickThreshold);
            Set(kStickRight, 39, value > kStickThreshold);
        } else if (axis == SDL_CONTROLLER_AXIS_LEFTY) {
            Set(kStickUp, 38, value < -kStickThreshold);
            Set(kStickDown, 40, value > kStickThreshold);
        }
    }

private:
    enum Source { kDpadUp, kDpadDown, kDpadLeft, kDpadRight, kA, kB, kStart,
                  kStickLeft, kStickRight, kStickUp, kStickDown, kSources };

    // Each source holds its key once, so a stick wobbling around the threshold
    // never leaves a key stuck or released twice.
    void Set(Source source, int key, bool down) {
        if (held_[source] == down) return;
        held_[source] = down;
        Input_Key(key, down);
    }

    void ReleaseAll() {
        static constexpr std::array<int, kSources> keys{38, 40, 37, 39, 38, 40, 27, 37, 39, 38, 40};
        for (int s = 0; s < kSources; ++s) Set(static_cast<Source>(s), keys[s], false);
    }

    SDL_GameController* controller_;
    std::array<bool, kSources> held_{};
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
        if (SDL_InitSubSystem(kSubsystems) != 0) {
            SDL_Log("Korvamo: no video: %s", SDL_GetError());
            return false;
        }
        sdl_started_ = true;
        Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
        if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   kLogicalWidth, kLogicalHeight, flags);
        if (!window_) {
            SDL_Log("Korvamo: no window: %s", SDL_GetError());
            return false;
        }
        Uint32 renderer_flags = SDL_RENDERER_ACCELERATED;
        if (options.vsync) renderer_flags |= SDL_RENDERER_PRESENTVSYNC;
        renderer_ = SDL_CreateRenderer(window_, -1, renderer_flags);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer_) {
            SDL_Log("Korvamo: no renderer: %s", SDL_GetError());
            return false;
        }
        SDL_RenderSetLogicalSize(renderer_, kLogicalWidth, kLogicalHeight);
        SDL_ShowCursor(SDL_DISABLE);
        SDL_StartTextInput();
        canvas_ = std::make_unique<Canvas>(renderer_);
        start_ = SDL_GetPerformanceCounter();
        return true;
    }

    void Close() override {
        pads_.clear();
        canvas_.reset();
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

    Canvas* GetCanvas() override { return canvas_.get(); }

    void BeginFrame() override { canvas_->Clear(0x000000); }

    void Present() override {
        SDL_RenderPresent(renderer_);
        const double elapsed = Now() - last_present_;
        if (elapsed < kMinFrameMs) SDL_Delay(static_cast<Uint32>(kMinFrameMs - elapsed) + 1);
        last_present_ = Now();
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
            case SDL_MOUSEMOTION: Input_MouseMove(e.motion.x, e.motion.y); break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                Input_MouseMove(e.button.x, e.button.y);
                Input_MouseButton(EngineButton(e.button.button), e.type == SDL_MOUSEBUTTONDOWN,
                                  e.button.clicks >= 2);
                break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) Input_ReleaseAll();
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

    Pad* Find(SDL_JoystickID id) {
        for (auto& p : pads_)
            if (p->Id() == id) return p.get();
        return nullptr;
    }

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    std::unique_ptr<Canvas> canvas_;
    std::vector<std::unique_ptr<Pad>> pads_;
    Uint64 start_ = 0;
    double last_present_ = 0.0;
    bool sdl_started_ = false;
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend() { return std::make_unique<SdlBackend>(); }

}  // namespace oe
