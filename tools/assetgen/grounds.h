// grounds.h: the ground tiles the tracks lie on, each 128 x 128 and seamless.
// A ground can be painted in versions: the same look from other noise and
// other strokes, which the ground variants blend into tiles of their own.
#pragma once

#include <string>

#include "raster.h"

namespace assetgen {

// "lnd_sand", "lnd_grass", "lnd_snow", "lnd_ice", "lnd_asphalt", "lnd_dirt",
// "lnd_pavement" or "lnd_water"; version 0 is the kind's own tile. An empty
// canvas for any other kind.
Canvas PaintGround(const std::string& kind, int version);

}  // namespace assetgen
