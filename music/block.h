// block.h: the player's output block: 1024 stereo frames rendered in floats
// and converted to 16-bit samples at the output volume.
#pragma once

#include <cstdint>

constexpr int kBlockFrames = 1024;
constexpr int32_t kFullVolumeDivisor = 16;

// Converts kBlockFrames accumulated frames (left then right) to 16-bit samples:
// each value is rounded to the nearest integer (halves to even), clamped to
// -32768..32767,
// multiplied by 16 and divided by `divisor` (truncating toward zero; 16 is
// full volume, 1 or more). Returns the block's level: the mean absolute left
// sample in the high 16 bits, the mean absolute right sample in the low 16.
uint32_t Block_Convert(const float* acc, int16_t* out, int32_t divisor);
