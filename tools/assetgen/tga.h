// tga.h: 32-bit TGA output of a canvas.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster.h"

namespace assetgen {

// Uncompressed 32-bit BGRA with the top-left origin bit set. Fully
// transparent pixels near a visible one take its neighbours' colour,
// so filtering at a sprite's edge never pulls in a dark fringe.
std::vector<uint8_t> EncodeTga(const Canvas& canvas);

// Writes bytes to a file; false when the file cannot be written.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace assetgen
