// Ground tiles, lit from the top left like everything else. They hold no
// features that a player would pick out and see repeat (flowers, stones,
// cracks): the decals scattered over them carry those.
#include "grounds.h"

#include <cmath>
#include <cstdint>

#include "shapes.h"
#include "surface.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;
constexpr uint32_t kVersionSeedStep = 1000;   // seeds of a ground's versions lie this far apart

Canvas Sand(uint32_t seed) {
    const Noise n(seed);
    auto height = [&n](float x, float y) {
        const float warp = Fbm(n, x, y, 4, 3) * 2.5f;
        const float ripple = std::sin(2 * kPi * (3 * x + 2 * y) / kCell + warp * kPi);
        return ripple * 1.2f + Fbm(n, x, y, 8, 4) * 3.0f;
    };
    Canvas tile = Ground(
        [&n](float x, float y) {
            const float v = Fbm(n, x + 40, y + 17, 4, 4);
            const float g = Grain(n, x, y);
            return Mix(Hex(0xD9BE84), Hex(0xEDD9A6), v * 0.8f + g * 0.35f - 0.1f);
        },
        height, 0.9f);
    Rng rng(seed + 1);
    for (int i = 0; i < 40; ++i) {
        const Vec2 c{rng.Range(0, kCell), rng.Range(0, kCell)};
        const float r = rng.Range(0.6f, 1.4f);
        FillWrapped(tile, Circle(c, r), rng.Uniform() < 0.5f ? Hex(0xA88A5A, 0.8f) : Hex(0xFFF6DA, 0.8f), Around(c, r));
    }
    return tile;
}

Canvas Grass(uint32_t seed) {
    const Noise n(seed);
    Canvas tile = Ground(
        [&n](float x, float y) {
            const float v = Fbm(n, x, y, 4, 4);
            const float g = Grain(n, x, y);
            return Mix(Hex(0x3F7A2C), Hex(0x6AA542), v * 0.9f + g * 0.3f - 0.15f);
        },
        [&n](float x, float y) { return Fbm(n, x + 60, y + 9, 16, 3) * 4.0f; }, 1.0f);
    Rng rng(seed + 1);
    for (int i = 0; i < 520; ++i) {
        const Vec2 a{rng.Range(0, kCell), rng.Range(0, kCell)};
        const float angle = rng.Range(-35, 35);
        const float len = rng.Range(3, 7);
        const Vec2 b = a + Rotate({0, -len}, angle);
        const Colour c = rng.Uniform() < 0.5f ? Hex(0x2F6522, 0.7f) : Hex(0x84C155, 0.6f);
        FillWrapped(tile, Capsule(a, b, 0.7f, 0.2f), c, Around(a, len + 1));
    }
    return tile;
}

Canvas Snow(uint32_t seed) {
    const Noise n(seed);
    Canvas tile = Ground(
        [&n](float x, float y) {
            const float v = Fbm(n, x, y, 4, 3);
            return Mix(Hex(0xC9D6E8), Hex(0xF4F8FC), 0.35f + v * 0.6f);
        },
        [&n](float x, float y) { return Fbm(n, x, y, 4, 4) * 8.0f; }, 1.0f);
    Rng rng(seed + 1);
    for (int i = 0; i < 60; ++i) {
        const Vec2 c{rng.Range(0, kCell), rng.Range(0, kCell)};
        FillWrapped(tile, Circle(c, 0.6f), Grey(1.0f, 0.9f), Around(c, 2));
    }
    return tile;
}

// Clear ice with white streaks frozen into it; the cracks are decals.
Canvas Ice(uint32_t seed) {
    const Noise n(seed);
    return Ground(
        [&n](float x, float y) {
            const float v = Fbm(n, x, y, 2, 4);
            const float streak = 0.5f + 0.5f * std::sin(2 * kPi * (x + y) / kCell * 2 + v * 4);
            return Mix(Hex(0x9ECFE3), Hex(0xD8F1FA), v * 0.7f + streak * 0.25f);
        },
        [&n](float x, float y) { return Fbm(n, x, y, 4, 2) * 3.0f; }, 0.6f);
}

Canvas Dirt(uint32_t seed) {
    const Noise n(seed);
    Canvas tile = Ground(
        [&n](float x, float y) {
            const float v = Fbm(n, x, y, 4, 4);
            const float g = Grain(n, x, y);
            return Mix(Hex(0x7E5A36), Hex(0xB08656), v * 0.8f + g * 0.3f - 0.05f);
        },
        [&n](float x, float y) { return Fbm(n, x, y, 8, 4) * 6.0f; }, 1.0f);
    Rng rng(seed + 1);
    for (int i = 0; i < 70; ++i) {
        const Vec2 c{rng.Range(0, kCell), rng.Range(0, kCell)};
        const float r = rng.Range(0.8f, 2.2f);
        FillWrapped(tile, Circle(c + Vec2{0.7f, 0.7f}, r), Hex(0x3E2A18, 0.5f), Around(c, r + 2));
        FillWrapped(tile, Circle(c, r), Mix(Hex(0x9B8B78), Hex(0xD2C4AE), rng.Uniform()), Around(c, r + 1));
    }
    return tile;
}

// Concrete slabs in a running bond, mid grey so lamp light still shows on them.
Canvas Pavement(uint32_t seed) {
    const Noise n(seed);
    auto slab = [](float x, float y, float& u, float& v) {
        const int row = static_cast<int>(std::floor(y / 32));
        const float shifted = x + (row % 2 ? 16.0f : 0.0f);
        u = std::fmod(shifted, 32.0f);
        v = std::fmod(y, 32.0f);
        return static_cast<int>(shifted / 32) % 4 + 4 * row;
    };
    return Ground(
        [&n, slab](float x, float y) {
            float u = 0, v = 0;
            const int id = slab(x, y, u, v);
            const float tone = 0.5f + 0.06f * n.At(static_cast<float>(id), 0.5f, 16, 3);
            const float stain = Fbm(n, x, y, 4, 3);
            const Colour base = Mix(Hex(0x8A857C), Hex(0x9E9A92), tone);
            return Scaled(base, 0.86f + 0.12f * stain + 0.08f * Grain(n, x, y) + 0.2f * Aggregate(n, x, y));
        },
        [slab](float x, float y) {
            // Each slab rounds down into narrow joints.
            float u = 0, v = 0;
            slab(x, y, u, v);
            const float edge = std::max(std::fabs(u - 16.0f), std::fabs(v - 16.0f));
            return -2.0f * SmoothStep(14.5f, 16.0f, edge);
        },
        1.0f);
}

Canvas Water(uint32_t seed) {
    const Noise n(seed);
    Canvas tile(kCell, kCell);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const float fx = x + 0.5f, fy = y + 0.5f;
            const float v = Fbm(n, fx, fy, 2, 4);
            const float wave = 0.5f + 0.5f * std::sin(2 * kPi * (2 * fx + 3 * fy) / kCell + v * 6);
            // Caustic web: bright where two noise layers cross their middle.
            const float c1 = std::fabs(Fbm(n, fx + 31, fy, 4, 3) - 0.5f);
            const float c2 = std::fabs(Fbm(n, fx, fy + 53, 4, 3) - 0.5f);
            const float caustic = 1.0f - SmoothStep(0.0f, 0.06f, std::min(c1, c2));
            // Shallow, clear water: turquoise over a light bottom.
            Colour c = Mix(Hex(0x1C7DA6), Hex(0x38AFC6), v * 0.8f + wave * 0.3f);
            c = Mix(c, Hex(0xB6F0F4), caustic * 0.5f);
            tile.Set(x, y, c);
        }
    return tile;
}

Canvas AsphaltGround(uint32_t seed) { return Asphalt(seed, Hex(0x35353A), Hex(0x4C4C52)); }

}  // namespace

Canvas PaintGround(const std::string& kind, int version) {
    // Slabs and waves keep their lines.
    const struct {
        const char* kind;
        Canvas (*paint)(uint32_t seed);
        uint32_t seed;
        bool even_out;
    } grounds[] = {{"lnd_sand", Sand, 101, true},
                   {"lnd_grass", Grass, 111, true},
                   {"lnd_snow", Snow, 121, true},
                   {"lnd_ice", Ice, 131, true},
                   {"lnd_asphalt", AsphaltGround, 181, true},
                   {"lnd_dirt", Dirt, 151, true},
                   {"lnd_pavement", Pavement, 161, false},
                   {"lnd_water", Water, 171, false}};
    for (const auto& g : grounds) {
        if (kind != g.kind) continue;
        Canvas tile = g.paint(g.seed + kVersionSeedStep * static_cast<uint32_t>(version));
        if (g.even_out) EvenOut(tile);
        return tile;
    }
    return {};
}

}  // namespace assetgen
