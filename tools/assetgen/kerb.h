// kerb.h: the red and white kerb along the road's edges, shared by the
// straight edge tiles and the bends.
#pragma once

#include <functional>

#include "raster.h"

namespace assetgen {

constexpr float kKerb = 14;   // width of the kerb band in pixels

// Paints a kerb band with a rounded top where `band(p, depth, along)` returns
// true, giving the distance into the band (0..kKerb) and the position along
// it (the stripes are 16 px each).
void PaintKerb(Canvas& tile, const std::function<bool(Vec2, float&, float&)>& band);

}  // namespace assetgen
