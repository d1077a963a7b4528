// The game's window backend where no display can be reached: it refuses to run
// unseen on SDL's invisible drivers, says why, and draws through its software
// path when such a driver is asked for by name.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/backend_sdl.h"
#include "engine/canvas.h"

namespace {

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

}  // namespace
