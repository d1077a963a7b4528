// screens.h: every screen and dialog of the game, built once at start-up.
//
// Fourteen windows, each followed by the elements inside it, 138 elements in
// all. Nothing is created or destroyed afterwards: a screen is shown or hidden
// by its window's visible flag.
#pragma once

#include <string_view>

// Replaces the element list with a fresh one holding every window and control
// in creation order, fills the editor's item list from "gfx\obj\list.txt" and
// the profile list from "prf\", and finishes the toolkit's style. Needs the
// font, the texture registries and the sound registry loaded.
void Screens_Build();

// The visible flag of the element found under `name`.
void Screens_Show(std::string_view name);
void Screens_Hide(std::string_view name);
