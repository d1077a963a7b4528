// render.h: drawing the race world and the race minimap.
#pragma once

#include "world/world.h"

// Draws every object of the draw list in order through the main camera: its
// shadow, its body in its light (cars as wheels, body shadow and tinted body),
// a lamp's light and a bonus's glow. Dynamic objects stand `progress` of the
// way from where the last race tick found them (see tween.h).
void DrawWorld(const tworld& view, float progress = 1.0f);
// The minimap in the lower right corner: a box a fifteenth of the waypoints'
// extent plus 32 px, the route nine pixels wide and an icon for every car and
// the start line.
void DrawMinimap(const tworld& map);
