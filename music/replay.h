// replay.h: rendering a loaded song tick by tick.
#pragma once

#include <cstdint>

#include "music/song.h"

// Adds `frames` stereo frames of the song (left then right, single-precision)
// into `out` and advances the song time. Runs a tick whenever the current one
// is used up: on the row tick every channel reads its cell, on the others the
// effects go on. At the end of the order list the song continues at the
// restart position, or, with song.no_loop set, ends once its last row has
// played: the frames after the end are left untouched, song.ended is set and
// the result is the number of frames rendered (less than `frames`).
int32_t Song_Render(TSong& song, float* out, int32_t frames);
