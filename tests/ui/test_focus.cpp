// The focus ring driven by keys through the recording backend: its order and
// wrap-around, what it skips, the edit box and list box by keys, activation
// as a click, the mouse pointing, held arrows; then every screen's way back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/gui_fixture.h"
#include "tests/ui/screens_fixture.h"
#include "ui/actions_race.h"
#include "ui/focus.h"
#include "ui/player_profile.h"

namespace {

constexpr int kShiftTab = -OE_KEY_TAB;   // a test's name for Tab with Shift held

void Press(int key) {
    const bool shift = key == kShiftTab;
    if (shift) oe::Input_Key(OE_KEY_SHIFT, true);
    oe::Input_Key(shift ? OE_KEY_TAB : key, true);
    oe::Input_Key(shift ? OE_KEY_TAB : key, false);
    if (shift) oe::Input_Key(OE_KEY_SHIFT, false);
}

// One frame of the game's interface: the pass with the focus.
void FocusFrame() {
    oe::Recorder_Clear();
    oe::Input_SetReader(oe::InputReader::Frame);
    Focus_InterfacePass();
    oe::Input_EndTurn(oe::InputReader::Frame);
}

std::string Focused() { return Focus_Current() < 0 ? "(none)" : Element_At(Focus_Current()).name; }

// A window with one control of every kind, a hidden button and a plain text
// between them, and a hidden window after it that must not take the keys.
class FocusRing : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Focus_Reset();
        AddWindow("wnd", 100, 50, 600, 500);
        Add<Ibutton>("b1", 20, 20, 100, 40, "One").action = CountingAction;
        Add<Itext>("t", 20, 70, 100, 40, "text");
        Add<Icheckbox>("c1", 20, 120, 100, 40, "Box").action = CountingAction;
        Add<Ibutton>("hidden", 20, 170, 100, 40, "Hidden", 0);
        Add<Iedit>("e1", 20, 220, 200, 40, "Player");
        list = &Add<Ilist>("l1", 300, 20, 200, 128, "");
        for (const char* entry : {"alpha", "beta", "gamma"}) FList_Add(list->items, entry);
        Add<Ibutton>("b2", 300, 300, 100, 40, "Two").action = CountingAction;
        gui.parent = 0;
        AddWindow("wnd_off", 0, 0, 800, 600, "", 0);
        Add<Ibutton>("off", 0, 0, 100, 40, "Off");
        FocusFrame();
    }

    void Keys(const std::vector<int>& keys) {
        for (int key : keys) {
            Press(key);
            FocusFrame();
        }
    }

    Ilist* list = nullptr;
};

struct RingCase {
    std::vector<int> keys;
    const char* focused;
};

class FocusRingOrder : public FocusRing, public ::testing::WithParamInterface<RingCase> {};

TEST_P(FocusRingOrder, KeysMoveThroughTheVisibleControlsInCreationOrder) {
    Keys(GetParam().keys);
    EXPECT_EQ(Focused(), GetParam().focused);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FocusRingOrder,
    ::testing::Values(RingCase{{}, "b1"}, RingCase{{OE_KEY_DOWN}, "c1"}, RingCase{{OE_KEY_RIGHT}, "c1"},
                      RingCase{{OE_KEY_TAB}, "c1"}, RingCase{{OE_KEY_TAB, OE_KEY_TAB}, "e1"},
                      RingCase{{OE_KEY_UP}, "b2"}, RingCase{{OE_KEY_LEFT}, "b2"}, RingCase{{kShiftTab}, "b2"},
                      RingCase{{OE_KEY_TAB, OE_KEY_TAB, OE_KEY_TAB, OE_KEY_TAB}, "b2"},
                      RingCase{{OE_KEY_TAB, OE_KEY_TAB, OE_KEY_TAB, OE_KEY_TAB, OE_KEY_TAB}, "b1"},
                      // In a list box Up and Down turn the list; Left and Right leave it.
                      RingCase{{OE_KEY_TAB, OE_KEY_TAB, OE_KEY_TAB, OE_KEY_DOWN, OE_KEY_UP}, "l1"},
                      RingCase{{OE_KEY_TAB, OE_KEY_TAB, OE_KEY_TAB, OE_KEY_RIGHT}, "b2"}));

TEST_F(FocusRing, ListBoxSelectionFollowsUpAndDownAsItsScrollSquares) {
    Keys({OE_KEY_TAB, OE_KEY_TAB, OE_KEY_TAB});
    ASSERT_EQ(Focused(), "l1");
    Keys({OE_KEY_DOWN});
    EXPECT_EQ(list->items.names[0], "beta");
    Keys({OE_KEY_UP, OE_KEY_UP});
    EXPECT_EQ(list->items.names[0], "gamma");
    EXPECT_EQ(list->items.count, 3);
}

TEST_F(FocusRing, TypingReplacesTheEditBoxTextAndEnterActivatesTheNextButton) {
    Keys({OE_KEY_TAB, OE_KEY_TAB});
    const ielement& edit = Element_Named("e1");
    EXPECT_EQ(edit.focused, 1);
    oe::Input_Text("Bob");
    FocusFrame();
    EXPECT_EQ(edit.caption, "Bob");
    Keys({OE_KEY_BACKSPACE});
    Press(OE_KEY_SPACE);   // Space is text while the box takes typing
    oe::Input_Text(" ");
    FocusFrame();
    EXPECT_EQ(edit.caption, "Bo ");
    EXPECT_EQ(action_calls, 0);
    Keys({OE_KEY_ENTER});
    EXPECT_EQ(Focused(), "b2");
    EXPECT_EQ(action_calls, 1);
    EXPECT_EQ(edit.focused, 0);
}

TEST_F(FocusRing, BackspaceFirstEmptiesTheSelectedText) {
    Keys({OE_KEY_TAB, OE_KEY_TAB, OE_KEY_BACKSPACE});
    EXPECT_EQ(Element_Named("e1").caption, "");
}

TEST_F(FocusRing, EnterActivatesAsAClickDoes) {
    // A button: its action and the click sound from where it stands.
    Keys({OE_KEY_ENTER});
    EXPECT_EQ(action_calls, 1);
    EXPECT_EQ(Calls("Snd_Play"), std::vector<std::string>{Sound(click, 100 + 20 + 50 - 400)});
    // A check box: flipped, then its action, silently.
    Keys({OE_KEY_DOWN});
    EXPECT_EQ(Calls("Snd_Play"), std::vector<std::string>{Sound(hover, 100 + 20 + 50 - 400)});
    Keys({OE_KEY_SPACE});
    EXPECT_EQ(Element_Named("c1").ticked, 1);
    EXPECT_EQ(action_calls, 2);
    EXPECT_TRUE(Calls("Snd_Play").empty());
}

TEST_F(FocusRing, TheMouseMovesTheFocusOnlyWhenItMoves) {
    MouseTo(100 + 350, 50 + 320);   // over "Two"
    FocusFrame();
    EXPECT_EQ(Focused(), "b2");
    Keys({OE_KEY_DOWN});
    EXPECT_EQ(Focused(), "b1");
    FocusFrame();   // the mouse still rests on "Two"
    EXPECT_EQ(Focused(), "b1");
}

TEST_F(FocusRing, AHeldArrowRepeatsAfterAPause) {
    oe::Input_Key(OE_KEY_DOWN, true);
    FocusFrame();
    EXPECT_EQ(Focused(), "c1");
    for (int ms = 0; ms < 390; ms += 30) {
        backend_->Advance(30);
        FocusFrame();
    }
    EXPECT_EQ(Focused(), "c1");
    backend_->Advance(30);
    FocusFrame();
    EXPECT_EQ(Focused(), "e1");
    backend_->Advance(120);
    FocusFrame();
    EXPECT_EQ(Focused(), "l1");
    oe::Input_Key(OE_KEY_DOWN, false);
    backend_->Advance(500);
    FocusFrame();
    EXPECT_EQ(Focused(), "l1");
}

TEST_F(FocusRing, AWindowShownOnTopTakesTheKeysAndGivesThemBack) {
    Keys({OE_KEY_DOWN});
    Element_Named("wnd_off").visible = 1;
    FocusFrame();
    EXPECT_EQ(Focused(), "off");
    Element_Named("wnd_off").visible = 0;
    FocusFrame();
    EXPECT_EQ(Focused(), "c1");   // the control that led on
}

// The real screens: what Escape (or the pad's B) does on each.
struct BackCase {
    const char* window;
    uint8_t state;
    std::vector<std::string> shown;   // the windows shown afterwards
    uint8_t state_after;
};

class FocusBack : public ScreensTest, public ::testing::WithParamInterface<BackCase> {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        WriteFile("prf/Alice", std::string("\0\r\n", 3));
        Screens_Build();
        Show(GetParam().window, GetParam().state);
    }

    static void Show(const std::string& window, uint8_t state) {
        for (const auto& e : element_list)
            if (dynamic_cast<Iwindow*>(e.get())) e->visible = e->name == window;
        game.state = state;
        FocusFrame();
    }
};

TEST_P(FocusBack, EscapeAndBActivateTheWindowsWayBack) {
    for (int key : {int(OE_KEY_ESCAPE), int(OE_KEY_PAD_B)}) {
        Show(GetParam().window, GetParam().state);
        Press(key);
        FocusFrame();
        EXPECT_EQ(ShownWindows(), GetParam().shown) << key;
        EXPECT_EQ(game.state, GetParam().state_after) << key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, FocusBack,
    ::testing::Values(BackCase{"wnd_menu", STATE_MENU, {"wnd_menu"}, STATE_MENU},
                      BackCase{"wnd_main", STATE_EDITOR, {"wnd_main"}, STATE_EDITOR},
                      BackCase{"wnd_pr", STATE_PROFILES, {"wnd_menu"}, STATE_MENU},
                      BackCase{"wnd_pr_cr", STATE_PROFILES, {"wnd_pr"}, STATE_PROFILES},
                      BackCase{"wnd_pr_ld", STATE_PROFILES, {"wnd_pr"}, STATE_PROFILES},
                      BackCase{"wnd_tour", STATE_TOURNAMENT, {"wnd_menu"}, STATE_MENU},
                      BackCase{"wnd_opt", STATE_OPTIONS, {"wnd_menu"}, STATE_MENU},
                      BackCase{"wnd_sr", STATE_FREE_RACE, {"wnd_menu"}, STATE_MENU},
                      BackCase{"wnd_help", STATE_HELP, {"wnd_menu"}, STATE_MENU},
                      BackCase{"wnd_fin_good", STATE_FINISHED, {"wnd_tour"}, STATE_TOURNAMENT},
                      BackCase{"wnd_fin_bad", STATE_FINISHED, {"wnd_tour"}, STATE_TOURNAMENT},
                      BackCase{"wnd_fin_good2", STATE_FINISHED, {"wnd_sr"}, STATE_FREE_RACE},
                      BackCase{"wnd_fin_bad2", STATE_FINISHED, {"wnd_sr"}, STATE_FREE_RACE},
                      BackCase{"wnd_pause", STATE_PAUSED, {}, STATE_RACE}),
    [](const auto& info) { return std::string(info.param.window); });

class FocusScreens : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        WriteFile("prf/Alice", std::string("\0\r\n", 3));
        Screens_Build();
        act_back_to_menu();
        FocusFrame();
    }
};

TEST_F(FocusScreens, PrevNextPairsFollowLeftAndRightAndReturningFocusesTheOpener) {
    EXPECT_EQ(Focused(), "btn_tr");
    for (int key : {OE_KEY_DOWN, OE_KEY_DOWN, OE_KEY_ENTER}) {   // "Free Race"
        Press(key);
        FocusFrame();
    }
    ASSERT_EQ(game.state, STATE_FREE_RACE);
    EXPECT_EQ(Focused(), "btn_car_up2");
    const std::vector<std::pair<int, int32_t>> steps{{OE_KEY_RIGHT, 1}, {OE_KEY_RIGHT, 2}, {OE_KEY_LEFT, 1}};
    for (auto [key, kind] : steps) {
        Press(key);
        FocusFrame();
        EXPECT_EQ(player.car_kind, kind);
    }
    Press(OE_KEY_DOWN);   // the pair's other half works the same pair
    FocusFrame();
    Press(OE_KEY_RIGHT);
    FocusFrame();
    EXPECT_EQ(Focused(), "btn_car_dn2");
    EXPECT_EQ(player.car_kind, 2);
    Press(OE_KEY_ESCAPE);
    FocusFrame();
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(Focused(), "btn_sr");
}

}  // namespace
