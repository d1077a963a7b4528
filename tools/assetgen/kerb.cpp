#include "kerb.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// A white stripe is centred on every multiple of 32, so the stripes run on
// unbroken where two pieces meet; the colours blend over a pixel between.
Colour KerbColour(float along) {
    const float from_white = std::fabs(std::fmod(along + 1024.0f, 32.0f) - 16.0f);
    return Mix(Hex(0xD02A26), Hex(0xF1F1EC), SmoothStep(7.5f, 8.5f, from_white));
}

}  // namespace

void PaintKerb(Canvas& tile, const EdgeBand& band) {
    DrawBandRelief(tile, band,
                   {[](float depth, float) { return std::max(-depth, depth - kKerb); },
                    [](float depth, float) {
                        const float t = depth / kKerb;
                        return 3.0f * std::sqrt(std::max(0.0f, 1.0f - (2 * t - 1) * (2 * t - 1)));
                    },
                    [](float, float along) { return Material{KerbColour(along), 0.55f, 0.5f, 0.15f, 12.0f}; }});
}

void DrawBandRelief(Canvas& tile, const EdgeBand& band, const BandRelief& relief) {
    auto height = [&](Vec2 p) {
        float depth = 0, along = 0;
        return band(p, depth, along) ? relief.height(depth, along) : 0.0f;
    };
    for (int y = 0; y < tile.Height(); ++y)
        for (int x = 0; x < tile.Width(); ++x) {
            const Vec2 p{x + 0.5f, y + 0.5f};
            float depth = 0, along = 0;
            if (!band(p, depth, along)) continue;
            const float cover = Clamp01(0.5f - relief.outline(depth, along));
            if (cover <= 0) continue;
            const float hx = height({p.x + 0.5f, p.y}) - height({p.x - 0.5f, p.y});
            const float hy = height({p.x, p.y + 0.5f}) - height({p.x, p.y - 0.5f});
            // The strip is part of the road: it colours the tile, whose own alpha
            // already draws the road's outline.
            const Colour under = tile.Get(x, y);
            const Colour strip = Shade(relief.material(depth, along), Normalised({-hx, -hy, 1}));
            tile.Set(x, y, WithAlpha(Mix(under, strip, cover), under.a));
        }
}

}  // namespace assetgen
