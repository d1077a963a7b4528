// element.cpp: the element registry, the base element and the toolkit's style.
#include "ui/element.h"

#include <cmath>
#include <utility>

std::vector<std::unique_ptr<ielement>> element_list;

tgui gui;

namespace {

constexpr float kHalfLine = 16.0f;   // half the font's 32-pixel line

// What Element_At hands out when the list is empty: hidden and inert.
class NoElement final : public ielement {
public:
    NoElement() : ielement("", 0, 0, 0, 0, "", 0) {}
    void Frame() override {}
};

}  // namespace

void Gui_Reset() {
    element_list.clear();
    gui = {};
}

ielement::ielement(std::string name_, int32_t x_, int32_t y_, int32_t w_, int32_t h_, std::string caption_,
                   uint8_t visible_)
    : name(std::move(name_)),
      parent(gui.parent),
      visible(visible_),
      x(x_),
      y(y_),
      w(w_),
      h(h_),
      caption(std::move(caption_)) {}

void ielement::Frame() {
    const Offset p = ParentOffset();
    if (!Gui_MouseIn(x + p.x, y + p.y, w, h) && Mouse_Down(OE_MOUSE_LEFT)) {
        focused = 0;
        Key_BeginReadText("");
    }
}

void ielement::Activate(int) {
    focused = 1;
    if (action) action();
}

ielement::Offset ielement::ParentOffset() const {
    if (relative == 0) return {};
    const ielement& p = Element_At(parent);
    return {p.x, p.y};
}

int32_t ielement::CaptionLeft(int32_t left, float scale) const {
    const int32_t width = Text_GetWidth(gui.font, caption, 1.0f, 0.0f);
    return left + w / 2 - (scale < 1.0f ? static_cast<int32_t>(width * scale) : width) / 2;
}

void Element_Add(std::unique_ptr<ielement> element) {
    if (element) element_list.push_back(std::move(element));
}

int32_t Element_Find(std::string_view name) {
    int32_t result = 0;
    const int32_t count = static_cast<int32_t>(element_list.size());
    for (int32_t i = 0; i < count; ++i) {
        if (element_list[i]->name == name) result = i;
    }
    return result;
}

ielement& Element_At(int32_t index) {
    if (element_list.empty()) {
        static NoElement dummy;
        dummy = NoElement();
        return dummy;
    }
    if (index < 0 || static_cast<size_t>(index) >= element_list.size()) index = 0;
    return *element_list[index];
}

ielement& Element_Named(std::string_view name) { return Element_At(Element_Find(name)); }

void Gui_SetParentToLast() { gui.parent = static_cast<int32_t>(element_list.size()) - 1; }

void Gui_UpdateAll() {
    // Elements added by an action during the pass wait for the next frame.
    const size_t count = element_list.size();
    for (size_t i = 0; i < count; ++i) {
        ielement& e = *element_list[i];
        if (e.relative == 0 || Element_At(e.parent).visible == 1) e.Frame();
    }
}

bool Gui_MouseIn(int32_t x, int32_t y, int32_t w, int32_t h) {
    return x < Mouse_X() && Mouse_X() < x + w && y < Mouse_Y() && Mouse_Y() < y + h;
}

void Gui_DrawText(int32_t left, int32_t top, const std::string& text, int32_t colour, float scale) {
    const float shift = scale < 1.0f ? std::round(kHalfLine * (1.0f - scale)) : 0.0f;
    Text_Draw(gui.font, static_cast<float>(left), static_cast<float>(top) + shift, text, scale, 0.0f, 255, colour);
}

float Gui_FitScale(const std::string& text, int32_t room) {
    const int32_t width = Text_GetWidth(gui.font, text, 1.0f, 0.0f);
    return room > 0 && width > room ? static_cast<float>(room) / static_cast<float>(width) : 1.0f;
}

void Gui_SetFont(const OE_Font& font) { gui.font = font; }
void Gui_SetWindowSkin(OE_Texture texture) { gui.window_skin = texture; }
void Gui_SetButtonSkin(OE_Texture texture) { gui.button_skin = texture; }
void Gui_SetHighlightColour(int32_t colour) { gui.highlight_colour = colour; }
void Gui_SetTextColour(int32_t colour) { gui.text_colour = colour; }
void Gui_SetButtonTextColour(int32_t colour) { gui.button_text_colour = colour; }
