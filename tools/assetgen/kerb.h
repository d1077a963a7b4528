// kerb.h: the band along the road's edges, where the road meets the ground,
// and the red and white kerb the plain road paints there.
#pragma once

#include <functional>

#include "raster.h"
#include "shading.h"

namespace assetgen {

constexpr float kKerb = 14;   // width of the kerb band in pixels; no edge paints deeper than a pixel past it

// True where a point lies in or near a band along an edge, giving its depth
// into the road from the edge and its position along the edge. Wherever two
// pieces of road meet, `along` is a multiple of 128 on both sides, and it may
// run either way from there: a pattern along the edge joins across every
// piece when it repeats every 128 px (or a divisor of that) and reads the
// same both ways from 0.
using EdgeBand = std::function<bool(Vec2 p, float& depth, float& along)>;

// Paints a road's edge into a tile along a band.
using EdgePainter = std::function<void(Canvas& tile, const EdgeBand& band)>;

// A kerb with a rounded top, striped red and white every 16 px.
void PaintKerb(Canvas& tile, const EdgeBand& band);

// A raised strip along a band, described by its depth and position along
// it: where it lies (negative inside), how high it stands and what it is
// made of. Lit like every relief, anti-aliased by its outline's distance;
// it colours the road under it and leaves the road's outline as it is.
struct BandRelief {
    std::function<float(float depth, float along)> outline;
    std::function<float(float depth, float along)> height;
    std::function<Material(float depth, float along)> material;
};
void DrawBandRelief(Canvas& tile, const EdgeBand& band, const BandRelief& relief);

}  // namespace assetgen
