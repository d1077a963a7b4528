// roadside.h: what lines the road: barrier rows along the outside of the
// bends and between stretches of road that run side by side, the theme's
// critters behind the barriers, and street lamps that light the whole road.
#pragma once

#include "noise.h"
#include "placement.h"

namespace assetgen {

// Barrier blocks turned along the outside of every bend, the theme's
// critters gathered behind every other one.
void PlaceBendBarriers(Placement& place, const Theme& theme, Rng& rng);
// A row of barriers down the middle of every strip of ground narrower than
// kSeparatedGap between two stretches of road, so no car cuts across.
void PlaceSeparators(Placement& place);
// Lamps along the road at the theme's spacing, then more wherever a piece of
// road would still lie in the dark.
void PlaceLamps(Placement& place, const Theme& theme);

}  // namespace assetgen
