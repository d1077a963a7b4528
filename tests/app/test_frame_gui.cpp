// The frame's interface pass: every state that shows a screen runs it, under
// the cursor; the race and the unused states do not.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/frame.h"
#include "app/startup.h"
#include "core/state.h"
#include "engine/backend_recording.h"
#include "engine/record.h"
#include "ui/display_widgets.h"

namespace {

class FrameInterfacePass : public ::testing::Test {
protected:
    void SetUp() override {
        oe::UseRecordingBackend();
        Game_Reset();
        Element_Add(std::make_unique<Iwindow>("wnd_probe", 0, 0, 800, 600, "", 1));
        Gui_SetParentToLast();
        Element_Add(std::make_unique<Itext>("txt_probe", 400, 300, 0, 0, "probe", 1));
        game.mouse_x = 500;
        game.mouse_y = 400;
    }

    void TearDown() override { Game_Reset(); }

    // Where in the frame's calls the probe text was drawn; -1 when it was not.
    static long ProbeAt() {
        const auto& calls = oe::Recorder_Calls();
        const auto it = std::find_if(calls.begin(), calls.end(), [](const oe::RecordedCall& c) {
            return c.name == "Text_Draw" && c.text == "probe";
        });
        return it == calls.end() ? -1 : it - calls.begin();
    }
};

TEST_F(FrameInterfacePass, ScreenStatesRunItBeforeTheCursor) {
    for (uint8_t state : {STATE_MENU, STATE_TOURNAMENT, STATE_EDITOR, STATE_PROFILES, STATE_FINISHED,
                          STATE_PAUSED, STATE_FREE_RACE, STATE_OPTIONS, STATE_HELP}) {
        game.state = state;
        oe::Recorder_Clear();
        DrawFrame();
        const auto& calls = oe::Recorder_Calls();
        ASSERT_GE(ProbeAt(), 0) << int(state);
        EXPECT_EQ(calls.back().name, "SSprite_Draw") << int(state);
        EXPECT_EQ(calls.back().args, (std::vector<double>{484, 392, 64, 64, 255, 0, 1})) << int(state);
    }
}

TEST_F(FrameInterfacePass, TheRaceAndUnusedStatesDoNotRunIt) {
    for (int state : {int(STATE_RACE), 3, 4}) {
        game.state = state;
        oe::Recorder_Clear();
        DrawFrame();
        EXPECT_EQ(ProbeAt(), -1) << state;
    }
}

}  // namespace
