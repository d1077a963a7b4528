// surface.h: painting the 128 px land tiles. Every noise and every stroke
// wraps around the tile's edges, so a tile repeats without a seam.
#pragma once

#include <functional>

#include "noise.h"
#include "raster.h"

namespace assetgen {

constexpr int kCell = 128;   // ground and road tile size

using Surface = std::function<float(float x, float y)>;   // height at a tile pixel

// Colour per pixel, darkened and lit by the slopes of a bump height field.
Canvas Ground(const std::function<Colour(float x, float y)>& albedo, const Surface& bumps, float relief);

// Fills a shape as if the tile repeated: copies shifted by a tile each way.
void FillWrapped(Canvas& tile, const Field& shape, Colour colour, Bounds near);

// Takes out of the tile what makes one row or one column brighter than the
// rest on average: where tiles of a ground meet, their edges then show no
// lines of light or shade along the grid.
void EvenOut(Canvas& tile);

// Fractal noise over the tile, `cells` lattice cells across, 0..1.
float Fbm(const Noise& n, float x, float y, int cells, int octaves);
// Fine grain, about two pixels across, that repeats with the tile.
float Grain(const Noise& n, float x, float y);
// Stone chips one pixel across: a few light, a few dark, the rest binder (0).
float Aggregate(const Noise& n, float x, float y);
// Asphalt seen from above: chips and broad, faint tone changes between two colours.
Canvas Asphalt(uint32_t seed, Colour dark, Colour light);

}  // namespace assetgen
