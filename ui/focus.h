// focus.h: every screen by keyboard and game controller.
//
// The visible buttons, check boxes, edit boxes and list boxes of the topmost
// visible window form a focus ring in creation order. Arrows and Tab move the
// focus, Enter or Space (the pad's A) activates the focused control as a click
// would, Escape (B) activates the window's back control and the pad's Start its
// confirming one. The pad's d-pad and stick hold the arrows, so they move the
// focus too; a held arrow repeats. Moving the mouse over a control moves the
// focus there; clicks work as they always did. Windows and controls are element
// indices; the screen builder names each window's back and confirming control.
#pragma once

#include <cstdint>

#include "engine/oe.h"

// Forgets the ring, the history and every window's keys (a fresh element list).
void Focus_Reset();
// Escape and B activate `control` while `window` is on top.
void Focus_SetBack(int32_t window, int32_t control);
// Escape and B call `procedure` while `window` is on top (a window without a
// control that leads back).
void Focus_SetBackAction(int32_t window, OE_Procedure procedure);
// Start, and Enter on a list box, activate `control` while `window` is on top.
void Focus_SetConfirm(int32_t window, int32_t control);
// Left and Right activate `prev` and `next` while either of them is focused.
void Focus_AddPair(int32_t prev, int32_t next);

// One interface pass with the focus: the mouse moves the focus, every element's
// Frame runs (Gui_UpdateAll), then the keys move or activate and the focused
// control is highlighted.
void Focus_InterfacePass();

// The focused element's index, -1 when no window is shown or it has no control.
int32_t Focus_Current();
