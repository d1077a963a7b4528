// mixer.h: adding the song's voices into the stereo accumulation buffer.
#pragma once

#include <cstdint>

#include "music/song.h"

// Adds `frames` frames of one voice into `out` (left then right per frame):
// linear interpolation between sample values, forward and ping-pong loops,
// and a 139-frame linear ramp whenever the voice's target gains change. The
// frames up to the next loop turn, sample end or ramp end are counted first,
// so each run is mixed without a boundary test, four frames side by side. A
// voice that reaches the end of an unlooped sample, or a faded-out voice left
// behind by a retrigger, lets go of its sample.
void Mixer_MixVoice(TVoice& voice, float* out, int32_t frames);

// Adds `frames` frames of every voice of the song holding a sample.
void Mixer_Mix(TSong& song, float* out, int32_t frames);
