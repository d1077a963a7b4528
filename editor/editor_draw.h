// editor_draw.h: what the editor draws over the world.
#pragma once

#include "world/world.h"

// A green circle of radius 120 and the index at every waypoint of the map.
void DrawWaypoints(const tworld& map);

// While Shift is held: the selected item's first frame with its bottom centre
// on the 8 px grid point where a click would place it.
void DrawPlacementPreview();

// The frames drawn in the last second, top left.
void DrawFrameRate();
