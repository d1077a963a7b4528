// screen_keys.h: what the keys and the pad do on each screen beyond moving the
// focus: the control Escape leads back through, the control Start confirms
// with, and the Prev/Next pairs that Left and Right work.
#pragma once

// Tells the focus ring every screen's keys; needs the screens built.
void ScreenKeys_Set();
