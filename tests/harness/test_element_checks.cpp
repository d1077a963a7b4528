// The harness's element checks, run on a few elements built here, found by
// name as the game finds them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/backend_offscreen.h"
#include "tools/harness/script.h"
#include "ui/display_widgets.h"
#include "ui/input_widgets.h"

namespace {

class ElementChecks : public ::testing::Test {
protected:
    void SetUp() override {
        element_list.clear();
        gui.parent = 0;
        Element_Add(std::make_unique<Iwindow>("wnd_menu", 0, 0, 800, 600, "", 1));
        Gui_SetParentToLast();
        Element_Add(std::make_unique<Itext>("lb_hello", 200, 140, 64, 64, "Hello, Alice", 1));
        auto box = std::make_unique<Icheckbox>("chk_wd", 10, 10, 80, 20, "Window", 0);
        box->ticked = 1;
        Element_Add(std::move(box));
        Element_Add(std::make_unique<Ibutton>("btn_tell", 260, 350, 160, 64, "Tell a Friend", 1));
        Element_Add(std::make_unique<Ibutton>("btn_tell", 320, 450, 160, 64, "Subscribe", 1));
    }

    void TearDown() override {
        element_list.clear();
        gui.parent = 0;
    }

    // Runs the script's expectations; true when they all hold. `report_`
    // keeps what the harness printed.
    bool Run(const std::string& script) {
        std::vector<harness::Line> lines;
        std::string error;
        EXPECT_TRUE(harness::ParseScript(script, lines, error)) << error;
        auto backend = oe::MakeOffscreenBackend();
        harness::Runner runner(std::move(lines), *backend, ".");
        ::testing::internal::CaptureStderr();
        while (runner.Step()) {
        }
        report_ = ::testing::internal::GetCapturedStderr();
        return !runner.Failed() && runner.Done();
    }

    bool Reported(const std::string& text) const { return report_.find(text) != std::string::npos; }

    std::string report_;
};

TEST_F(ElementChecks, HoldingChecksPass) {
    EXPECT_TRUE(Run("expect visible wnd_menu 1\n"
                    "expect visible chk_wd 0\n"
                    "expect caption lb_hello \"Hello, Alice\"\n"
                    "expect ticked chk_wd 1\n"
                    "expect ticked lb_hello 0\n"
                    "expect caption btn_tell Subscribe\n"));
    EXPECT_EQ(report_, "");
}

TEST_F(ElementChecks, AFailedCheckReportsItsLineAndWhatItFound) {
    EXPECT_FALSE(Run("expect visible wnd_menu 1\nexpect visible wnd_menu 0\n"));
    EXPECT_TRUE(Reported("line 2: expect visible wnd_menu 0")) << report_;
    EXPECT_TRUE(Reported("found: visible 1")) << report_;
    EXPECT_FALSE(Run("expect caption lb_hello \"Hello, Bob\"\n"));
    EXPECT_TRUE(Reported("found: caption \"Hello, Alice\"")) << report_;
    EXPECT_FALSE(Run("expect ticked chk_wd 0\n"));
    EXPECT_TRUE(Reported("found: ticked 1")) << report_;
}

TEST_F(ElementChecks, TheLastElementOfANameIsChecked) {
    EXPECT_FALSE(Run("expect caption btn_tell \"Tell a Friend\"\n"));
    EXPECT_TRUE(Reported("found: caption \"Subscribe\"")) << report_;
}

TEST_F(ElementChecks, ANameNoElementHasFailsInsteadOfCheckingTheFirstElement) {
    EXPECT_FALSE(Run("expect visible wnd_nothing 1\n"));   // element 0 is visible
    EXPECT_TRUE(Reported("found: no element wnd_nothing")) << report_;
    element_list.clear();
    EXPECT_FALSE(Run("expect caption \"\" \"\"\n"));
    EXPECT_TRUE(Reported("found: no element")) << report_;
}

}  // namespace
