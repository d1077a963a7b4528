// results.h: what the end of a race tells beside its result window: the
// finishing order of every car, and the player's times and points.
#pragma once

#include "world/world.h"

// Two panels either side of the result window: the order the cars finished
// in (the rest by how far round they were), and the player's race time, best
// lap, bonus points and, after a lost tournament race, the points lost.
void DrawResults(const tworld& map);
