// results.h: what the end of a race tells beside its result window: the
// finishing order of every car, and the player's times and points.
#pragma once

#include "world/world.h"

// Two panels either side of the result window: the order the cars finished
// in (the rest by how far round they were), and the player's race time, best
// lap, bonus points and, after a lost tournament race, the points lost.
void DrawResults(const tworld& map);

// The result window's lines say what happened: after the last tournament
// race that the cup is won, after a lost race the place the player finished
// in; otherwise the window's own words.
void Results_SetWindowTexts(const tworld& map, bool won);
