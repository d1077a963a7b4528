// display_widgets.h: the toolkit's widgets that show things and take clicks:
// windows, images, buttons, labels and plain texts.
#pragma once

#include "ui/element.h"

// A skinned panel that groups the elements after it. Its x and y are screen
// coordinates; its 20-pixel title strip takes the focus, drags the window
// (unless fixed) and calls the action on a double click.
class Iwindow : public ielement {
public:
    Iwindow(std::string name, int32_t x, int32_t y, int32_t w, int32_t h, std::string caption, uint8_t visible);
    void Frame() override;

    uint8_t dragging = 0;   // the window follows the mouse
    int32_t drag_dx = 0;    // mouse minus the window's x and y when the drag began
    int32_t drag_dy = 0;
};

// A texture, optionally tinted and rotated, with its caption below; only a
// clickable image plays sounds and calls its action.
class Iimage : public ielement {
public:
    using ielement::ielement;
    void Frame() override;
    void Activate(int pan) override;   // only when clickable

    uint8_t clickable = 0;
    uint8_t tinted = 0;              // 1: drawn with `tint` mixed in
    int32_t tint = 0;                // 0xRRGGBB
    OE_Texture texture = nullptr;
    int32_t angle = 0;               // degrees
};

// A skinned push button. The face is drawn from the previous frame's hover,
// so it shrinks in the first frame after the mouse entered. Sounds are panned
// by the mouse's distance from the screen's centre column.
class Ibutton : public ielement {
public:
    using ielement::ielement;
    void Frame() override;
    void Activate(int pan) override;   // with the click sound
};

// A clickable caption in blue.
class Ilabel : public ielement {
public:
    using ielement::ielement;
    void Frame() override;
    void Activate(int pan) override;   // with the click sound
};

// A plain caption: no hover, no sound, no action.
class Itext : public ielement {
public:
    using ielement::ielement;
    void Frame() override;
};
