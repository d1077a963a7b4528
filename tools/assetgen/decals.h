// decals.h: small land pictures, clear around, that lie over the road or the
// ground to break the repetition of the tiles: sand blown onto the road,
// leaves, snow, stains and covers; flowers, shells, footprints, cracks.
#pragma once

#include <string>
#include <vector>

#include "catalog.h"

namespace assetgen {

// The decals laid on a road style ("beach") or on a ground kind ("lnd_grass");
// empty for anything else.
const std::vector<std::string>& DecalsOn(const std::string& style_or_ground);

// Every decal picture.
ImageSet MakeDecals();

}  // namespace assetgen
