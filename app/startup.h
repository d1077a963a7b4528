// startup.h: the program's entry and the engine callbacks besides drawing.
#pragma once

// The entry: creates the tick timer, registers the callbacks, names and sizes
// the window and runs the engine's loop; returns when the loop ends. The
// backend must be chosen before (the window for the game, offscreen headless).
void Game_Main();

// Everything the game holds back to a new process's values: the shared
// state, the maps and particles, the registries and the interface. A fresh
// engine (a new backend) has already freed what they pointed at.
void Game_Reset();

void LoadCallback();   // once, after the window exists: assets, screens, profile
void ExitCallback();   // at shutdown: saves the settings
void IdleCallback();   // nothing
