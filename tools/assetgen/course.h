// course.h: a race course on the tile grid: its centre line, the road tiles
// along it, its bends and its waypoints. A course is drawn as a closed
// rectilinear polygon of centre-line corners (in cells), each rounded by a
// bend of its own radius; the road is two cells wide.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bends.h"
#include "raster.h"

namespace assetgen {

struct Corner {
    int x = 0;        // cells
    int y = 0;
    int radius = 4;   // bend radius in cells, one of kBendRadii
    // The straight from here to the next corner is a cell wider on this
    // side of the direction of travel (1 left, -1 right) but for a cell at
    // each end; 0: the usual two cells.
    int wide = 0;
};

struct Layout {
    std::vector<Corner> corners;   // in racing order; the first side is horizontal
    int start = 0;                 // cells from the first corner to the start line
};

struct RoadTile {
    std::string kind;
    int x = 0;   // object position: the cell's bottom centre, pixels
    int y = 0;
};

struct Bend {
    Vec2 centre;    // pixels
    float radius;   // of the centre line, pixels
    Quadrant quadrant;
};

struct Course {
    std::vector<RoadTile> tiles;   // every road cell, in racing order
    std::vector<Vec2> line;        // the centre line from the start line round, a point every few px
    std::vector<Bend> bends;
    std::vector<std::pair<Vec2, Vec2>> straights;   // the centre line between the bends
    std::vector<std::pair<Vec2, Vec2>> widenings;   // a line a cell aside a straight where it is wider
    Vec2 start;                    // middle of the start line
    int direction = 1;             // along x at the start line: 1 east, -1 west
    int cell_x0 = 0, cell_y0 = 0, cell_x1 = 0, cell_y1 = 0;   // road cells, inclusive
};

constexpr float kHalfRoad = kCell;   // the road is two cells wide

// The course of a layout, or nothing with `error` set when the corners do not
// make a closed loop of straights and bends that keeps clear of itself.
std::optional<Course> BuildCourse(const Layout& layout, std::string& error);

// Distance from p to the course's centre line (the road is where it is at
// most kHalfRoad).
float DistanceToLine(const Course& course, Vec2 p);

// Points about `spacing` px apart along the centre line, the first on the
// start line, in racing order; in the middle of the road where it is wider.
std::vector<Vec2> Waypoints(const Course& course, float spacing);

}  // namespace assetgen
