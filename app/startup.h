// startup.h: the program's entry and the engine callbacks besides drawing.
#pragma once

// The entry: creates the tick timer, registers the callbacks, names and sizes
// the window and runs the engine's loop; returns when the loop ends. The
// backend must be chosen before (the window for the game, offscreen headless).
void Game_Main();

void LoadCallback();   // once, after the window exists: assets, screens, profile
void ExitCallback();   // at shutdown: saves the settings
void IdleCallback();   // nothing
