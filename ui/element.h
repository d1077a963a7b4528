// element.h: the interface toolkit's element registry, base element and style.
//
// Every menu, dialog and control is an element of one immediate-mode toolkit.
// The elements live in one owning list in creation order; other code reaches
// them only by name (Element_Find, then Element_At) and reads or writes their
// fields directly. Once per frame Gui_UpdateAll runs every element's Frame,
// which reads the mouse and keys, changes the element's state, calls its action
// when clicked, and draws it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/oe.h"

class ielement {
public:
    // A new element: relative, parented to gui_parent, no action, everything
    // else 0 or empty. It is not added to the list.
    ielement(std::string name, int32_t x, int32_t y, int32_t w, int32_t h, std::string caption,
             uint8_t visible);
    virtual ~ielement() = default;
    ielement(const ielement&) = default;
    ielement& operator=(const ielement&) = default;

    // One frame of the element. Every widget tests its own `visible` first and
    // then runs this base behaviour: holding the left button outside the
    // element unfocuses it and throws away the text typed so far.
    virtual void Frame();
    // What a click on the element does, by mouse or by key: focus it and call
    // its action; widgets add their sound or state change. `pan` places a sound.
    virtual void Activate(int pan);

    uint8_t relative = 1;       // 1: x, y are relative to the parent's x, y
    std::string name;           // not unique; Element_Find finds the last one
    int32_t parent = 0;         // index of the parent element in element_list
    uint8_t visible = 0;        // 0: no input, no drawing, children skipped
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    std::string caption;        // shown text; an edit box's edited text
    uint8_t hover = 0;          // the mouse was over it at the end of its last Frame
    uint8_t ticked = 0;         // a check box's state
    OE_Procedure action = nullptr;   // called when clicked
    uint8_t focused = 0;        // set by a click, cleared by holding the button outside
    uint8_t fixed = 0;          // windows: 1 forbids dragging

protected:
    struct Offset {
        int32_t x = 0;
        int32_t y = 0;
    };
    // The parent's own x and y for a relative element (one level only), (0, 0)
    // for a window.
    Offset ParentOffset() const;
    // The x at which the caption, drawn at `scale`, is centred on an element
    // whose left edge is drawn at `left`.
    int32_t CaptionLeft(int32_t left, float scale = 1.0f) const;
};

// Owns every element; indices run from 0 in the order of addition.
extern std::vector<std::unique_ptr<ielement>> element_list;

void Element_Add(std::unique_ptr<ielement> element);
// The index of the last element named exactly `name`; 0 when none is.
int32_t Element_Find(std::string_view name);
// The element at `index`. An index outside the list gives the first element,
// or, with an empty list, a hidden dummy that does nothing (fresh every call).
ielement& Element_At(int32_t index);

// The element last added under `name` (element 0, or the dummy, when none is).
ielement& Element_Named(std::string_view name);

// The element at `index` as a widget class, for its own fields. An element of
// another class (a name that missed lands on element 0) gives a hidden dummy
// of the wanted class, fresh every call, so nothing is read as the wrong type.
template <class T>
T& Element_As(int32_t index) {
    if (T* element = dynamic_cast<T*>(&Element_At(index))) return *element;
    static T dummy("", 0, 0, 0, 0, "", 0);
    dummy = T("", 0, 0, 0, 0, "", 0);
    return dummy;
}

// Forgets every element and the style: the toolkit as a new process holds it.
void Gui_Reset();
// Later elements are parented to the element added last.
void Gui_SetParentToLast();
// One frame of the whole interface: every element's Frame in list order;
// a relative element only when its parent is visible.
void Gui_UpdateAll();
// The mouse lies strictly inside the rectangle (the edges are outside).
bool Gui_MouseIn(int32_t x, int32_t y, int32_t w, int32_t h);
// Text as every widget draws it: the toolkit's font, no extra spacing, opaque.
// `top` is the top of the full-size line; a smaller scale shrinks the line
// about its middle, so fitted text stays centred where it was.
void Gui_DrawText(int32_t left, int32_t top, const std::string& text, int32_t colour, float scale = 1.0f);
// The scale that fits text into `room` pixels: 1 when it fits at full size
// (or there is no room at all), otherwise the full width shrunk to `room`.
float Gui_FitScale(const std::string& text, int32_t room);

// The toolkit's style, set once by the screen builder and read by every Frame,
// and the parent that new elements get.
struct tgui {
    OE_Font font = nullptr;
    OE_Texture window_skin = nullptr;
    OE_Texture button_skin = nullptr;
    int32_t highlight_colour = 0xFFFFFF;
    int32_t text_colour = 0xFFFFFF;
    int32_t button_text_colour = 0xFFFFFF;
    OE_Sound click_sound = nullptr;
    OE_Sound hover_sound = nullptr;
    int32_t parent = 0;   // parent index given to new elements
};
extern tgui gui;

void Gui_SetFont(const OE_Font& font);
void Gui_SetWindowSkin(OE_Texture texture);
void Gui_SetButtonSkin(OE_Texture texture);
void Gui_SetHighlightColour(int32_t colour);
void Gui_SetTextColour(int32_t colour);
void Gui_SetButtonTextColour(int32_t colour);
