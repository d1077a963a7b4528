// colour.h: the colours and blend modes drawing works with.
#pragma once

#include <cstdint>

namespace oe {

struct Colour {
    uint8_t r = 255, g = 255, b = 255, a = 255;
    bool operator==(const Colour&) const = default;
};

enum class Blend { Normal, Add };   // alpha blending; additive glow

}  // namespace oe
