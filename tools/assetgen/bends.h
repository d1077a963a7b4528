// bends.h: the road's quarter-circle bends on the 128 px tile grid. A bend of
// radius r (in cells, along its centre line) joins two straights of the
// two-cell-wide road; it covers the (r + 1) x (r + 1) cells of one quadrant
// around its centre, counted a (along x) and b (along y) outwards from it.
#pragma once

#include <string>

#include "catalog.h"

namespace assetgen {

constexpr int kCell = 128;                  // ground and road tile size
constexpr int kBendRadii[] = {4, 6};        // the bends there are tiles for

// Where the arc lies as seen from its centre.
enum class Quadrant { NE, NW, SE, SW };

// What a cell of a bend holds: nothing, plain road, or a tile of its own.
enum class BendCell { Ground, Road, Tile };

BendCell ClassifyBendCell(int r, int a, int b);
// "lnd_arc4_ne_1_2": the tile kind of a cell classified as Tile.
std::string BendTileKind(int r, Quadrant q, int a, int b);
// Every bend tile for every radius and quadrant, built on the road tile of
// `objects` so a bend continues the straights' asphalt and kerbs.
ImageSet MakeBendTiles(const ImageSet& objects);

}  // namespace assetgen
