// track_line.h: the road's centre line as a smooth closed curve through the
// waypoints, sampled every few pixels, with each sample's direction, bend and
// the racing line's offset from it. Built once per race for the computer
// drivers and the road surface.
#pragma once

#include <cstdint>
#include <vector>

#include "world/world.h"

struct LinePoint {
    float x = 0.0f;          // on the centre line, world pixels
    float y = 0.0f;
    float dx = 0.0f;         // unit direction of travel
    float dy = 0.0f;
    float bend = 0.0f;       // curvature, 1/px; above 0 the road turns towards (-dy, dx)
    float smooth = 0.0f;     // the curvature averaged over the bend around
    float racing = 0.0f;     // the racing line's offset towards (-dy, dx), px
    int32_t waypoint = 0;    // the waypoint that ends this sample's leg
};

struct TrackLine {
    std::vector<LinePoint> points;   // closed: the last leads back to the first
    float spacing = 0.0f;            // px between neighbouring samples
};

// The centre line of a map with at least three waypoints (an empty line for
// fewer): a Catmull-Rom curve through them, sampled about LINE_SPACING apart.
TrackLine TrackLine_Build(const tworld& map);

// The sample nearest to (x, y), searched from `hint` (-1: the whole line)
// over the samples within `reach` of it in either direction.
int32_t TrackLine_Nearest(const TrackLine& line, float x, float y, int32_t hint, int32_t reach);

// What a race's guides were built from: the map and its waypoints, so an
// edited, reloaded or hand-made map never goes by guides built for another.
struct MapStamp {
    const tworld* map = nullptr;
    std::vector<tcorner> waypoints;

    static MapStamp Of(const tworld& map);
    bool Matches(const tworld& map) const;
};

// The line of the race in progress on `map`, built by TrackLine_Prepare; an
// empty line for any other map, so a map set up by hand drives straight.
const TrackLine& TrackLine_Of(const tworld& map);
void TrackLine_Prepare(const tworld& map);
