// road_styles.h: the looks of the themed roads, each a surface tile and a
// way of painting the road's edge; the road pieces and bends are built from
// them as the plain road's are from tarmac and its kerb.
#pragma once

#include "kerb.h"

namespace assetgen {

struct RoadLook {
    Canvas surface;
    EdgePainter edge;
};

// Tarmac the wind has dusted with sand, for the beach; the plain road.
Canvas SandBlownTarmac();
// Dark forest tarmac strewn with fallen leaves, kerbed in red and white.
RoadLook ForestRoad();
// Pale packed ice, edged by banks of snow instead of a kerb.
RoadLook IcyRoad();
// Dark city asphalt, edged by grey kerbstones with a white line beside them.
RoadLook CityRoad();

}  // namespace assetgen
