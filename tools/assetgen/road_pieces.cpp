#include "road_pieces.h"

#include <algorithm>
#include <cmath>

#include "surface.h"

namespace assetgen {

namespace {

enum Side { kNorth = 1, kEast = 2, kSouth = 4, kWest = 8 };

// Road with its edge along the given sides; with two sides that meet, the
// edge turns round an outer curve and the ground outside it stays clear.
Canvas RoadEdge(const Canvas& road, const EdgePainter& edge, int sides) {
    Canvas tile = road;
    const bool corner = (sides & (kNorth | kSouth)) && (sides & (kEast | kWest));
    constexpr float kRadius = 44;
    const float cx = (sides & kEast) ? kCell - kRadius : kRadius;
    const float cy = (sides & kSouth) ? kCell - kRadius : kRadius;
    auto in_corner = [=](Vec2 p) {
        return corner && ((sides & kEast) ? p.x > cx : p.x < cx) && ((sides & kSouth) ? p.y > cy : p.y < cy);
    };
    if (corner) {
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) {
                const Vec2 p{x + 0.5f, y + 0.5f};
                if (!in_corner(p)) continue;
                Colour c = tile.Get(x, y);
                c.a = Clamp01(kRadius + 0.5f - Length(p - Vec2{cx, cy}));
                tile.Set(x, y, c);
            }
    }
    edge(tile, [=](Vec2 p, float& depth, float& along) {
        if (in_corner(p)) {
            const Vec2 d = p - Vec2{cx, cy};
            depth = kRadius - Length(d);
            along = std::atan2(std::fabs(d.y), std::fabs(d.x)) * kRadius;
            return depth >= -1 && depth <= kKerb + 1;
        }
        float best = 1e9f;
        if (sides & kNorth) best = std::min(best, p.y), along = p.x;
        if ((sides & kSouth) && kCell - p.y < best) best = kCell - p.y, along = p.x;
        if ((sides & kWest) && p.x < best) best = p.x, along = p.y;
        if ((sides & kEast) && kCell - p.x < best) best = kCell - p.x, along = p.y;
        depth = best;
        return depth <= kKerb + 1;
    });
    return tile;
}

// Road everywhere but a quarter circle of edge at one corner: the inside of
// a turn, where the edges of two neighbouring pieces meet. The quarter is
// too short for a pattern along it, so it shows what both edges show where
// they reach it.
Canvas RoadInnerCorner(const Canvas& road, const EdgePainter& edge, int sides) {
    Canvas tile = road;
    const Vec2 corner{(sides & kEast) ? static_cast<float>(kCell) : 0.0f,
                      (sides & kSouth) ? static_cast<float>(kCell) : 0.0f};
    edge(tile, [=](Vec2 p, float& depth, float& along) {
        depth = Length(p - corner);
        along = 0;
        return depth <= kKerb + 1;
    });
    return tile;
}

}  // namespace

ImageSet MakeRoadEdges(const std::string& prefix, const Canvas& surface, const EdgePainter& edge) {
    const struct {
        const char* suffix;
        int sides;
    } edges[] = {{"n", kNorth},          {"e", kEast},           {"s", kSouth},          {"w", kWest},
                 {"ne", kNorth | kEast}, {"nw", kNorth | kWest}, {"se", kSouth | kEast}, {"sw", kSouth | kWest}};
    ImageSet set;
    for (const auto& e : edges)
        set.push_back({prefix + "edge_" + e.suffix + "1", RoadEdge(surface, edge, e.sides), true});
    for (const auto& e : edges)
        if (std::string(e.suffix).size() == 2)
            set.push_back({prefix + "inner_" + e.suffix + "1", RoadInnerCorner(surface, edge, e.sides), true});
    return set;
}

}  // namespace assetgen
