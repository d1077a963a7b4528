// display_widgets.cpp: Frame of the windows, images, buttons, labels and texts.
#include "ui/display_widgets.h"

#include <utility>

namespace {

constexpr int32_t kTitleStrip = 20;   // the part of a window's top that reacts to the mouse
constexpr int32_t kTitleBand = 40;    // the band drawn behind a window's caption
constexpr int32_t kButtonShadow = 0x222200;
constexpr int32_t kLabelShadow = 0x220000;
constexpr int32_t kLabelColour = 0x0000FF;
constexpr int32_t kCaptionMargin = 2;   // kept free on each side of a button's caption

// A shadow copy 2 pixels right and down first, then the text over it.
void DrawShadowed(int32_t left, int32_t top, const std::string& text, int32_t shadow, int32_t colour,
                  float scale = 1.0f) {
    Gui_DrawText(left + 2, top + 2, text, shadow, scale);
    Gui_DrawText(left, top, text, colour, scale);
}

// The hover sound when the mouse comes over the element; while it stays, a
// left click activates it. `pan` places both sounds.
void HoverAndClick(ielement& e, bool inside, int pan) {
    if (e.hover == 0 && inside) Snd_Play(gui.hover_sound, pan, 0, 0, false);
    if (!inside) {
        e.hover = 0;
        return;
    }
    e.hover = 1;
    if (Mouse_Click(OE_MOUSE_LEFT)) e.Activate(pan);
}

// Focus, the click sound, then the action.
void ClickWithSound(ielement& e, int pan) {
    e.focused = 1;
    Snd_Play(gui.click_sound, pan, 0, 0, false);
    if (e.action) e.action();
}

}  // namespace

Iwindow::Iwindow(std::string name_, int32_t x_, int32_t y_, int32_t w_, int32_t h_, std::string caption_,
                 uint8_t visible_)
    : ielement(std::move(name_), x_, y_, w_, h_, std::move(caption_), visible_) {
    relative = 0;
}

void Iwindow::Frame() {
    if (visible == 0) return;
    ielement::Frame();
    if (Mouse_DblClick(OE_MOUSE_LEFT) && Gui_MouseIn(x, y, w, kTitleStrip) && action) action();
    if (Gui_MouseIn(x, y, w, kTitleStrip) && Mouse_Click(OE_MOUSE_LEFT)) {
        focused = 1;
        dragging = 1;
        drag_dx = Mouse_X() - x;
        drag_dy = Mouse_Y() - y;
    }
    if (dragging == 1 && fixed == 0) {
        // The drag ends on the engine's report of the left button going up.
        if (Mouse_Press(OE_MOUSE_LEFT)) dragging = 0;
        if (dragging == 1 && Mouse_Down(OE_MOUSE_LEFT)) {
            x = Mouse_X() - drag_dx;
            y = Mouse_Y() - drag_dy;
        }
    }
    SSprite_Draw(gui.window_skin, x, y, w, h, 255, 0, OE_SPRITE_PLAIN);
    if (!caption.empty()) Pr2D_Rect(x, y, w, kTitleBand, gui.highlight_colour, 128, OE_PR2D_FILL);
    Gui_DrawText(CaptionLeft(x), y + 4, caption, gui.text_colour);
}

void Iimage::Frame() {
    if (visible == 0) return;
    ielement::Frame();
    const Offset p = ParentOffset();
    const int32_t left = x + p.x;
    const int32_t top = y + p.y;
    if (tinted == 1) {
        FX_SetColorMix(tint);
        SSprite_Draw(texture, left, top, w, h, 255, angle, OE_SPRITE_PLAIN | OE_SPRITE_COLOR_MIX);
    } else {
        SSprite_Draw(texture, left, top, w, h, 255, angle, OE_SPRITE_PLAIN);
    }
    Gui_DrawText(CaptionLeft(left), top + h + 8, caption, gui.text_colour);
    const bool inside = Gui_MouseIn(left, top, w, h);
    if (hover == 0 && clickable == 1 && inside) Snd_Play(gui.hover_sound, 0, 0, 0, false);
    if (inside && clickable == 1) {
        hover = 1;
        // Never set back: later outlines of the whole game are 2 pixels wide.
        Pr2D_LineWidth(2);
        SSprite_Draw(texture, left, top, w, h, 255, angle, OE_SPRITE_PLAIN);
        if (Mouse_Click(OE_MOUSE_LEFT)) Activate(0);
    } else {
        hover = 0;
    }
}

void Iimage::Activate(int pan) {
    if (clickable == 1) ClickWithSound(*this, pan);
}

void Ibutton::Frame() {
    if (visible == 0) return;
    ielement::Frame();
    const Offset p = ParentOffset();
    const int32_t left = x + p.x;
    const int32_t top = y + p.y;
    if (hover == 1)
        SSprite_Draw(gui.button_skin, left + 4, top + 4, w - 8, h - 8, 255, 0, OE_SPRITE_PLAIN);
    else
        SSprite_Draw(gui.button_skin, left, top, w, h, 255, 0, OE_SPRITE_PLAIN);
    // A caption wider than the button is drawn smaller to fit inside it.
    const float scale = Gui_FitScale(caption, w - 2 * kCaptionMargin);
    DrawShadowed(CaptionLeft(left, scale), top + h / 2 - 16, caption, kButtonShadow, gui.button_text_colour, scale);
    // A button's sounds come from where the mouse is across the screen.
    HoverAndClick(*this, Gui_MouseIn(left, top, w, h), Mouse_X() - 400);
}

void Ibutton::Activate(int pan) { ClickWithSound(*this, pan); }

void Ilabel::Frame() {
    if (visible == 0) return;
    ielement::Frame();
    const Offset p = ParentOffset();
    const int32_t left = x + p.x;
    const int32_t top = y + p.y;
    // The focus outline is asked for fully transparent, so it shows nothing.
    if (focused == 1) Pr2D_Rect(left - 1, top - 1, w + 2, h + 2, 128, 0, 0);
    HoverAndClick(*this, Gui_MouseIn(left, top, w, h), 0);
    DrawShadowed(CaptionLeft(left), top + h / 2 - 8, caption, kLabelShadow, kLabelColour);
}

void Ilabel::Activate(int pan) { ClickWithSound(*this, pan); }

void Itext::Frame() {
    if (visible == 0) return;
    ielement::Frame();
    const Offset p = ParentOffset();
    DrawShadowed(CaptionLeft(x + p.x), y + p.y + h / 2 - 16, caption, kButtonShadow, gui.text_colour);
}
