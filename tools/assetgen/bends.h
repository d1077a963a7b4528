// bends.h: the road's quarter-circle bends on the 128 px tile grid. A bend of
// radius r (in cells, along its centre line) joins two straights of the
// two-cell-wide road; it covers the (r + 1) x (r + 1) cells of one quadrant
// around its centre, counted a (along x) and b (along y) outwards from it.
#pragma once

#include <span>
#include <string>

#include "catalog.h"
#include "kerb.h"
#include "surface.h"

namespace assetgen {

constexpr int kBendRadii[] = {2, 4, 6};   // the bends there are tiles for

// Where the arc lies as seen from its centre.
enum class Quadrant { NE, NW, SE, SW };

// What a cell of a bend holds: nothing, plain road, or a tile of its own.
enum class BendCell { Ground, Road, Tile };

BendCell ClassifyBendCell(int r, int a, int b);
// "lnd_arc4_ne_1_2": the tile kind of a cell classified as Tile.
std::string BendTileKind(int r, Quadrant q, int a, int b);
// Every bend tile for the given radii and every quadrant of a road, named
// `prefix` + the kind without its "lnd_" ("lnd_icy_" + "arc4_ne_1_2"): the
// road's surface between the circles, its edge painted along both, so a bend
// continues the straights of the same surface and edge.
ImageSet MakeBendTiles(const std::string& prefix, const Canvas& surface, const EdgePainter& edge,
                       std::span<const int> radii);

}  // namespace assetgen
