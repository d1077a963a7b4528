// input_widgets.cpp: Frame of the check boxes, edit boxes and list boxes.
#include "ui/input_widgets.h"

#include <algorithm>

namespace {

constexpr int32_t kRowHeight = 40;
constexpr int32_t kTextIndent = 10;
constexpr int32_t kScrollSquare = 20;
constexpr int32_t kCaptionMargin = 2;   // kept free on each side of a check box's caption
constexpr int kScrollPauseMs = 50;   // the scroll squares' repeat rate

// Typed text is UTF-8: one character may be several bytes.
void RemoveLastCharacter(std::string& text) {
    if (text.empty()) return;
    size_t start = text.size() - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
    text.erase(start);
}

// The hover fill every input widget draws while the mouse is over it.
void DrawHoverFill(int32_t left, int32_t top, int32_t w, int32_t h) {
    Pr2D_Rect(left, top, w, h, gui.highlight_colour, 64, OE_PR2D_FILL);
}

}  // namespace

void Icheckbox::Frame() {
    if (visible == 0) return;
    ielement::Frame();
    const Offset p = ParentOffset();
    const int32_t left = x + p.x;
    const int32_t top = y + p.y;
    if (ticked == 1)
        Pr2D_Rect(left, top, w, h, gui.highlight_colour, 64, OE_PR2D_FILL);
    else
        Pr2D_Rect(left, top, w, h, 0x000000, 255, OE_PR2D_FILL);
    if (focused == 1) Pr2D_Rect(left - 1, top - 1, w + 1, h + 1, 0x000000, 128, 0);
    // A caption wider than the box is drawn smaller to fit inside it.
    const float scale = Gui_FitScale(caption, w - 2 * kCaptionMargin);
    Gui_DrawText(CaptionLeft(left, scale), top + 3, caption, (gui.text_colour & 0xFFFFFF) >> 1, scale);
    if (Gui_MouseIn(left, top, w, h)) {
        DrawHoverFill(left, top, w, h);
        if (Mouse_Click(OE_MOUSE_LEFT)) Activate(0);
    }
}

void Icheckbox::Activate(int) {
    focused = 1;
    ticked ^= 1;
    if (action) action();
}

void Iedit::Frame() {
    if (visible == 0) return;
    ielement::Frame();
    const Offset p = ParentOffset();
    const int32_t left = x + p.x;
    const int32_t top = y + p.y;
    if (focused == 1) {
        // Text typed while the caption already fills the box is lost.
        if (Text_GetWidth(gui.font, caption, 1.0f, 0.0f) < w) caption += Key_EndReadText();
        Key_BeginReadText("");
        if (Key_Press(OE_KEY_BACKSPACE)) RemoveLastCharacter(caption);
    }
    Pr2D_Rect(left, top, w, h, 0x000000, 64, OE_PR2D_FILL);
    Pr2D_Rect(left - 1, top - 1, w + 2, h + 2, 0xFFFFFF, 64, 0);
    if (focused == 1) Pr2D_Rect(left - 1, top - 1, w + 2, h + 2, 0x000000, 128, 0);
    const int32_t text_left = CaptionLeft(left);
    Gui_DrawText(text_left, top + 13, caption, gui.text_colour);
    if (focused == 1) Gui_DrawText(text_left, top + 13, caption + "_", gui.text_colour);
    if (Gui_MouseIn(left, top, w, h)) {
        DrawHoverFill(left, top, w, h);
        if (Mouse_Click(OE_MOUSE_LEFT)) Activate(0);
    }
}

void Ilist::Frame() {
    if (visible == 0) return;
    ielement::Frame();
    const Offset p = ParentOffset();
    const int32_t left = x + p.x;
    const int32_t top = y + p.y;
    Pr2D_Rect(left, top, w, h, 0x000000, 64, OE_PR2D_FILL);
    Pr2D_Rect(left, top, w, h, 0xFFFFFF, 64, 0);
    if (no_buttons == 0) {
        const int32_t square_left = left + w - kScrollSquare;
        const int32_t down_top = top + h - kScrollSquare;
        Pr2D_Rect(square_left, top, kScrollSquare, kScrollSquare, 0xFFFFFF, 64, 0);
        Pr2D_Rect(square_left, down_top, kScrollSquare, kScrollSquare, 0xFFFFFF, 64, 0);
        if (Gui_MouseIn(square_left, top, kScrollSquare, kScrollSquare) && Mouse_Down(OE_MOUSE_LEFT)) {
            FList_Rotate(items, +1);
            OE_Sleep(kScrollPauseMs);
        }
        if (Gui_MouseIn(square_left, down_top, kScrollSquare, kScrollSquare) && Mouse_Down(OE_MOUSE_LEFT)) {
            FList_Rotate(items, -1);
            OE_Sleep(kScrollPauseMs);
        }
    }
    const int32_t count = std::clamp(items.count, 0, FLIST_CAPACITY);
    if (no_highlight == 0) {
        // A single entry sits in row 0; otherwise the selected entry 0 is in row 1.
        const int32_t band_top = top + (count == 1 ? 0 : kRowHeight) + highlight_row * kRowHeight;
        Pr2D_Rect(left, band_top, w, kRowHeight, 0xFFFFFF, 64, OE_PR2D_FILL);
    }
    if (focused == 1) Pr2D_Rect(left - 1, top - 1, w + 2, h + 2, 0x000000, 128, 0);
    if (Gui_MouseIn(left, top, w, h)) DrawHoverFill(left, top, w, h);
    if (count < 1) return;
    // Entries wider than the list (up to the scroll squares) are drawn smaller
    // to fit: each on its own, or all at the size of the widest.
    const int32_t room = w - kTextIndent - (no_buttons == 0 ? kScrollSquare : kCaptionMargin);
    float shared = 1.0f;
    if (one_size == 1)
        for (int32_t i = 0; i < count; ++i) shared = std::min(shared, Gui_FitScale(items.names[i], room));
    auto row = [&](int32_t row_top, const std::string& text) {
        Gui_DrawText(left + kTextIndent, row_top, text, gui.text_colour,
                     one_size == 1 ? shared : Gui_FitScale(text, room));
    };
    row(top + 4, items.names[count - 1]);
    for (int32_t i = 0; i <= count - 2 && kRowHeight * i < h - 2 * kRowHeight; ++i)
        row(top + 44 + kRowHeight * i, items.names[i]);
}
