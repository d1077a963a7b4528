// track_preview.h: the track about to be raced, drawn over the tournament and
// free race screens' picture of its group: its road seen from above, where the
// start is, and its name.
#pragma once

#include <string>

// Track `track` ("beach1", its map "wld\beach1.wld") in the box at (x, y) of
// size w by h; the map is read again only when the track changes. A track
// whose map cannot be read shows its name alone.
void DrawTrackPreview(const std::string& track, float x, float y, float w, float h);
