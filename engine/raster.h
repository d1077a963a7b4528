// raster.h: textured drawing straight into rows of 32-bit ARGB pixels, by the
// software renderer's own rules, so the pixels match what SDL draws:
// - a rectangle on the screen's axes takes, for each pixel, the nearest texel
//   to the pixel's centre, as SDL's scaled blits step through the texture;
// - a triangle covers the pixels whose centres lie inside it (top-left rule),
//   its corners on whole pixels, and takes each pixel's texel and colour from
//   exact barycentric weights, as SDL's triangle rasteriser does;
// - each texel is multiplied by its colour and blended over what is below in
//   whole levels, divisions by 255 rounded down, as SDL's blitters do.
// Rows are worked as spans: the texels are gathered first, then coloured and
// blended by the span loops (engine/blend_span.h).
#pragma once

#include <array>
#include <cstdint>

#include "engine/colour.h"

namespace oe {

struct PixelTarget {
    uint32_t* pixels = nullptr;
    int pitch = 0;   // words from one row to the next
    int width = 0, height = 0;
};

struct Texels {
    const uint32_t* argb = nullptr;   // rows from the top, `width` words each
    int width = 0, height = 0;
    bool opaque = false;              // every texel at alpha 255
};

struct IntRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// The part `src` of the texture stretched over `dst` (clipped to the target)
// in one colour. Empty or inverted rectangles draw nothing; `src` must lie
// within the texture.
void Raster_Stretch(const PixelTarget& target, const Texels& texels, IntRect src, IntRect dst, Colour colour,
                    Blend blend);

// A corner of a triangle: its pixel, the texel it shows and its colour.
struct RasterVertex {
    int x = 0, y = 0;
    int u = 0, v = 0;
    Colour colour;
};

// One textured triangle, clipped to the target. Texel coordinates must lie
// within the texture; those on its far edges are taken one texel in, as SDL does.
void Raster_Triangle(const PixelTarget& target, const Texels& texels, std::array<RasterVertex, 3> corners,
                     Blend blend);

}  // namespace oe
