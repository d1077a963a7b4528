// input_widgets.h: the toolkit's widgets that take input: check boxes, edit
// boxes and list boxes.
#pragma once

#include "assets/texbase.h"
#include "ui/element.h"

// A box that flips `ticked` when clicked, before its action runs, so the
// action sees (and may change) the new state. Plays no sounds.
class Icheckbox : public ielement {
public:
    using ielement::ielement;
    void Frame() override;
    void Activate(int pan) override;   // flips `ticked`, then the action
};

// A one-line text field over the engine's text capture; the text is the
// caption. While focused it takes what was typed since the last frame as long
// as the text is narrower than the box; Backspace deletes the last character.
class Iedit : public ielement {
public:
    using ielement::ielement;
    void Frame() override;
};

// A list of names that scrolls by rotating its entries. The selected entry is
// always entry 0, shown in row 1 under the band, with the last entry above it
// in row 0. Holding the left button on a scroll square rotates once a frame,
// each step followed by a 50 ms pause. Never focused, no action, no caption.
class Ilist : public ielement {
public:
    using ielement::ielement;
    void Frame() override;

    TF_list items;
    int32_t highlight_row = 0;   // row of the selection band
    uint8_t no_buttons = 0;      // 1: no scroll squares (scrolled from outside)
    uint8_t no_highlight = 0;    // 1: no selection band
    uint8_t one_size = 0;        // 1: every entry at the size that fits the widest one
};
