// font.h: the game's bitmap font, an atlas TGA and its metrics file.
#pragma once

#include <string>

#include "raster.h"
#include "text.h"

namespace assetgen {

constexpr int kFontLineHeight = 32;
constexpr int kFontPixelSize = 22;

struct BitmapFont {
    Canvas atlas;
    std::string metrics;  // the "font.ofi" text
};

// Rasterises code points 32..126 and 160..255 into the smallest power-of-two
// atlas that holds them.
BitmapFont BuildBitmapFont(const Typeface& face);

}  // namespace assetgen
