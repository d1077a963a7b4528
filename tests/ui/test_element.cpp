// The element registry: finding by name, fetching by index, parenting, the
// per-frame pass, the mouse test and the base element's focus rule.
#include "tests/ui/gui_fixture.h"

namespace {

using Registry = GuiTest;
using InterfacePass = GuiTest;
using BaseFrame = GuiTest;

TEST_F(Registry, FindGivesTheLastElementOfThatNameAndZeroForAMiss) {
    EXPECT_EQ(Element_Find("wnd_main"), 0);   // empty list
    AddWindow("wnd_main", 650, 0, 150, 600);
    Add<Ibutton>("btn_tell", 0, 0, 10, 10, "Tell a Friend");
    Add<Itext>("lb1", 0, 0, 10, 10, "");
    Add<Ibutton>("btn_tell", 0, 0, 10, 10, "Subscribe");
    EXPECT_EQ(Element_Find("lb1"), 2);
    EXPECT_EQ(Element_Find("btn_tell"), 3);
    EXPECT_EQ(Element_Named("btn_tell").caption, "Subscribe");
    EXPECT_EQ(Element_Find("nothing"), 0);
    EXPECT_EQ(Element_Find("LB1"), 0);      // case-sensitive
    EXPECT_EQ(Element_Find("lb"), 0);       // whole names only
    EXPECT_EQ(Element_Find("lb1 "), 0);
}

TEST_F(Registry, AtOutsideTheListGivesTheFirstElement) {
    AddWindow("wnd_main", 650, 0, 150, 600);
    Add<Itext>("lb1", 0, 0, 10, 10, "");
    EXPECT_EQ(&Element_At(1), element_list[1].get());
    EXPECT_EQ(&Element_At(2), element_list[0].get());
    EXPECT_EQ(&Element_At(-1), element_list[0].get());
    EXPECT_EQ(&Element_At(INT32_MAX), element_list[0].get());
    EXPECT_EQ(&Element_At(INT32_MIN), element_list[0].get());
}

TEST_F(Registry, AtOnAnEmptyListGivesAFreshHiddenDummyThatDoesNothing) {
    ielement& dummy = Element_At(0);
    EXPECT_EQ(dummy.visible, 0);
    EXPECT_EQ(dummy.name, "");
    dummy.visible = 1;
    dummy.caption = "changed";
    dummy.focused = 1;
    oe::Input_Text("abc");
    ButtonDown();
    Element_At(5).Frame();
    EXPECT_EQ(Key_EndReadText(), "abc");   // no base behaviour ran
    EXPECT_TRUE(oe::Recorder_Calls().empty());
    EXPECT_EQ(Element_At(7).visible, 0);
    EXPECT_EQ(Element_At(-3).caption, "");
    EXPECT_EQ(Element_At(0).focused, 0);
}

TEST_F(Registry, AsGivesTheWidgetOrADummyOfTheWantedClass) {
    AddWindow("wnd_main", 650, 0, 150, 600);
    Ilist& list = Add<Ilist>("lst_items", 10, 140, 130, 300, "items");
    FList_Add(list.items, "lnd_sand");
    EXPECT_EQ(&Element_As<Ilist>(Element_Find("lst_items")), &list);
    // A misspelt name lands on the window: not a list, so a dummy list.
    Ilist& miss = Element_As<Ilist>(Element_Find("lst_itemz"));
    EXPECT_NE(&miss, &list);
    EXPECT_EQ(miss.items.count, 0);
    EXPECT_EQ(miss.visible, 0);
    miss.items.count = 3;
    EXPECT_EQ(Element_As<Ilist>(Element_Find("lst_itemz")).items.count, 0);
    EXPECT_EQ(Element_As<Iimage>(1).texture, nullptr);
}

TEST_F(Registry, NewElementsTakeTheParentOfTheirTimeAndStartEmpty) {
    gui.parent = 7;
    Ibutton button("btn", 1, 2, 3, 4, "Go", 1);
    EXPECT_EQ(button.parent, 7);
    EXPECT_EQ(button.relative, 1);
    EXPECT_EQ(button.action, nullptr);
    EXPECT_EQ(button.hover + button.ticked + button.focused + button.fixed, 0);
    EXPECT_EQ(button.x + button.y + button.w + button.h, 10);
    EXPECT_TRUE(element_list.empty());   // constructing does not add
    Iwindow window("wnd", 1, 2, 3, 4, "", 0);
    EXPECT_EQ(window.relative, 0);
    EXPECT_EQ(window.dragging, 0);

    AddWindow("wnd_a", 0, 0, 10, 10);
    Add<Itext>("t1", 0, 0, 1, 1, "");
    AddWindow("wnd_b", 0, 0, 10, 10);
    Add<Itext>("t2", 0, 0, 1, 1, "");
    EXPECT_EQ(gui.parent, 2);
    EXPECT_EQ(Element_At(1).parent, 0);
    EXPECT_EQ(Element_At(3).parent, 2);
}

TEST_F(Registry, FontSetterReadsTheHandleAtTheCall) {
    OE_Font handle = font;
    Gui_SetFont(handle);
    handle = nullptr;
    EXPECT_EQ(gui.font, font);
}

TEST_F(Registry, MouseInExcludesTheEdges) {
    MouseTo(10, 20);
    EXPECT_TRUE(Gui_MouseIn(9, 19, 2, 2));
    EXPECT_FALSE(Gui_MouseIn(10, 19, 5, 5));   // on the left edge
    EXPECT_FALSE(Gui_MouseIn(9, 20, 5, 5));    // on the top edge
    EXPECT_FALSE(Gui_MouseIn(5, 19, 5, 5));    // at x + w
    EXPECT_FALSE(Gui_MouseIn(9, 15, 5, 5));    // at y + h
    EXPECT_FALSE(Gui_MouseIn(9, 19, 0, 0));
}

TEST_F(InterfacePass, ChildrenOfAHiddenWindowGetNoFrame) {
    Iwindow& window = AddWindow("wnd_pr", 200, 150, 400, 300, "Profile", 0);
    Add<Ibutton>("btn_pr_cr", 50, 60, 300, 64, "Create new profile");
    Iedit& edit = Add<Iedit>("edt_pr_cr", 50, 80, 300, 64, "Player");
    edit.focused = 1;
    MouseTo(0, 0);
    ButtonDown();
    Frame();
    EXPECT_TRUE(oe::Recorder_Calls().empty());   // the window returns at once, its children never run
    EXPECT_EQ(edit.focused, 1);                   // so they keep their focus too

    window.visible = 1;
    Frame();
    EXPECT_EQ(edit.focused, 0);
    EXPECT_EQ(Calls("SSprite_Draw").front(), Sprite(window_skin, 200, 150, 400, 300, 0, 1));
    EXPECT_EQ(Calls("SSprite_Draw").back(), Sprite(button_skin, 250, 210, 300, 64, 0, 1));
}

TEST_F(InterfacePass, ElementsRunInListOrderWithTheirParentsOffsetOneLevelDeep) {
    AddWindow("wnd_a", 100, 50, 400, 300, "A");
    Add<Ibutton>("btn_in_a", 10, 20, 100, 40, "In A");
    Gui_SetParentToLast();
    // Parented to the button: only the button's own x and y are added.
    Add<Ibutton>("btn_in_btn", 1, 2, 30, 40, "Deep");
    AddWindow("wnd_b", 300, 300, 100, 100, "");
    Frame();
    const auto sprites = Calls("SSprite_Draw");
    ASSERT_EQ(sprites.size(), 4u);
    EXPECT_EQ(sprites[0], Sprite(window_skin, 100, 50, 400, 300, 0, 1));
    EXPECT_EQ(sprites[1], Sprite(button_skin, 110, 70, 100, 40, 0, 1));
    EXPECT_EQ(sprites[2], Sprite(button_skin, 11, 22, 30, 40, 0, 1));
    EXPECT_EQ(sprites[3], Sprite(window_skin, 300, 300, 100, 100, 0, 1));
}

TEST_F(InterfacePass, AHiddenRelativeParentHidesItsChildrenButNotTheWindow) {
    AddWindow("wnd_a", 0, 0, 400, 300, "");
    Ibutton& holder = Add<Ibutton>("btn_holder", 10, 20, 100, 40, "Holder", 0);
    Gui_SetParentToLast();
    Add<Itext>("txt_child", 1, 2, 30, 40, "Child");
    Frame();
    EXPECT_EQ(Calls("SSprite_Draw").size(), 1u);   // the window only
    EXPECT_EQ(Calls("Text_Draw").size(), 1u);      // its empty caption
    holder.visible = 1;
    Frame();
    const auto texts = Calls("Text_Draw");
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts.back(), Text(11 + 15 - Width("Child") / 2, 22 + 20 - 16, "Child", 0xFFFFFF));
}

// An action that builds another element while the pass runs.
void AddLateText() { Element_Add(std::make_unique<Itext>("txt_late", 0, 0, 10, 10, "late", 1)); }

TEST_F(InterfacePass, ElementsAddedDuringThePassWaitForTheNextFrame) {
    AddWindow("wnd_a", 0, 0, 400, 300, "");
    Add<Ibutton>("btn_add", 10, 10, 100, 40, "Add").action = AddLateText;
    MouseTo(50, 30);
    Click();
    EXPECT_EQ(element_list.size(), 3u);
    for (const std::string& call : Calls("Text_Draw")) EXPECT_EQ(call.find("'late'"), std::string::npos);
    Frame();
    EXPECT_EQ(Calls("Text_Draw").back(), Text(5 - Width("late") / 2, 5 - 16, "late", 0xFFFFFF));
}

TEST_F(BaseFrame, HoldingTheButtonOutsideUnfocusesEveryFrameItIsHeld) {
    AddWindow("wnd_a", 0, 0, 800, 600, "");
    Ibutton& button = Add<Ibutton>("btn", 100, 100, 100, 40, "B");
    button.focused = 1;
    MouseTo(150, 120);
    ButtonDown();
    Frame();
    EXPECT_EQ(button.focused, 1);   // held inside: kept
    MouseTo(100, 120);              // on the edge: outside
    Frame();
    EXPECT_EQ(button.focused, 0);
    button.focused = 1;
    Frame();
    EXPECT_EQ(button.focused, 0);
    ButtonUp();
    button.focused = 1;
    Frame();
    EXPECT_EQ(button.focused, 1);   // not held: focus stays
}

}  // namespace
