// blend_span.h: the pixel loops under the software canvas. A run of 32-bit
// ARGB texels is multiplied by a colour and blended over a row of the target
// in whole levels, divisions by 255 rounded down, as SDL's blitters do:
//   alpha = texel alpha * colour alpha / 255
//   over  = (texel * colour / 255) * alpha / 255
//   Normal: over + below * (255 - alpha) / 255      Add: min(over + below, 255)
// With SSE2 (every x86-64 processor) four pixels are worked at a time, each
// pixel's channels side by side in 16-bit lanes, as every product of two
// levels fits in 16 bits; elsewhere pixel by pixel. Transparent texels leave
// what is below untouched (its alpha too); groups of opaque texels under an
// opaque colour, blended normally, skip the blend.
#pragma once

#include <array>
#include <cstdint>

#include "engine/colour.h"

namespace oe {

// `count` texels times one colour over `out`. `opaque`: every texel is at alpha 255.
void BlendSpan(const uint32_t* texels, uint32_t* out, int count, Colour colour, Blend blend, bool opaque);

// `count` texels, each times its own colour (0xAARRGGBB words), over `out`.
void BlendSpanColours(const uint32_t* texels, const uint32_t* colours, uint32_t* out, int count, Blend blend);

// `count` colours (0xAARRGGBB) whose channels (r, g, b, a in 16.16 fixed
// point) step evenly from pixel to pixel, each staying within 0 to 255 levels.
void StepColours(uint32_t* colours, int count, std::array<int32_t, 4> value, const std::array<int32_t, 4>& step);

}  // namespace oe
