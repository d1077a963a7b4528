// Check boxes, edit boxes and list boxes: drawing, typing, ticking and scrolling.
#include "tests/ui/gui_fixture.h"

namespace {

using CheckBox = GuiTest;
using EditBox = GuiTest;
using ListBox = GuiTest;

// What the last check-box action saw, and an action that ticks its box again
// as the option screen's radio pairs do.
int seen_ticked = -1;
void RecordTicked() { seen_ticked = Element_Named("chk_fs").ticked; }
void RecordAndTickAgain() {
    RecordTicked();
    Element_Named("chk_fs").ticked = 1;
}

TEST_F(CheckBox, DrawsBoxHalfBrightCaptionFocusAndHover) {
    AddWindow("wnd_opt", 0, 0, 800, 600, "");
    Icheckbox& box = Add<Icheckbox>("chk_fs", 100, 100, 101, 20, "Window");
    const int left = 100 + 50 - Width("Window") / 2;   // odd width: 101 div 2 is 50
    MouseTo(500, 500);
    Frame();
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{Rect(100, 100, 101, 20, 0x000000, 255, 1),
                                                  Text(left, 103, "Window", 0x7FFFFF)}));
    box.ticked = 1;
    box.focused = 1;
    Gui_SetTextColour(0x123457);
    MouseTo(150, 110);
    Frame();
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{Rect(100, 100, 101, 20, 0x123456, 64, 1),
                                                  Rect(99, 99, 102, 21, 0x000000, 128, 0),
                                                  Text(left, 103, "Window", 0x091A2B),
                                                  Rect(100, 100, 101, 20, 0x123456, 64, 1)}));
}

TEST_F(CheckBox, AClickFlipsTheBoxBeforeTheActionWhichMayTickItAgain) {
    AddWindow("wnd_opt", 0, 0, 800, 600, "");
    Icheckbox& box = Add<Icheckbox>("chk_fs", 100, 100, 80, 20, "Full screen");
    box.action = RecordTicked;
    MouseTo(150, 110);
    Click();
    EXPECT_EQ(box.ticked, 1);
    EXPECT_EQ(seen_ticked, 1);
    EXPECT_EQ(box.focused, 1);
    Click();
    EXPECT_EQ(box.ticked, 0);
    EXPECT_EQ(seen_ticked, 0);
    box.ticked = 1;
    box.action = RecordAndTickAgain;
    Click();
    EXPECT_EQ(seen_ticked, 0);   // unticked first...
    EXPECT_EQ(box.ticked, 1);    // ...then ticked again by its action
    Frame();                     // no new click: no flip
    EXPECT_EQ(box.ticked, 1);
    EXPECT_TRUE(Calls("Snd_Play").empty());
}

TEST_F(CheckBox, ACaptionWiderThanTheBoxIsDrawnSmallerInsideIt) {
    AddWindow("wnd_main", 650, 0, 150, 600, "");
    Add<Icheckbox>("chk_ai", 10, 460, 80, 20, "AI Enable");
    ASSERT_GT(Width("AI Enable"), 80 - 4);
    Frame();
    const TextBox box = LastTextBox("AI Enable");
    EXPECT_LT(box.scale, 1.0);
    EXPECT_GE(box.left, 660 + 2);
    EXPECT_LE(box.right, 660 + 80 - 2 + 0.5);
    EXPECT_NEAR((box.top + box.bottom) / 2, 460 + 3 + 16, 0.5);
}

TEST_F(EditBox, DrawsFieldBorderFocusCaptionCursorAndHover) {
    AddWindow("wnd_pr_cr", 200, 150, 400, 300, "");
    Iedit& edit = Add<Iedit>("edt_pr_cr", 50, 80, 300, 64, "Player");
    const int left = 250 + 150 - Width("Player") / 2;
    MouseTo(10, 10);
    Frame();
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{Rect(250, 230, 300, 64, 0x000000, 64, 1),
                                                  Rect(249, 229, 302, 66, 0xFFFFFF, 64, 0),
                                                  Text(left, 243, "Player", 0xFFFFFF)}));
    edit.focused = 1;
    MouseTo(300, 250);
    Frame();
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{Rect(250, 230, 300, 64, 0x000000, 64, 1),
                                                  Rect(249, 229, 302, 66, 0xFFFFFF, 64, 0),
                                                  Rect(249, 229, 302, 66, 0x000000, 128, 0),
                                                  Text(left, 243, "Player", 0xFFFFFF),
                                                  Text(left, 243, "Player_", 0xFFFFFF),
                                                  Rect(250, 230, 300, 64, 0x123456, 64, 1)}));
}

TEST_F(EditBox, TakesTypedTextOnlyWhileFocused) {
    AddWindow("wnd_pr_cr", 200, 150, 400, 300, "");
    Iedit& edit = Add<Iedit>("edt_pr_cr", 50, 80, 300, 64, "Player");
    edit.action = CountingAction;
    Add<Ibutton>("btn_pr_cr_ac", 50, 180, 300, 64, "Accept");
    MouseTo(300, 250);
    oe::Input_Text("x");
    Frame();
    EXPECT_EQ(edit.caption, "Player");
    // Clicking in: the button below, with the left button held outside it,
    // throws the text typed before away.
    Click();
    EXPECT_EQ(edit.focused, 1);
    EXPECT_EQ(action_calls, 1);
    oe::Input_Text("s 2");
    Frame();
    EXPECT_EQ(edit.caption, "Players 2");
    EXPECT_EQ(Key_EndReadText(), "");
}

TEST_F(EditBox, HoldingTheButtonOutsideUnfocusesAndDiscardsPendingText) {
    AddWindow("wnd_pr_cr", 200, 150, 400, 300, "");
    Iedit& edit = Add<Iedit>("edt_pr_cr", 50, 80, 300, 64, "Player");
    edit.focused = 1;
    oe::Input_Text("abc");
    MouseTo(210, 400);
    ButtonDown();
    Frame();
    EXPECT_EQ(edit.focused, 0);
    EXPECT_EQ(edit.caption, "Player");
    EXPECT_EQ(Key_EndReadText(), "");
}

TEST_F(EditBox, TypingStopsOnceTheTextFillsTheBoxButBackspaceWorks) {
    AddWindow("wnd_main", 650, 0, 150, 600, "");
    Iedit& edit = Add<Iedit>("edt_save", 10, 40, 80, 40, "test");
    edit.focused = 1;
    oe::Input_Text("WWWWWW");   // a burst in one frame goes in whole, however wide
    Frame();
    EXPECT_EQ(edit.caption, "testWWWWWW");
    ASSERT_GE(Width(edit.caption), 80);
    oe::Input_Text("abc");
    Frame();
    EXPECT_EQ(edit.caption, "testWWWWWW");
    edit.caption = "t";
    Frame();
    EXPECT_EQ(edit.caption, "t");   // the dropped characters are lost
    edit.caption = "testWWWWWW";
    oe::Input_Key(OE_KEY_BACKSPACE, true);
    Frame();
    Frame();   // held: one character per press
    oe::Input_Key(OE_KEY_BACKSPACE, false);
    EXPECT_EQ(edit.caption, "testWWWWW");
}

TEST_F(EditBox, BackspaceRemovesWholeCharactersAndStopsAtEmpty) {
    AddWindow("wnd_main", 650, 0, 150, 600, "");
    Iedit& edit = Add<Iedit>("edt_save", 10, 40, 130, 40, "Å");
    edit.focused = 1;
    oe::Input_Text("é");
    Frame();
    EXPECT_EQ(edit.caption, "Åé");
    for (const char* want : {"Å", "", ""}) {
        oe::Input_Key(OE_KEY_BACKSPACE, true);
        Frame();
        oe::Input_Key(OE_KEY_BACKSPACE, false);
        EXPECT_EQ(edit.caption, want);
    }
}

// A list of `n` names "e0", "e1", ...
TF_list Names(int n) {
    TF_list list;
    for (int i = 0; i < n; ++i) FList_Add(list, "e" + std::to_string(i));
    return list;
}

TEST_F(ListBox, A128HighBoxShowsThreeRowsTheEntryBeforeTheSelectedOneFirst) {
    AddWindow("wnd_pr_ld", 200, 150, 400, 300, "");
    Ilist& list = Add<Ilist>("lst_pr", 50, 60, 230, 128, "Select");
    list.items = Names(5);
    list.no_buttons = 1;
    MouseTo(0, 0);   // away from the box: no hover band
    Frame();
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{Rect(250, 210, 230, 128, 0x000000, 64, 1),
                                                  Rect(250, 210, 230, 128, 0xFFFFFF, 64, 0),
                                                  Rect(250, 250, 230, 40, 0xFFFFFF, 64, 1),
                                                  Text(260, 214, "e4", 0xFFFFFF),
                                                  Text(260, 254, "e0", 0xFFFFFF),
                                                  Text(260, 294, "e1", 0xFFFFFF)}));
}

TEST_F(ListBox, A300HighBoxShowsSevenRowsAndItsScrollSquares) {
    AddWindow("wnd_main", 650, 0, 150, 600, "");
    Ilist& list = Add<Ilist>("lst_items", 10, 140, 130, 300, "items");
    list.items = Names(10);
    Frame();
    std::vector<std::string> want{Rect(660, 140, 130, 300, 0x000000, 64, 1),
                                  Rect(660, 140, 130, 300, 0xFFFFFF, 64, 0),
                                  Rect(770, 140, 20, 20, 0xFFFFFF, 64, 0),
                                  Rect(770, 420, 20, 20, 0xFFFFFF, 64, 0),
                                  Rect(660, 180, 130, 40, 0xFFFFFF, 64, 1),
                                  Text(670, 144, "e9", 0xFFFFFF)};
    for (int i = 0; i < 6; ++i) want.push_back(Text(670, 184 + 40 * i, "e" + std::to_string(i), 0xFFFFFF));
    EXPECT_EQ(Drawn(2), want);
}

TEST_F(ListBox, EntriesWiderThanTheListAreDrawnSmallerToEndBeforeTheScrollSquares) {
    AddWindow("wnd_main", 650, 0, 150, 600, "");
    Ilist& list = Add<Ilist>("lst_items", 10, 140, 130, 300, "items");
    FList_Add(list.items, "lamp");
    FList_Add(list.items, "lnd_pavement");
    ASSERT_GT(Width("lnd_pavement"), 130 - 10 - 20);
    Frame();
    EXPECT_EQ(LastTextBox("lamp").scale, 1.0);
    const TextBox wide = LastTextBox("lnd_pavement");
    EXPECT_LT(wide.scale, 1.0);
    EXPECT_EQ(wide.left, 670);
    EXPECT_LE(wide.right, 770 + 0.5);
    EXPECT_NEAR((wide.top + wide.bottom) / 2, 140 + 4 + 16, 0.5);   // the last entry's row on top
}

// The editor's list draws every entry at the size that fits the widest one.
TEST_F(ListBox, AOneSizeListDrawsEveryEntryAtTheWidestOnesSize) {
    AddWindow("wnd_main", 650, 0, 150, 600, "");
    Ilist& list = Add<Ilist>("lst_items", 10, 140, 130, 300, "items");
    FList_Add(list.items, "lamp");
    FList_Add(list.items, "lnd_pavement");
    list.one_size = 1;
    Frame();
    const TextBox wide = LastTextBox("lnd_pavement");
    EXPECT_LT(wide.scale, 1.0);
    EXPECT_EQ(LastTextBox("lamp").scale, wide.scale);
    EXPECT_LE(wide.right, 770 + 0.5);
}

TEST_F(ListBox, ARowFittingExactlyIsLeftOut) {
    AddWindow("wnd_pr_ld", 0, 0, 800, 600, "");
    Ilist& list = Add<Ilist>("lst_pr", 0, 0, 230, 200, "Select");
    list.items = Names(9);
    Frame();
    EXPECT_EQ(Calls("Text_Draw").size(), 1u + 4u);   // the window's caption, then rows 0 to 3
    list.h = 201;
    Frame();
    EXPECT_EQ(Calls("Text_Draw").size(), 1u + 5u);
}

TEST_F(ListBox, OneEntrySitsUnderTheBandInRowZeroAndNoEntriesDrawNoText) {
    AddWindow("wnd_pr_ld", 0, 0, 800, 600, "");
    Ilist& list = Add<Ilist>("lst_pr", 50, 60, 230, 128, "Select");
    list.items = Names(1);
    list.no_buttons = 1;
    Frame();
    EXPECT_EQ(Drawn(4), (std::vector<std::string>{Rect(50, 60, 230, 40, 0xFFFFFF, 64, 1),
                                                  Text(60, 64, "e0", 0xFFFFFF)}));
    list.items = Names(0);
    list.no_buttons = 0;
    Frame();
    EXPECT_EQ(Drawn(4), (std::vector<std::string>{Rect(260, 60, 20, 20, 0xFFFFFF, 64, 0),
                                                  Rect(260, 168, 20, 20, 0xFFFFFF, 64, 0),
                                                  Rect(50, 100, 230, 40, 0xFFFFFF, 64, 1)}));
}

TEST_F(ListBox, FocusOutlineHoverFillAndNoBand) {
    AddWindow("wnd_pr_ld", 0, 0, 800, 600, "");
    Ilist& list = Add<Ilist>("lst_pr", 50, 60, 230, 128, "Select");
    list.no_buttons = 1;
    list.no_highlight = 1;
    list.focused = 1;
    MouseTo(100, 100);
    Frame();
    EXPECT_EQ(Drawn(4), (std::vector<std::string>{Rect(49, 59, 232, 130, 0x000000, 128, 0),
                                                  Rect(50, 60, 230, 128, 0x123456, 64, 1)}));
}

TEST_F(ListBox, NeverTakesFocusOrActsOnAClick) {
    AddWindow("wnd_pr_ld", 0, 0, 800, 600, "");
    Ilist& list = Add<Ilist>("lst_pr", 50, 60, 230, 128, "Select");
    list.items = Names(3);
    list.action = CountingAction;
    MouseTo(100, 100);
    Click();
    EXPECT_EQ(list.focused, 0);
    EXPECT_EQ(action_calls, 0);
    EXPECT_EQ(list.items.names[0], "e0");
}

TEST_F(ListBox, HoldingAScrollSquareRotatesOnceAFramePausing50Ms) {
    AddWindow("wnd_main", 650, 0, 150, 600, "");
    Ilist& list = Add<Ilist>("lst_items", 10, 140, 130, 300, "items");
    list.items = Names(4);
    MouseTo(780, 150);   // the up square
    Frame();
    EXPECT_EQ(list.items.names[0], "e0");   // not held: nothing
    const double start = U_GetTime();
    ButtonDown();
    Frame();
    EXPECT_EQ(list.items.names[0], "e3");
    Frame();
    EXPECT_EQ(list.items.names[0], "e2");
    EXPECT_DOUBLE_EQ(U_GetTime() - start, 100.0);
    MouseTo(780, 430);   // the down square
    Frame();
    EXPECT_EQ(list.items.names[0], "e3");
    EXPECT_EQ(list.items.names[3], "e2");
    EXPECT_DOUBLE_EQ(U_GetTime() - start, 150.0);

    list.no_buttons = 1;
    Frame();
    EXPECT_EQ(list.items.names[0], "e3");
    EXPECT_DOUBLE_EQ(U_GetTime() - start, 150.0);
}

TEST_F(ListBox, ADamagedCountReadsNothingOutsideTheNames) {
    AddWindow("wnd_pr_ld", 0, 0, 800, 600, "");
    Ilist& list = Add<Ilist>("lst_pr", 50, 60, 230, 128, "Select");
    list.items.count = -2;
    Frame();
    EXPECT_EQ(Calls("Text_Draw").size(), 1u);   // the window's caption only
    list.items = Names(FLIST_CAPACITY);
    list.items.count = FLIST_CAPACITY + 100;
    Frame();
    const auto texts = Calls("Text_Draw");
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1], Text(60, 64, "e1024", 0xFFFFFF));
}

}  // namespace
