// image.h: TGA and JPG files decoded into RGBA pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace oe {

// Pixels in rows from the top, four bytes each: red, green, blue, alpha.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    bool Empty() const { return width <= 0 || height <= 0; }
};

constexpr uint32_t kNoColourKey = 0xFFFFFFFFu;   // colour key -1: keep every pixel
constexpr int kMaxImageSide = 8192;              // larger images are refused

// Decodes a TGA or a baseline/progressive JPG held in memory. A colour key other
// than kNoColourKey makes every pixel of that 0xRRGGBB colour fully transparent.
// Truncated, corrupt, empty or oversized data gives an empty image.
Image Image_Decode(const uint8_t* data, size_t size, uint32_t colour_key);

}  // namespace oe
