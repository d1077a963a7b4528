// wav.h: 16-bit PCM mono WAV output.
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

// Samples in -1..1 (clipped beyond), written as a canonical RIFF/WAVE file.
std::vector<uint8_t> EncodeWav(const std::vector<float>& samples, int rate);

}  // namespace assetgen
