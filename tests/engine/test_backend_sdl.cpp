// The game's window backend where no display can be reached: it refuses to run
// unseen on SDL's invisible drivers, says why, and draws through its software
// path when such a driver is asked for by name.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <SDL.h>

#include "engine/backend_sdl.h"
#include "engine/canvas.h"
#include "engine/input.h"

namespace {

#ifndef _WIN32   // X11 and Wayland: a Windows desktop is always there
struct DisplayCase {
    const char* name;
    const char* video_driver;   // SDL_VIDEODRIVER; null: unset
    bool opens;
};

class WindowWithoutDisplay : public testing::TestWithParam<DisplayCase> {
protected:
    void SetUp() override {
        for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) unsetenv(v);
        if (GetParam().video_driver) setenv("SDL_VIDEODRIVER", GetParam().video_driver, 1);
    }
    void TearDown() override { unsetenv("SDL_VIDEODRIVER"); }
};

TEST_P(WindowWithoutDisplay, OpensOnlyWhereItCanBeSeenOrWasAskedFor) {
    auto backend = oe::MakeSdlBackend();
    const bool opened = backend->Open("Korvamo", OE_OptionsRec{});
    EXPECT_EQ(opened, GetParam().opens);
    if (opened) {
        oe::Canvas* canvas = backend->GetCanvas();
        ASSERT_NE(canvas, nullptr);
        backend->BeginFrame();
        canvas->FillRect(10, 10, 100, 50, oe::Colour{200, 40, 40, 128}, oe::Blend::Normal);
        backend->Present();
    } else {
        EXPECT_NE(backend->OpenError().find("no display"), std::string::npos) << backend->OpenError();
    }
    backend->Close();
}

INSTANTIATE_TEST_SUITE_P(Backend, WindowWithoutDisplay,
                         testing::Values(DisplayCase{"NoDriverNamed", nullptr, false},
                                         DisplayCase{"DummyAskedFor", "dummy", true}),
                         [](const auto& info) { return std::string(info.param.name); });

#endif

// A game controller plugged in while the game runs: SDL's virtual controller
// stands in for one, and its buttons and stick reach the game as keys.
TEST(GameController, ButtonsAndStickHoldTheirKeys) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    // SDL drops a controller's input while no window has the keyboard focus,
    // which a window of the dummy driver may never get.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    oe::Input_Reset();
    auto backend = oe::MakeSdlBackend();
    ASSERT_TRUE(backend->Open("Korvamo", OE_OptionsRec{}));
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(device, 0) << SDL_GetError();
    SDL_Joystick* stick = SDL_JoystickOpen(device);
    ASSERT_NE(stick, nullptr);
    backend->Pump();
    const struct {
        int button;   // -1: the stick
        int key;
    } cases[] = {{SDL_CONTROLLER_BUTTON_A, OE_KEY_PAD_A},           {SDL_CONTROLLER_BUTTON_B, OE_KEY_PAD_B},
                 {SDL_CONTROLLER_BUTTON_START, OE_KEY_PAD_START},   {SDL_CONTROLLER_BUTTON_DPAD_UP, OE_KEY_UP},
                 {SDL_CONTROLLER_BUTTON_DPAD_LEFT, OE_KEY_LEFT},    {-1, OE_KEY_DOWN}};
    for (const auto& c : cases) {
        if (c.button >= 0)
            SDL_JoystickSetVirtualButton(stick, c.button, SDL_PRESSED);
        else
            SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, SDL_JOYSTICK_AXIS_MAX);
        backend->Pump();
        EXPECT_TRUE(Key_Down(c.key)) << c.key;
        if (c.button >= 0)
            SDL_JoystickSetVirtualButton(stick, c.button, SDL_RELEASED);
        else
            SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 0);
        backend->Pump();
        oe::Input_EndTurn(oe::InputReader::Frame);
        EXPECT_FALSE(Key_Down(c.key)) << c.key;
    }
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(device);
    backend->Close();
    SDL_ResetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS);
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
}

}  // namespace
