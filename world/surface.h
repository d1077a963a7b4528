// surface.h: what the ground under a car is made of. The road drives as
// built; sand, grass, snow, pavement and water slow a car and ice loosens its
// grip. Read from the land tiles and the road's centre line once per race.
#pragma once

#include <cstdint>

#include "world/world.h"

// In the order of SURFACE_HANDLING (world/tuning.h).
enum class Surface : uint8_t { Road, Sand, Grass, Snow, Ice, Water, Pavement };

// Maps the ground of a race: every land tile's surface, the road wherever it
// lies within half the road's width of the centre line.
void Surface_Prepare(const tworld& map);
// The ground at (x, y) of the race prepared on `map`; the road off the tiles
// and on any map not prepared.
Surface Surface_At(const tworld& map, int32_t x, int32_t y);
