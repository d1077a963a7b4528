// Windows, images, buttons, labels and texts: what each frame draws and plays,
// and how hover, clicks, focus and dragging change their state.
#include "tests/ui/gui_fixture.h"

namespace {

using WindowWidget = GuiTest;
using ImageWidget = GuiTest;
using ButtonWidget = GuiTest;
using LabelWidget = GuiTest;
using TextWidget = GuiTest;

TEST_F(WindowWidget, DrawsSkinTitleBandAndCaption) {
    AddWindow("wnd_pr", 200, 150, 400, 300, "Profile");
    Frame();
    EXPECT_EQ(Drawn(), (std::vector<std::string>{
                           Sprite(window_skin, 200, 150, 400, 300, 0, 1),
                           Rect(200, 150, 400, 40, 0x123456, 128, 1),
                           Text(200 + 200 - Width("Profile") / 2, 154, "Profile", 0xFFFFFF),
                       }));
}

TEST_F(WindowWidget, WithoutCaptionNoBandButTheTitleStripStillReacts) {
    Iwindow& window = AddWindow("wnd_menu", 0, 0, 800, 600, "");
    Frame();
    EXPECT_EQ(Drawn(), (std::vector<std::string>{
                           Sprite(window_skin, 0, 0, 800, 600, 0, 1),
                           Text(400, 4, "", 0xFFFFFF),
                       }));
    MouseTo(30, 10);
    Click();
    EXPECT_EQ(window.focused, 1);
    EXPECT_EQ(window.dragging, 1);
}

TEST_F(WindowWidget, TheTitleStripIs20PixelsHighWhileTheBandIs40) {
    Iwindow& window = AddWindow("wnd_pr", 200, 150, 400, 300, "Profile");
    MouseTo(300, 175);   // on the band, below the strip
    Click();
    Frame();
    EXPECT_EQ(window.focused, 0);
    EXPECT_EQ(window.dragging, 0);
    MouseTo(300, 170);   // the strip's bottom edge is outside
    Click();
    Frame();
    EXPECT_EQ(window.dragging, 0);
    MouseTo(300, 165);
    ButtonDown();
    Frame();
    EXPECT_EQ(window.focused, 1);
    EXPECT_EQ(window.dragging, 1);
    EXPECT_EQ(window.drag_dx, 100);
    EXPECT_EQ(window.drag_dy, 15);
}

TEST_F(WindowWidget, DragsWithTheHeldButtonUntilItGoesUp) {
    Iwindow& window = AddWindow("wnd_pr", 200, 150, 400, 300, "Profile");
    MouseTo(300, 160);
    ButtonDown();
    Frame();
    MouseTo(350, 200);
    Frame();
    EXPECT_EQ(window.x, 250);
    EXPECT_EQ(window.y, 190);
    EXPECT_EQ(Calls("SSprite_Draw").front(), Sprite(window_skin, 250, 190, 400, 300, 0, 1));
    ButtonUp();
    MouseTo(360, 210);
    Frame();
    EXPECT_EQ(window.dragging, 0);
    EXPECT_EQ(window.x, 250);
    MouseTo(500, 500);
    Frame();
    EXPECT_EQ(window.x, 250);
    EXPECT_EQ(window.y, 190);
}

TEST_F(WindowWidget, AFixedWindowNeverMoves) {
    Iwindow& window = AddWindow("wnd_pr", 200, 150, 400, 300, "Profile");
    window.fixed = 1;
    MouseTo(300, 160);
    ButtonDown();
    Frame();
    MouseTo(350, 200);
    Frame();
    ButtonUp();
    Frame();
    EXPECT_EQ(window.x, 200);
    EXPECT_EQ(window.y, 150);
    EXPECT_EQ(window.dragging, 1);   // set by the click, and without effect
}

TEST_F(WindowWidget, ADoubleClickOnTheStripCallsTheAction) {
    Iwindow& window = AddWindow("wnd_main", 650, 0, 150, 600, "Map Editor");
    window.fixed = 1;
    MouseTo(700, 30);   // below the strip
    oe::Input_MouseButton(OE_MOUSE_LEFT, true, true);
    Frame();
    ButtonUp();
    EXPECT_EQ(action_calls, 0);   // no action yet, and outside anyway
    window.action = CountingAction;
    oe::Input_MouseButton(OE_MOUSE_LEFT, true, true);
    Frame();
    ButtonUp();
    EXPECT_EQ(action_calls, 0);
    MouseTo(700, 10);
    Click();
    EXPECT_EQ(action_calls, 0);   // a single click only focuses
    oe::Input_MouseButton(OE_MOUSE_LEFT, true, true);
    Frame();
    ButtonUp();
    Frame();
    EXPECT_EQ(action_calls, 1);
}

TEST_F(ImageWidget, AnInertImageDrawsButNeverSoundsOrActs) {
    AddWindow("wnd_menu", 10, 20, 800, 600, "");
    Iimage& image = Add<Iimage>("img_sh1", 544, 344, 256, 255, "shade");
    image.texture = button_skin;
    image.angle = 30;
    image.action = CountingAction;
    MouseTo(600, 400);
    Frame();
    Click();
    Frame();
    EXPECT_EQ(Drawn(), (std::vector<std::string>{
                           Sprite(window_skin, 10, 20, 800, 600, 0, 1),
                           Text(10 + 400, 24, "", 0xFFFFFF),
                           Sprite(button_skin, 554, 364, 256, 255, 30, 1),
                           Text(554 + 128 - Width("shade") / 2, 364 + 255 + 8, "shade", 0xFFFFFF),
                       }));
    EXPECT_EQ(action_calls, 0);
    EXPECT_EQ(image.hover, 0);
    EXPECT_EQ(image.focused, 0);
}

TEST_F(ImageWidget, AClickableTintedImageHighlightsSoundsOnceAndActs) {
    AddWindow("wnd_menu", 0, 0, 800, 600, "");
    Iimage& image = Add<Iimage>("img_logo", 0, 536, 215, 64, "");
    image.texture = button_skin;
    image.clickable = 1;
    image.tinted = 1;
    image.tint = 0x00FF00;
    image.action = CountingAction;
    MouseTo(100, 560);
    Frame();
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{
                               Call("FX_SetColorMix", {0x00FF00}),
                               Sprite(button_skin, 0, 536, 215, 64, 0, 9),
                               Text(107, 608, "", 0xFFFFFF),
                               Sound(hover, 0),
                               Call("Pr2D_LineWidth", {2}),
                               Sprite(button_skin, 0, 536, 215, 64, 0, 1),
                           }));
    Frame();
    EXPECT_TRUE(Calls("Snd_Play").empty());
    Click();
    EXPECT_EQ(Calls("Snd_Play"), (std::vector<std::string>{Sound(click, 0)}));
    EXPECT_EQ(action_calls, 1);
    EXPECT_EQ(image.focused, 1);
    MouseTo(500, 100);
    Frame();
    EXPECT_EQ(image.hover, 0);
    EXPECT_EQ(Calls("Pr2D_LineWidth").size(), 0u);
}

TEST_F(ButtonWidget, HoverSoundOnEntryOnlyAndTheFaceFollowsTheLastFrame) {
    AddWindow("wnd_menu", 0, 0, 800, 600, "");
    Add<Ibutton>("btn_tr", 160, 200, 160, 64, "Tournament");
    const int left = 160 + 80 - Width("Tournament") / 2;
    const std::vector<std::string> caption{Text(left + 2, 218, "Tournament", 0x222200),
                                           Text(left, 216, "Tournament", 0xEEEEEE)};
    const std::string face = Sprite(button_skin, 160, 200, 160, 64, 0, 1);
    const std::string shrunk = Sprite(button_skin, 164, 204, 152, 56, 0, 1);

    MouseTo(100, 100);
    Frame();
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{face, caption[0], caption[1]}));
    MouseTo(250, 230);
    Frame();   // entered: full face still, sound panned from the centre column
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{face, caption[0], caption[1], Sound(hover, -150)}));
    Frame();
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{shrunk, caption[0], caption[1]}));
    MouseTo(500, 230);
    Frame();   // left: still shrunk from the last frame
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{shrunk, caption[0], caption[1]}));
    Frame();
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{face, caption[0], caption[1]}));
    MouseTo(300, 210);
    Frame();
    EXPECT_EQ(Calls("Snd_Play"), (std::vector<std::string>{Sound(hover, -100)}));
}

TEST_F(ButtonWidget, AClickCallsTheActionOnceAndFocuses) {
    AddWindow("wnd_pr", 200, 150, 400, 300, "Profile");
    Ibutton& button = Add<Ibutton>("btn_save", 100, 40, 65, 40, "Save");
    button.action = CountingAction;
    MouseTo(320, 210);
    Frame();
    ButtonDown();
    Frame();
    EXPECT_EQ(Calls("Snd_Play"), (std::vector<std::string>{Sound(click, -80)}));
    EXPECT_EQ(action_calls, 1);
    EXPECT_EQ(button.focused, 1);
    Frame();   // still held: no second click
    ButtonUp();
    Frame();
    EXPECT_EQ(action_calls, 1);
    EXPECT_TRUE(Calls("Snd_Play").empty());
    const int left = 300 + 32 - Width("Save") / 2;   // odd width: 65 div 2 is 32
    EXPECT_EQ(Calls("Text_Draw").back(), Text(left, 190 + 20 - 16, "Save", 0xEEEEEE));
}

TEST_F(ButtonWidget, ACaptionWiderThanTheButtonIsDrawnSmallerInsideIt) {
    AddWindow("wnd_main", 650, 0, 150, 600, "");
    Add<Ibutton>("btn_dwp", 100, 490, 45, 20, "Undo");
    Add<Ibutton>("btn_wide", 0, 300, 150, 40, "Undo");
    ASSERT_GT(Width("Undo"), 45 - 4);
    Frame();
    const TextBox fitted = LastTextBox("Undo");   // the wide button's, drawn last
    EXPECT_EQ(fitted.scale, 1.0);
    oe::Recorder_Clear();
    element_list.pop_back();
    Frame();
    const TextBox box = LastTextBox("Undo");
    EXPECT_LT(box.scale, 1.0);
    EXPECT_GE(box.left, 750 + 2);
    EXPECT_LE(box.right, 750 + 45 - 2 + 0.5);
    // The line shrinks about the middle it has at full size: 490 + 10 - 16 + 16.
    EXPECT_NEAR((box.top + box.bottom) / 2, 500, 0.5);
}

TEST_F(ButtonWidget, WithoutActionAClickStillSoundsAndFocuses) {
    AddWindow("wnd_menu", 0, 0, 800, 600, "");
    Ibutton& button = Add<Ibutton>("btn_x", 600, 100, 100, 40, "X");
    MouseTo(650, 120);
    Frame();
    Click();
    EXPECT_EQ(Calls("Snd_Play"), (std::vector<std::string>{Sound(click, 250)}));
    EXPECT_EQ(button.focused, 1);
}

TEST_F(LabelWidget, BlueCaptionTransparentFocusOutlineAndUnpannedSounds) {
    AddWindow("wnd_opt", 0, 0, 800, 600, "Options");
    Ilabel& label = Add<Ilabel>("lb_diff", 100, 100, 200, 30, "Difficulty");
    label.action = CountingAction;
    const int left = 100 + 100 - Width("Difficulty") / 2;
    MouseTo(600, 100);
    Frame();
    EXPECT_EQ(Drawn(3), (std::vector<std::string>{Text(left + 2, 109, "Difficulty", 0x220000),
                                                       Text(left, 107, "Difficulty", 0x0000FF)}));
    MouseTo(200, 115);
    Frame();
    EXPECT_EQ(Drawn(3), (std::vector<std::string>{Sound(hover, 0),
                                                       Text(left + 2, 109, "Difficulty", 0x220000),
                                                       Text(left, 107, "Difficulty", 0x0000FF)}));
    Frame();
    EXPECT_TRUE(Calls("Snd_Play").empty());
    Click();
    EXPECT_EQ(Calls("Snd_Play"), (std::vector<std::string>{Sound(click, 0)}));
    EXPECT_EQ(action_calls, 1);
    EXPECT_EQ(label.focused, 1);
    MouseTo(600, 100);
    Frame();
    EXPECT_EQ(Drawn(3).front(), Rect(99, 99, 202, 32, 128, 0, 0));
}

TEST_F(TextWidget, ASizelessTextIsCentredOnItsPointSixteenAbove) {
    AddWindow("wnd_menu", 0, 0, 800, 600, "");
    Add<Itext>("lb_hello", 400, 300, 0, 0, "Hello, Alice");
    Frame();
    const int left = 400 - Width("Hello, Alice") / 2;
    EXPECT_EQ(Drawn(2), (std::vector<std::string>{Text(left + 2, 286, "Hello, Alice", 0x222200),
                                        Text(left, 284, "Hello, Alice", 0xFFFFFF)}));
}

TEST_F(TextWidget, NeverSoundsNorActs) {
    AddWindow("wnd_menu", 0, 0, 800, 600, "");
    Itext& text = Add<Itext>("lb_hello", 200, 140, 64, 64, "Hello");
    text.action = CountingAction;
    MouseTo(230, 170);
    Frame();
    Click();
    EXPECT_TRUE(Calls("Snd_Play").empty());
    EXPECT_EQ(action_calls, 0);
    EXPECT_EQ(text.hover, 0);
    EXPECT_EQ(text.focused, 0);
}

}  // namespace
