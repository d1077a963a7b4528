// core.h: engine state shared by the engine's own modules (not for the game).
#pragma once

#include "engine/oe.h"

namespace oe {

class Canvas;

Canvas* CurrentCanvas();             // where drawing goes; null on the recording backend
const OE_CameraRec* DrawCamera();    // the camera set by Cam2D_Set when switched on, else null
double Now();                        // U_GetTime without logging
bool InsideTick();                   // true while a timer procedure runs

// Resets every engine global to its start-up value: callbacks, timers, cameras,
// options, input, draw state, textures, fonts, sounds (tests run many engines).
void ResetEngine();

}  // namespace oe
