// ground_variants.h: tiles of one ground that differ from each other and
// still join without a seam however the tracks lay them.
//
// A variant blends versions of the ground (grounds.h) with weights that fall
// smoothly to nothing. On most grounds the weights belong to the grid's
// corners, each corner showing one of two versions chosen by a hash of its
// position: the tiles meeting at a corner all show there what the corner
// shows, and a tile's edge shows only its two corners' versions, so
// neighbours agree all along the edge and nothing repeats on the grid. Each
// of those tiles also has a middle of its own, a version read shifted. The
// smaller grounds take a cheaper way: a version of the tile's own in its
// middle, the ground's own tile along its edges. The blend keeps the
// ground's contrast where versions mix, so a tile's middle looks no flatter
// than its corners.
#pragma once

#include <string>

#include "catalog.h"

namespace assetgen {

// The tile kind for cell (i, j) of a ground: the ground's own kind or one of
// its variants ("lnd_grass_b" ...). Any other kind comes back unchanged.
std::string GroundVariantKind(const std::string& ground, int i, int j);

// Every variant of every varied ground, blending the grounds' own tiles in
// `objects` with their other versions.
ImageSet MakeGroundVariants(const ImageSet& objects);

}  // namespace assetgen
