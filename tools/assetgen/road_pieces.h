// road_pieces.h: the straight pieces of a road on the 128 px grid, from its
// surface tile and the way its edge is painted: edges along one side
// ("_edge_n|e|s|w"), outer corners where two edges meet in a curve
// ("_edge_ne|nw|se|sw") and inner corners ("_inner_ne|nw|se|sw").
#pragma once

#include <string>

#include "catalog.h"
#include "kerb.h"

namespace assetgen {

// The edge and inner-corner pieces of a road, named `prefix` + "edge_n" and
// so on ("lnd_" + "edge_n", "lnd_icy_" + "edge_n"), listed for the editor.
ImageSet MakeRoadEdges(const std::string& prefix, const Canvas& surface, const EdgePainter& edge);

}  // namespace assetgen
