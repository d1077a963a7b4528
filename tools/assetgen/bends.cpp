// Bend tiles: asphalt between two circles, kerbed along both, transparent
// outside so the ground shows through.
#include "bends.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <vector>

#include "kerb.h"

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

Canvas BendTile(const Canvas& road, int r, Quadrant q, int a, int b) {
    const float inner = static_cast<float>(kCell * (r - 1));
    const float outer = static_cast<float>(kCell * (r + 1));
    const Vec2 origin = CellOrigin(q, a, b);
    Canvas tile(kCell, kCell);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const float d = Length(origin + Vec2{x + 0.5f, y + 0.5f});
            const float cover = Clamp01(std::min(d - inner, outer - d) + 0.5f);
            if (cover > 0) tile.Set(x, y, WithAlpha(road.Get(x, y), cover));
        }
    PaintKerb(tile, [=](Vec2 p, float& depth, float& along) {
        const Vec2 w = origin + p;
        const float d = Length(w);
        const bool near_inner = d - inner < outer - d;
        depth = near_inner ? d - inner : outer - d;
        if (depth < -1 || depth > kKerb + 1) return false;
        along = std::atan2(std::fabs(w.y), std::fabs(w.x)) * (near_inner ? inner : outer);
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

ImageSet MakeBendTiles(const ImageSet& objects) {
    const Canvas& road = FindImage(objects, "lnd_road1");
    // One job per bend; the order of the set stays fixed.
    std::vector<std::future<ImageSet>> jobs;
    for (int r : kBendRadii)
        for (Quadrant q : {Quadrant::NE, Quadrant::NW, Quadrant::SE, Quadrant::SW})
            jobs.push_back(std::async(std::launch::async, [&road, r, q] {
                ImageSet bend;
                for (int b = 0; b <= r; ++b)
                    for (int a = 0; a <= r; ++a)
                        if (ClassifyBendCell(r, a, b) == BendCell::Tile)
                            bend.push_back({BendTileKind(r, q, a, b) + "1", BendTile(road, r, q, a, b), false});
                return bend;
            }));
    ImageSet set;
    for (auto& job : jobs)
        for (Image& image : job.get()) set.push_back(std::move(image));
    return set;
}

}  // namespace assetgen
