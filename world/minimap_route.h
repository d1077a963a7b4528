// minimap_route.h: the race minimap's route as one picture, made once per track.
//
// The route is the closed line through the waypoints, a fifteenth of their
// size, nine pixels wide: 81 one-pixel lines in 0xAAAAAA at alpha 64, each
// shifted by -4..4 pixels either way, laid over each other. Where n of those
// lines cross a pixel the picture holds the alpha those n layers add up to, so
// drawing it once gives the colours of drawing the lines.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "world/world.h"

struct MinimapRoute {
    int64_t left = 0;   // where the picture's top-left pixel goes, relative to the
    int64_t top = 0;    // route's origin (the waypoints' smallest x and y, scaled)
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;   // width * height * 4 bytes; empty without waypoints
};

// The route through `waypoints` (the first follows the last).
MinimapRoute Minimap_Route(std::span<const tcorner> waypoints);

// A waypoint coordinate on the minimap, from the route's smallest coordinate:
// a fifteenth of the distance, wide enough for any int32 position.
inline int64_t Minimap_Scaled(int64_t v, int64_t min) { return (v - min) / 15; }
