#include "road_styles.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "shading.h"
#include "shapes.h"
#include "surface.h"

namespace assetgen {

namespace {

// Noise along an edge, looked up in a table, 0..1: it repeats every 128 px
// and reads the same both ways from 0, as kerb.h asks. `size` px to a
// lattice cell, a divisor of 128.
class AlongNoise {
public:
    AlongNoise(uint32_t seed, float size) {
        const Noise n(seed);
        const int period = static_cast<int>(kCell / size);
        for (size_t i = 0; i < values_.size(); ++i) {
            const float along = static_cast<float>(i) / kSteps;
            values_[i] = 0.5f * (n.At(along / size, 0.5f, period) + n.At(-along / size, 0.5f, period));
        }
    }

    float operator()(float along) const {
        const float at = std::fmod(along + 1024 * kCell, static_cast<float>(kCell)) * kSteps;
        const size_t i = static_cast<size_t>(at);
        const float t = at - static_cast<float>(i);
        return values_[i % values_.size()] * (1 - t) + values_[(i + 1) % values_.size()] * t;
    }

    // Varied across the edge too, `across` px each way, still the same both ways from 0.
    float operator()(float along, float across) const {
        return 0.5f * ((*this)(along + across) + (*this)(along - across));
    }

private:
    static constexpr int kSteps = 4;   // per pixel
    std::array<float, kCell * kSteps> values_{};
};

// Packed snow polished to ice by the tyres: broad, faint tone changes, fine
// frost and a few scratches, nothing that stands out where the tile repeats.
Canvas IceSurface() {
    const Noise n(611);
    Canvas tile = Ground(
        [&n](float x, float y) {
            const float v = Fbm(n, x, y, 4, 3), polish = Fbm(n, x + 50, y + 20, 8, 2);
            return Mix(Hex(0xA3B5C4), Hex(0xCDDAE4), Clamp01(0.2f + v * 0.5f - polish * 0.2f + Grain(n, x, y) * 0.3f));
        },
        [&n](float x, float y) { return Grain(n, x, y) * 0.3f; }, 0.8f);
    Rng rng(612);
    for (int i = 0; i < 26; ++i) {
        const Vec2 a{rng.Range(0, kCell), rng.Range(0, kCell)};
        const float len = rng.Range(6, 16);
        const Vec2 b = a + Rotate({len, 0}, rng.Range(0, 360));
        FillWrapped(tile, Line(a, b, 0.5f), Hex(0xF4F8FB, 0.3f), Around(a, len + 2));
    }
    return tile;
}

// A bank of snow ploughed onto the edge: highest at the edge, sloping into
// the road to a wavy foot that throws a faint blue shadow.
void PaintSnowBank(Canvas& tile, const EdgeBand& band) {
    const AlongNoise wave(621, 16), ripple(623, 8), lumps(622, 4);
    auto foot = [&](float along) { return 7.5f + 3.5f * wave(along) + 2.5f * ripple(along); };
    Wash(tile, [&](Vec2 p) {
        float depth = 0, along = 0;
        if (!band(p, depth, along)) return Colour{};
        const float f = foot(along);
        return Hex(0x4E6A86, 0.4f * SmoothStep(f - 1, f + 0.5f, depth) * (1 - SmoothStep(f + 0.5f, f + 2, depth)));
    });
    DrawBandRelief(tile, band,
                   {[&](float depth, float along) { return std::max(-depth, depth - foot(along)); },
                    [&](float depth, float along) {
                        const float t = Clamp01(depth / foot(along));
                        return 5.0f * std::sqrt(1 - t * t) + 2.0f * lumps(along) * (1 - t);
                    },
                    [](float, float) {
                        return Material{Hex(0xF6F9FC), 0.62f, 0.45f, 0.1f, 10};
                    }});
}

constexpr float kStone = 8;     // kerbstone width
constexpr float kJoints = 32;   // kerbstone length

// Grey kerbstones, each of its own tone, then a dark gutter and a worn white line.
void PaintKerbstones(Canvas& tile, const EdgeBand& band) {
    const AlongNoise wear(631, 2), speckle(632, 1);
    Wash(tile, [&](Vec2 p) {
        float depth = 0, along = 0;
        if (!band(p, depth, along)) return Colour{};
        const float line = Clamp01(std::min(depth - 10.5f, 13.5f - depth) + 0.5f);
        if (line > 0) return Hex(0xE6E6DF, line * (0.7f + 0.25f * wear(along, depth * 37)));
        const float gutter = SmoothStep(kStone - 0.5f, kStone + 0.5f, depth) * (1 - SmoothStep(9.5f, 10.5f, depth));
        return Hex(0x202024, 0.45f * gutter);
    });
    // Distance along the edge to the nearest joint.
    auto joint = [](float along) { return std::fabs(std::fmod(along + 1024 + kJoints / 2, kJoints) - kJoints / 2); };
    DrawBandRelief(tile, band,
                   {[](float depth, float) { return std::max(-depth, depth - kStone); },
                    [&](float depth, float along) {
                        const float rounded =
                            3.0f * std::sqrt(std::max(0.0f, 1 - std::pow(SmoothStep(4.5f, kStone, depth), 2.0f)));
                        return rounded - 1.5f * (1 - SmoothStep(0.3f, 1.3f, joint(along)));
                    },
                    [&](float depth, float along) {
                        // Stones k and -1 - k mirror each other, so every fourth stone repeats: A B B A.
                        const int k = static_cast<int>(std::floor((along + 1024) / kJoints)) % 4;
                        const float tone = (k == 0 || k == 3) ? 0.0f : 0.06f;
                        const float grain = speckle(along, depth * 53) - 0.5f;
                        const Colour granite = Mix(Hex(0x9D9C96), Hex(0xBDBCB6), 0.4f + tone + 0.5f * grain);
                        return Material{Scaled(granite, joint(along) < 0.8f ? 0.7f : 1.0f), 0.5f, 0.6f, 0.05f, 8};
                    }});
}

// A dusting of blown sand over tarmac: fine streaks and grains, nothing large
// enough to show where the tile repeats (the drifts are decals).
Canvas SandDusted(Canvas tile, uint32_t seed) {
    const Noise n(seed);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const float fx = x + 0.5f, fy = y + 0.5f;
            const float dust = SmoothStep(0.45f, 0.8f, Fbm(n, fx, fy, 16, 2)) * (0.5f + 0.5f * Grain(n, fx, fy));
            tile.Set(x, y, Mix(tile.Get(x, y), Hex(0xD3BC8C), dust * 0.35f));
        }
    EvenOut(tile);
    return tile;
}

// Small leaves in autumn colours, each turned its own way.
Canvas LeafStrewn(Canvas tile, uint32_t seed) {
    Rng rng(seed);
    const Colour colours[] = {Hex(0x8A5A22, 0.75f), Hex(0xA8702A, 0.7f), Hex(0x6B4A1E, 0.75f), Hex(0x7F7A2C, 0.6f)};
    for (int i = 0; i < 45; ++i) {
        const Vec2 c{rng.Range(0, kCell), rng.Range(0, kCell)};
        const float len = rng.Range(2.0f, 3.6f);
        FillWrapped(tile, Box(c, len, len * 0.5f, len * 0.45f, rng.Range(0, 180)), colours[rng.Below(4)],
                    Around(c, len + 2));
    }
    return tile;
}

}  // namespace

Canvas SandBlownTarmac() { return SandDusted(Asphalt(141, Hex(0x55534F), Hex(0x73706A)), 651); }

RoadLook ForestRoad() { return {LeafStrewn(Asphalt(661, Hex(0x2F302C), Hex(0x484841)), 662), PaintKerb}; }

RoadLook IcyRoad() { return {IceSurface(), PaintSnowBank}; }

RoadLook CityRoad() { return {Asphalt(641, Hex(0x3D3D43), Hex(0x5A5A61)), PaintKerbstones}; }

}  // namespace assetgen
