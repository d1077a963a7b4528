#include "kerb.h"

#include <algorithm>
#include <cmath>

#include "shading.h"

namespace assetgen {

namespace {

Colour KerbColour(float along) {
    return std::fmod(along + 1024.0f, 32.0f) < 16.0f ? Hex(0xD02A26) : Hex(0xF1F1EC);
}

}  // namespace

void PaintKerb(Canvas& tile, const std::function<bool(Vec2, float&, float&)>& band) {
    Relief kerb;
    kerb.outline = [&band](Vec2 p) {
        float depth = 0, along = 0;
        if (!band(p, depth, along)) return 1.0f;
        return std::max(-depth, depth - kKerb);
    };
    kerb.height = [&band](Vec2 p) {
        float depth = 0, along = 0;
        if (!band(p, depth, along)) return 0.0f;
        const float t = depth / kKerb;
        return 3.0f * std::sqrt(std::max(0.0f, 1.0f - (2 * t - 1) * (2 * t - 1)));
    };
    kerb.material = [&band](Vec2 p) {
        float depth = 0, along = 0;
        band(p, depth, along);
        return Material{KerbColour(along), 0.55f, 0.5f, 0.15f, 12.0f};
    };
    DrawRelief(tile, kerb);
}

}  // namespace assetgen
