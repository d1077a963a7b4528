// voices.h: applying a channel's state to its pair of voices.
#pragma once

#include <cstdint>

#include "music/song.h"

// After each row or tick update of channel `index`: adds the auto-vibrato,
// starts the sample on a trigger (cross-fading from the voice still sounding
// to the other voice of the pair), and sets the current voice's gains from
// volume, envelopes, fade-out, global volume and panning, and its step from
// the period.
void Voice_Update(TSong& song, int32_t index);
