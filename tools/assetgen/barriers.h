// barriers.h: the track limit barrier, a red and white plastic block seen
// from above and a little from the front, drawn with its long side along
// any direction so a row of them can follow a curve.
#pragma once

#include "raster.h"

namespace assetgen {

// The block turned so its long side runs along `degrees` (0 along x, 90 along
// y, as seen on screen). The picture fits tightly round the block and its
// contact shadow; the block's footprint is centred across the picture.
Canvas BarrierBlock(float degrees);

}  // namespace assetgen
