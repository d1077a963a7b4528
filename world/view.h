// view.h: the draw list: the objects of the map that touch the screen, in
// drawing order, refreshed every tick while a track is shown.
#pragma once

#include "world/world.h"

// True when object `index` touches the 800x600 screen seen through the main
// camera: with (rx, ry) its position minus the camera's, -width < rx,
// -height < ry, rx < width + 800 and ry < 2 height + 600.
bool World_OnScreen(const tworld& world, int32_t index);
// The same seen from a camera whose top-left corner is `view`.
bool World_OnScreen(const tworld& world, int32_t index, tcorner view);
// Clears the draw list and appends every object of the map on screen, in map order.
void World_BuildView(tworld& view, const tworld& map);
// Land tiles to the front in their order, then the rest by increasing y;
// objects of equal y keep their order.
void World_OrderView(tworld& view);
// Rebuilds and orders the draw list from the map and recomputes the shadows
// of its dynamic objects: the tick's work while a track is on screen.
void World_RefreshDrawList();
