// A clean toolkit on the recording backend: the generated font, skins and the
// two interface sounds as its style, an empty element list, and the test
// acting as the frame (the draw callback is where every Frame runs).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "engine/backend_recording.h"
#include "engine/input.h"
#include "engine/record.h"
#include "ui/display_widgets.h"
#include "ui/element.h"
#include "ui/input_widgets.h"

// Actions are plain procedures: they count their calls here.
inline int action_calls = 0;
inline void CountingAction() { ++action_calls; }

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend_ = &oe::UseRecordingBackend();
        Game_Reset();
        action_calls = 0;
        font = Text_LoadFontFromFile(Data("fnt/font.tga"), Data("fnt/font.ofi"), 0xFFFFFFFF, 266);
        window_skin = Tex_LoadFromFile(Data("gfx/share/g_wnd.tga"), 0xFFFFFFFF, 266);
        button_skin = Tex_LoadFromFile(Data("gfx/share/g_but.tga"), 0xFFFFFFFF, 266);
        click = Snd_LoadFromFile(Data("sfx/click.wav"), 4);
        hover = Snd_LoadFromFile(Data("sfx/select.wav"), 4);
        ASSERT_NE(font, nullptr);
        ASSERT_NE(window_skin, nullptr);
        ASSERT_NE(button_skin, nullptr);
        ASSERT_NE(click, nullptr);
        ASSERT_NE(hover, nullptr);
        // The style the screen builder leaves, but with a highlight colour of
        // its own so the fills can be told from black.
        Gui_SetFont(font);
        Gui_SetWindowSkin(window_skin);
        Gui_SetButtonSkin(button_skin);
        Gui_SetHighlightColour(0x123456);
        Gui_SetTextColour(0xFFFFFF);
        Gui_SetButtonTextColour(0xEEEEEE);
        gui.click_sound = click;
        gui.hover_sound = hover;
        oe::Recorder_Clear();
    }

    void TearDown() override { Game_Reset(); }

    static std::string Data(const std::string& rel) { return std::string(KORVAMO_TEST_DATA) + "/" + rel; }

    // Constructs, adds and returns a widget.
    template <class T>
    T& Add(const std::string& name, int32_t x, int32_t y, int32_t w, int32_t h, const std::string& caption,
           uint8_t visible = 1) {
        auto element = std::make_unique<T>(name, x, y, w, h, caption, visible);
        T& ref = *element;
        Element_Add(std::move(element));
        return ref;
    }

    // A window that later elements belong to.
    Iwindow& AddWindow(const std::string& name, int32_t x, int32_t y, int32_t w, int32_t h,
                       const std::string& caption = "", uint8_t visible = 1) {
        Iwindow& window = Add<Iwindow>(name, x, y, w, h, caption, visible);
        Gui_SetParentToLast();
        return window;
    }

    // One frame as the draw callback runs it, with a fresh call log.
    void Frame() {
        oe::Recorder_Clear();
        oe::Input_SetReader(oe::InputReader::Frame);
        Gui_UpdateAll();
        oe::Input_EndTurn(oe::InputReader::Frame);
    }

    static void MouseTo(int x, int y) { oe::Input_MouseMove(x, y); }
    static void ButtonDown() { oe::Input_MouseButton(OE_MOUSE_LEFT, true, false); }
    static void ButtonUp() { oe::Input_MouseButton(OE_MOUSE_LEFT, false, false); }
    // A left click: the button goes down for one frame and up again; the
    // release is seen by the next frame.
    void Click() {
        ButtonDown();
        Frame();
        ButtonUp();
    }

    int Width(const std::string& text) const { return Text_GetWidth(font, text, 1.0f, 0.0f); }

    // Logged calls in the format of the recorder, so lists compare and print.
    static std::string Call(const std::string& name, std::vector<double> args, const void* handle = nullptr,
                            const std::string& text = {}) {
        return oe::RecordedCall{name, std::move(args), text, handle}.ToString();
    }
    std::string Text(double x, double y, const std::string& text, int32_t colour) const {
        return Call("Text_Draw", {x, y, 1, 0, 255, double(colour)}, font, text);
    }
    static std::string Rect(double x, double y, double w, double h, int32_t colour, int alpha, int flags) {
        return Call("Pr2D_Rect", {x, y, w, h, double(colour), double(alpha), double(flags)});
    }
    static std::string Sprite(OE_Texture tex, double x, double y, double w, double h, int angle, int flags) {
        return Call("SSprite_Draw", {x, y, w, h, 255, double(angle), double(flags)}, tex);
    }
    static std::string Sound(OE_Sound sound, int offset) { return Call("Snd_Play", {double(offset), 0, 0, 0}, sound); }

    // Every logged call of the last frame but the text measurements, leaving
    // out the first `skip` of them (those of the elements before the one tested).
    static std::vector<std::string> Drawn(size_t skip = 0) {
        std::vector<std::string> out;
        for (const oe::RecordedCall& c : oe::Recorder_Calls())
            if (c.name != "Text_GetWidth") out.push_back(c.ToString());
        out.erase(out.begin(), out.begin() + std::min(skip, out.size()));
        return out;
    }
    // The logged calls of one engine function, as strings.
    static std::vector<std::string> Calls(const std::string& name) {
        std::vector<std::string> out;
        for (const oe::RecordedCall& c : oe::Recorder_Calls())
            if (c.name == name) out.push_back(c.ToString());
        return out;
    }

    // The line the last Text_Draw of `text` filled: its edges (the line is 32
    // pixels high at full size) and its scale.
    struct TextBox {
        double left = 0, top = 0, right = 0, bottom = 0, scale = 0;
    };
    TextBox LastTextBox(const std::string& text) const {
        TextBox box;
        const double width = Width(text);   // measured first: the measurement is logged too
        for (const oe::RecordedCall& c : oe::Recorder_Calls()) {
            if (c.name != "Text_Draw" || c.text != text) continue;
            const double scale = c.args[2];
            box = {c.args[0], c.args[1], c.args[0] + width * scale, c.args[1] + 32 * scale, scale};
        }
        EXPECT_GT(box.scale, 0) << "no Text_Draw of " << text;
        return box;
    }

    oe::VirtualBackend* backend_ = nullptr;
    OE_Font font = nullptr;
    OE_Texture window_skin = nullptr;
    OE_Texture button_skin = nullptr;
    OE_Sound click = nullptr;
    OE_Sound hover = nullptr;
};

