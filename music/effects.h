// effects.h: the volume column and the effect commands of one channel, on the
// row tick and on the ticks after it, with their memories.
#pragma once

#include <cstdint>

#include "music/song.h"

// The value of vibrato and tremolo waveform `type` (0 sine, 1 ramp, 2 and 3
// square) at position 0..63, within -127..127.
int32_t Effects_Waveform(int32_t type, int32_t position);

// The volume column on the row tick and on later ticks.
void Effects_VolumeColumnRow(TChannel& ch, uint8_t v);
void Effects_VolumeColumnTick(TChannel& ch, uint8_t v);

// The effect of `cell` on channel `index` on the row tick; a parameter of 0
// takes the effect's memory wherever it has one. Position jumps, breaks,
// loops, speed, tempo and global volume change the song.
void Effects_Row(TSong& song, int32_t index, const TCell& cell);

// The effect of `cell` on channel `index` on a later tick (the song's tick
// counter above 0).
void Effects_Tick(TSong& song, int32_t index, const TCell& cell);
