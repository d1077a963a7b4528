// Bend tiles: road surface between two circles, its edge painted along both,
// transparent outside so the ground shows through.
#include "bends.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <vector>

namespace assetgen {

namespace {

const char* QuadrantName(Quadrant q) {
    switch (q) {
        case Quadrant::NE: return "ne";
        case Quadrant::NW: return "nw";
        case Quadrant::SE: return "se";
        default: return "sw";
    }
}

// The cell's top-left corner relative to the bend's centre.
Vec2 CellOrigin(Quadrant q, int a, int b) {
    const bool east = q == Quadrant::NE || q == Quadrant::SE;
    const bool south = q == Quadrant::SE || q == Quadrant::SW;
    return {static_cast<float>(east ? kCell * a : -kCell * (a + 1)),
            static_cast<float>(south ? kCell * b : -kCell * (b + 1))};
}

constexpr float kQuarterTurn = 1.57079633f;

// The radius that turns an edge's angle into its position along it: close to
// the edge's own, and making the quarter circle a whole number of 128 px, so
// the edge meets the straights at both ends as the straights meet each other.
float AlongRadius(float radius) {
    const float lengths = std::max(1.0f, std::round(radius * kQuarterTurn / kCell));
    return lengths * kCell / kQuarterTurn;
}

Canvas BendTile(const Canvas& road, const EdgePainter& edge, int r, Quadrant q, int a, int b) {
    const float inner = static_cast<float>(kCell * (r - 1));
    const float outer = static_cast<float>(kCell * (r + 1));
    const float inner_along = AlongRadius(inner), outer_along = AlongRadius(outer);
    const Vec2 origin = CellOrigin(q, a, b);
    Canvas tile(kCell, kCell);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const float d = Length(origin + Vec2{x + 0.5f, y + 0.5f});
            const float cover = Clamp01(std::min(d - inner, outer - d) + 0.5f);
            if (cover > 0) tile.Set(x, y, WithAlpha(road.Get(x, y), cover));
        }
    edge(tile, [=](Vec2 p, float& depth, float& along) {
        const Vec2 w = origin + p;
        const float d = Length(w);
        const bool near_inner = d - inner < outer - d;
        depth = near_inner ? d - inner : outer - d;
        if (depth < -1 || depth > kKerb + 1) return false;
        along = std::atan2(std::fabs(w.y), std::fabs(w.x)) * (near_inner ? inner_along : outer_along);
        return true;
    });
    return tile;
}

}  // namespace

BendCell ClassifyBendCell(int r, int a, int b) {
    const float near = kCell * std::hypot(static_cast<float>(a), static_cast<float>(b));
    const float far = kCell * std::hypot(static_cast<float>(a + 1), static_cast<float>(b + 1));
    const float inner = static_cast<float>(kCell * (r - 1));
    const float outer = static_cast<float>(kCell * (r + 1));
    if (near >= outer || far <= inner) return BendCell::Ground;
    if (near >= inner + kKerb + 2 && far <= outer - kKerb - 2) return BendCell::Road;
    return BendCell::Tile;
}

std::string BendTileKind(int r, Quadrant q, int a, int b) {
    return "lnd_arc" + std::to_string(r) + "_" + QuadrantName(q) + "_" + std::to_string(a) + "_" +
           std::to_string(b);
}

ImageSet MakeBendTiles(const std::string& prefix, const Canvas& surface, const EdgePainter& edge,
                       std::span<const int> radii) {
    // One job per bend; the order of the set stays fixed.
    std::vector<std::future<ImageSet>> jobs;
    for (int r : radii)
        for (Quadrant q : {Quadrant::NE, Quadrant::NW, Quadrant::SE, Quadrant::SW})
            jobs.push_back(std::async(std::launch::async, [&prefix, &surface, &edge, r, q] {
                ImageSet bend;
                for (int b = 0; b <= r; ++b)
                    for (int a = 0; a <= r; ++a)
                        if (ClassifyBendCell(r, a, b) == BendCell::Tile)
                            bend.push_back({prefix + BendTileKind(r, q, a, b).substr(4) + "1",
                                            BendTile(surface, edge, r, q, a, b), false});
                return bend;
            }));
    ImageSet set;
    for (auto& job : jobs)
        for (Image& image : job.get()) set.push_back(std::move(image));
    return set;
}

}  // namespace assetgen
