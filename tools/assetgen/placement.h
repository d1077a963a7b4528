// placement.h: a scene being dressed and the rules for putting things in it:
// on the ground inside the map, clear of the road, not crowding each other.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "catalog.h"
#include "course.h"
#include "dress.h"

namespace assetgen {

constexpr int kMargin = 5;   // ground cells beyond the road on every side

class Placement {
public:
    Placement(const Course& course, const ImageSet& objects);

    const Course& course() const { return course_; }
    Scene& scene() { return scene_; }
    const Canvas& Sprite(const std::string& kind) const { return FindImage(objects_, kind + "1"); }

    // How far p lies outside the road (negative on it).
    float RoadGap(Vec2 p) const { return DistanceToLine(course_, p) - kHalfRoad; }
    // The sprite standing at `base` keeps its whole picture `picture_gap` px
    // off the road (so tall props never hide it) and its collision circle
    // `body_gap` px.
    bool ClearOfRoad(const std::string& kind, Vec2 base, float picture_gap, float body_gap) const;
    // The sprite's whole picture lies on the map's ground.
    bool OnTheMap(const std::string& kind, Vec2 base) const;
    // Something already stands nearer than a share of both sizes.
    bool Crowded(Vec2 p, float size) const;
    // An object whose kind begins with `kind` already stands within `distance`.
    bool Near(Vec2 p, const std::string& kind, float distance) const;

    // The ground cells, inclusive.
    int CellX0() const { return course_.cell_x0 - kMargin; }
    int CellX1() const { return course_.cell_x1 + kMargin; }
    int CellY0() const { return course_.cell_y0 - kMargin; }
    int CellY1() const { return course_.cell_y1 + kMargin; }

    void Land(const std::string& kind, int x, int y) { scene_.things.push_back({kind, x, y}); }
    void Put(const std::string& kind, Vec2 base, uint8_t dynamic = 0);

private:
    struct Placed {
        Vec2 at;
        float size;
        std::string kind;
    };

    const Course& course_;
    const ImageSet& objects_;
    Scene scene_;
    std::vector<Placed> placed_;
};

}  // namespace assetgen
