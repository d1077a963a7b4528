// theme_art.h: the pictures that dress a track per theme: each theme's road
// (surface, kerbs and bends), ground tiles in variants that tile with each
// other, small decals laid over road and ground, and barrier blocks turned to
// follow a curve.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "catalog.h"

namespace assetgen {

// The road styles, one per theme.
constexpr const char* kRoadStyles[] = {"beach", "forest", "icy", "city"};

// The kind of a road piece in a style: the course lays the plain pieces
// ("lnd_road", "lnd_edge_n", "lnd_arc4_ne_1_2", ...), a style renames them
// ("lnd_icy_road", ...). A style without pieces of its own, and any kind
// that is not a road piece, keep the plain kind.
std::string StyledRoadKind(const std::string& style, const std::string& kind);

// The bend radii a style has tiles for (the plain road has all of kBendRadii).
std::span<const int> StyleBendRadii(const std::string& style);

// The ground tile for cell (i, j) of a ground kind ("lnd_grass"): one of the
// ground's variants, chosen so that neighbouring tiles always join without a
// seam and no regular lattice shows. Deterministic.
std::string GroundVariantAt(const std::string& ground, int i, int j);

// Decals: land pictures smaller than a cell, laid over the road of a style
// or over a ground kind. Empty when there are none.
const std::vector<std::string>& RoadDecals(const std::string& style);
const std::vector<std::string>& GroundDecals(const std::string& ground);

// The barrier block whose long side runs along `degrees` (0 along x, 90 along
// y; any angle, taken modulo 180).
std::string BarrierKind(float degrees);

// Every picture named above but the plain pieces and "limit", built on the
// plain tiles of `objects`; the styles' straight pieces are listed for the
// editor.
ImageSet MakeThemeArt(const ImageSet& objects);

}  // namespace assetgen
