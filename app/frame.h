// frame.h: what each frame draws, by game state.
#pragma once

void DrawFrame();    // the engine's draw callback
void DrawCursor();   // the game's mouse cursor at the position cached by the tick
