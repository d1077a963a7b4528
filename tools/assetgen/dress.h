// dress.h: a course dressed as a track of one theme: ground, water and
// patches, the road, the start line, barriers on the outside of the bends,
// lamps, props off the road, the starting grid and the waypoints.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "catalog.h"
#include "course.h"

namespace assetgen {

// Second ground of a theme and how it lies.
enum class Patches { None, Sea, Ponds, Sidewalks };

// A computer car: its kind and colour.
struct Rival {
    const char* kind;
    int32_t colour;
};

struct Theme {
    const char* style;                                   // the road's look, one of kRoadStyles
    const char* ground;                                  // land tile under everything
    const char* patch;                                   // second land tile, or null
    Patches patches;
    std::vector<std::pair<const char*, int>> props;      // kind and weight
    float prop_spacing;                                  // pixels between prop sites
    const char* critter;                                 // "rak" or "pen" beside the bends, or null
    float lamp_spacing;                                  // along the road; 0: no lamps
    bool lamps_both_sides;
};

struct Thing {
    std::string kind;
    int x = 0;
    int y = 0;
    uint8_t ai = 0;
    uint8_t dynamic = 0;
    int32_t colour = 0xFFFFFF;
};

struct Scene {
    std::vector<Thing> things;      // land first, then everything else, cars last
    std::vector<Vec2> waypoints;    // racing order, the first on the start line
};

constexpr float kWaypointSpacing = 300;

// The dressed track, forwards, with the computer cars in grid order (on
// pole, then the second row). Deterministic for a seed.
Scene Dress(const Course& course, const Theme& theme, const std::array<Rival, 3>& rivals, const ImageSet& objects,
            uint64_t seed);
// The same track raced the other way: the waypoints reversed after the first,
// the grid turned about the start line.
Scene Reversed(const Scene& scene, const Course& course);

}  // namespace assetgen
