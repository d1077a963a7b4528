// Ground tiles: 128 x 128, seamless where they tile (every noise and every
// stroke wraps around the edges), lit from the top left like everything else.
#include <cmath>
#include <functional>

#include "catalog.h"
#include "kerb.h"
#include "noise.h"
#include "shading.h"
#include "shapes.h"

namespace assetgen {

namespace {

constexpr int kTile = 128;
constexpr float kPi = 3.14159265f;

using Surface = std::function<float(float x, float y)>;  // height at a tile pixel

// Colour per pixel, darkened and lit by the slopes of a bump height field.
Canvas Ground(const std::function<Colour(float x, float y)>& albedo, const Surface& bumps,
              float relief) {
    Canvas tile(kTile, kTile);
    const Vec3 l = LightDirection();
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const float fx = x + 0.5f, fy = y + 0.5f;
            const float hx = bumps(fx + 1, fy) - bumps(fx - 1, fy);
            const float hy = bumps(fx, fy + 1) - bumps(fx, fy - 1);
            const Vec3 n = Normalised({-hx * relief * 0.5f, -hy * relief * 0.5f, 1.0f});
            const float light = (n.x * l.x + n.y * l.y + n.z * l.z) / l.z;
            tile.Set(x, y, WithAlpha(Scaled(albedo(fx, fy), light), 1.0f));
        }
    return tile;
}

// Fills a shape as if the tile repeated: copies shifted by a tile each way.
void FillWrapped(Canvas& tile, const Field& shape, Colour colour, Bounds near) {
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            const Vec2 shift{static_cast<float>(ox * kTile), static_cast<float>(oy * kTile)};
            const Bounds b{near.x0 + ox * kTile, near.y0 + oy * kTile, near.x1 + ox * kTile,
                           near.y1 + oy * kTile};
            if (b.x1 <= 0 || b.y1 <= 0 || b.x0 >= kTile || b.y0 >= kTile) continue;
            Fill(tile, [&shape, shift](Vec2 p) { return shape(p - shift); }, colour, b);
        }
}

float Fbm(const Noise& n, float x, float y, int cells, int octaves) {
    return n.Fractal(x / kTile, y / kTile, cells, octaves);
}

// Fine grain, about two pixels across, that repeats with the tile.
float Grain(const Noise& n, float x, float y) {
    return n.At(x * 0.5f, y * 0.5f, kTile / 2, 97);
}

Canvas Sand() {
    const Noise n(101);
    auto height = [&n](float x, float y) {
        const float warp = Fbm(n, x, y, 4, 3) * 2.5f;
        const float ripple = std::sin(2 * kPi * (3 * x + 2 * y) / kTile + warp * kPi);
        return ripple * 1.2f + Fbm(n, x, y, 8, 4) * 3.0f;
    };
    Canvas tile = Ground(
        [&n](float x, float y) {
            const float v = Fbm(n, x + 40, y + 17, 4, 4);
            const float g = Grain(n, x, y);
            return Mix(Hex(0xD9BE84), Hex(0xEDD9A6), v * 0.8f + g * 0.35f - 0.1f);
        },
        height, 0.9f);
    Rng rng(102);
    for (int i = 0; i < 40; ++i) {
        const Vec2 c{rng.Range(0, kTile), rng.Range(0, kTile)};
        const float r = rng.Range(0.6f, 1.4f);
        FillWrapped(tile, Circle(c, r), rng.Uniform() < 0.5f ? Hex(0xA88A5A, 0.8f) : Hex(0xFFF6DA, 0.8f),
                    Around(c, r));
    }
    return tile;
}

Canvas Grass() {
    const Noise n(111);
    Canvas tile = Ground(
        [&n](float x, float y) {
            const float v = Fbm(n, x, y, 4, 4);
            const float g = Grain(n, x, y);
            return Mix(Hex(0x3F7A2C), Hex(0x6AA542), v * 0.9f + g * 0.3f - 0.15f);
        },
        [&n](float x, float y) { return Fbm(n, x + 60, y + 9, 16, 3) * 4.0f; }, 1.0f);
    Rng rng(112);
    for (int i = 0; i < 520; ++i) {
        const Vec2 a{rng.Range(0, kTile), rng.Range(0, kTile)};
        const float angle = rng.Range(-35, 35);
        const float len = rng.Range(3, 7);
        const Vec2 b = a + Rotate({0, -len}, angle);
        const Colour c = rng.Uniform() < 0.5f ? Hex(0x2F6522, 0.7f) : Hex(0x84C155, 0.6f);
        FillWrapped(tile, Capsule(a, b, 0.7f, 0.2f), c, Around(a, len + 1));
    }
    for (int i = 0; i < 3; ++i) {
        const Vec2 c{rng.Range(0, kTile), rng.Range(0, kTile)};
        const Colour petal = rng.Uniform() < 0.5f ? Hex(0xFFFFFF) : Hex(0xFFE14A);
        for (int k = 0; k < 5; ++k)
            FillWrapped(tile, Circle(c + Rotate({0, -1.6f}, k * 72.0f), 1.2f), petal, Around(c, 4));
        FillWrapped(tile, Circle(c, 0.9f), Hex(0xE08A1E), Around(c, 2));
    }
    return tile;
}

Canvas Snow() {
    const Noise n(121);
    Canvas tile = Ground(
        [&n](float x, float y) {
            const float v = Fbm(n, x, y, 4, 3);
            return Mix(Hex(0xC9D6E8), Hex(0xF4F8FC), 0.35f + v * 0.6f);
        },
        [&n](float x, float y) { return Fbm(n, x, y, 4, 4) * 8.0f; }, 1.0f);
    Rng rng(122);
    for (int i = 0; i < 60; ++i) {
        const Vec2 c{rng.Range(0, kTile), rng.Range(0, kTile)};
        FillWrapped(tile, Circle(c, 0.6f), Grey(1.0f, 0.9f), Around(c, 2));
    }
    return tile;
}

Canvas Ice() {
    const Noise n(131);
    Canvas tile = Ground(
        [&n](float x, float y) {
            const float v = Fbm(n, x, y, 2, 4);
            const float streak = 0.5f + 0.5f * std::sin(2 * kPi * (x + y) / kTile * 2 + v * 4);
            return Mix(Hex(0x9ECFE3), Hex(0xD8F1FA), v * 0.7f + streak * 0.25f);
        },
        [&n](float x, float y) { return Fbm(n, x, y, 4, 2) * 3.0f; }, 0.6f);
    Rng rng(132);
    for (int c = 0; c < 5; ++c) {
        Vec2 p{rng.Range(0, kTile), rng.Range(0, kTile)};
        float heading = rng.Range(0, 360);
        for (int s = 0; s < 7; ++s) {
            heading += rng.Range(-40, 40);
            const Vec2 q = p + Rotate({0, -rng.Range(5, 12)}, heading);
            FillWrapped(tile, Line(p, q, 1.1f), Hex(0xFFFFFF, 0.75f), Around(p, 14));
            FillWrapped(tile, Line(p + Vec2{0.8f, 0.8f}, q + Vec2{0.8f, 0.8f}, 0.8f), Hex(0x5F95AE, 0.35f),
                        Around(p, 15));
            p = q;
        }
    }
    return tile;
}

// Stone chips one pixel across: a few light, a few dark, the rest binder.
float Aggregate(const Noise& n, float x, float y) {
    const float chip = n.At(std::floor(x), std::floor(y), kTile, 53);
    if (chip > 0.86f) return 0.55f * (chip - 0.86f) / 0.14f;
    if (chip < 0.12f) return -0.45f * (0.12f - chip) / 0.12f;
    return 0.0f;
}

// Asphalt seen from above is flat: its look is in the chips and in broad,
// faint tone changes, with only a little grit in the relief.
Canvas Asphalt(uint32_t seed, Colour dark, Colour light, bool worn) {
    const Noise n(seed);
    Canvas tile = Ground(
        [&n, dark, light](float x, float y) {
            const float v = Fbm(n, x, y, 4, 3);
            const float g = Grain(n, x, y);
            return Mix(dark, light, Clamp01(0.2f + v * 0.45f + g * 0.2f + Aggregate(n, x, y)));
        },
        [&n](float x, float y) { return Grain(n, x, y) * 0.35f; }, 0.8f);
    Rng rng(seed + 1);
    if (worn) {
        // Patched repairs and a few cracks.
        for (int i = 0; i < 2; ++i) {
            const Vec2 c{rng.Range(0, kTile), rng.Range(0, kTile)};
            FillWrapped(tile, Box(c, rng.Range(10, 22), rng.Range(8, 16), 5, rng.Range(-10, 10)),
                        WithAlpha(Scaled(dark, 0.85f), 0.45f), Around(c, 30));
        }
        for (int c = 0; c < 3; ++c) {
            Vec2 p{rng.Range(0, kTile), rng.Range(0, kTile)};
            float heading = rng.Range(0, 360);
            for (int s = 0; s < 5; ++s) {
                heading += rng.Range(-50, 50);
                const Vec2 q = p + Rotate({0, -rng.Range(4, 9)}, heading);
                FillWrapped(tile, Line(p, q, 0.9f), Grey(0.12f, 0.7f), Around(p, 11));
                p = q;
            }
        }
    }
    return tile;
}

Canvas Dirt() {
    const Noise n(151);
    Canvas tile = Ground(
        [&n](float x, float y) {
            const float v = Fbm(n, x, y, 4, 4);
            const float g = Grain(n, x, y);
            return Mix(Hex(0x7E5A36), Hex(0xB08656), v * 0.8f + g * 0.3f - 0.05f);
        },
        [&n](float x, float y) { return Fbm(n, x, y, 8, 4) * 6.0f; }, 1.0f);
    Rng rng(152);
    for (int i = 0; i < 70; ++i) {
        const Vec2 c{rng.Range(0, kTile), rng.Range(0, kTile)};
        const float r = rng.Range(0.8f, 2.2f);
        FillWrapped(tile, Circle(c + Vec2{0.7f, 0.7f}, r), Hex(0x3E2A18, 0.5f), Around(c, r + 2));
        FillWrapped(tile, Circle(c, r), Mix(Hex(0x9B8B78), Hex(0xD2C4AE), rng.Uniform()), Around(c, r + 1));
    }
    return tile;
}

// Concrete slabs in a running bond, mid grey so lamp light still shows on them.
Canvas Pavement() {
    const Noise n(161);
    auto slab = [](float x, float y, float& u, float& v) {
        const int row = static_cast<int>(std::floor(y / 32));
        const float shifted = x + (row % 2 ? 16.0f : 0.0f);
        u = std::fmod(shifted, 32.0f);
        v = std::fmod(y, 32.0f);
        return static_cast<int>(shifted / 32) % 4 + 4 * row;
    };
    Canvas tile = Ground(
        [&n, slab](float x, float y) {
            float u = 0, v = 0;
            const int id = slab(x, y, u, v);
            const float tone = 0.5f + 0.06f * n.At(static_cast<float>(id), 0.5f, 16, 3);
            const float stain = Fbm(n, x, y, 4, 3);
            const Colour base = Mix(Hex(0x8A857C), Hex(0x9E9A92), tone);
            return Scaled(base, 0.86f + 0.12f * stain + 0.08f * Grain(n, x, y) +
                                    0.2f * Aggregate(n, x, y));
        },
        [slab](float x, float y) {
            // Each slab rounds down into narrow joints.
            float u = 0, v = 0;
            slab(x, y, u, v);
            const float edge = std::max(std::fabs(u - 16.0f), std::fabs(v - 16.0f));
            return -2.0f * SmoothStep(14.5f, 16.0f, edge);
        },
        1.0f);
    return tile;
}

Canvas Water() {
    const Noise n(171);
    Canvas tile(kTile, kTile);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const float fx = x + 0.5f, fy = y + 0.5f;
            const float v = Fbm(n, fx, fy, 2, 4);
            const float wave = 0.5f + 0.5f * std::sin(2 * kPi * (2 * fx + 3 * fy) / kTile + v * 6);
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

// The start line: a chequered band across the middle, clear elsewhere, so
// it lies over any ground; stacked tiles continue the pattern.
Canvas StartLine() {
    Canvas tile(kTile, kTile);
    Fill(tile, Box({64, 64}, 18, 64), Grey(0.97f, 0.95f));
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 2; ++col)
            if ((row + col) % 2 == 0)
                Fill(tile, Box({48.0f + 16 * col + 8, 16.0f * row + 8}, 8, 8), Grey(0.08f));
    return tile;
}

enum Side { kNorth = 1, kEast = 2, kSouth = 4, kWest = 8 };

// Road with kerbs along the given sides; with `rounded`, two kerbed sides
// meet in an outer curve and the ground outside the curve stays clear.
Canvas RoadEdge(const Canvas& road, int sides) {
    Canvas tile = road;
    const bool corner = (sides & (kNorth | kSouth)) && (sides & (kEast | kWest));
    constexpr float kRadius = 44;
    const float cx = (sides & kEast) ? kTile - kRadius : kRadius;
    const float cy = (sides & kSouth) ? kTile - kRadius : kRadius;
    auto in_corner = [=](Vec2 p) {
        return corner && ((sides & kEast) ? p.x > cx : p.x < cx) && ((sides & kSouth) ? p.y > cy : p.y < cy);
    };
    if (corner) {
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x) {
                const Vec2 p{x + 0.5f, y + 0.5f};
                if (!in_corner(p)) continue;
                Colour c = tile.Get(x, y);
                c.a = Clamp01(kRadius + 0.5f - Length(p - Vec2{cx, cy}));
                tile.Set(x, y, c);
            }
    }
    PaintKerb(tile, [=](Vec2 p, float& depth, float& along) {
        if (in_corner(p)) {
            const Vec2 d = p - Vec2{cx, cy};
            depth = kRadius - Length(d);
            along = std::atan2(std::fabs(d.y), std::fabs(d.x)) * kRadius;
            return depth >= -1 && depth <= kKerb + 1;
        }
        float best = 1e9f;
        if (sides & kNorth) best = std::min(best, p.y), along = p.x;
        if ((sides & kSouth) && kTile - p.y < best) best = kTile - p.y, along = p.x;
        if ((sides & kWest) && p.x < best) best = p.x, along = p.y;
        if ((sides & kEast) && kTile - p.x < best) best = kTile - p.x, along = p.y;
        depth = best;
        return depth <= kKerb + 1;
    });
    return tile;
}

// Road everywhere but a kerbed quarter circle at one corner: the inside of
// a bend, where two kerbed sides of neighbouring tiles meet.
Canvas RoadInnerCorner(const Canvas& road, int sides) {
    Canvas tile = road;
    const Vec2 corner{(sides & kEast) ? static_cast<float>(kTile) : 0.0f,
                      (sides & kSouth) ? static_cast<float>(kTile) : 0.0f};
    PaintKerb(tile, [=](Vec2 p, float& depth, float& along) {
        const Vec2 d = p - corner;
        depth = Length(d);
        along = std::atan2(std::fabs(d.y), std::fabs(d.x)) * kKerb;
        return depth <= kKerb + 1;
    });
    return tile;
}

}  // namespace

ImageSet MakeTiles() {
    ImageSet set;
    auto add = [&set](const std::string& kind, Canvas canvas) {
        set.push_back({kind + "1", std::move(canvas), true});
    };
    const Canvas road = Asphalt(141, Hex(0x505055), Hex(0x6E6E73), false);
    add("lnd_sand", Sand());
    add("lnd_grass", Grass());
    add("lnd_snow", Snow());
    add("lnd_ice", Ice());
    add("lnd_asphalt", Asphalt(181, Hex(0x35353A), Hex(0x4C4C52), true));
    add("lnd_road", road);
    add("lnd_dirt", Dirt());
    add("lnd_pavement", Pavement());
    add("lnd_water", Water());
    add("lnd_start", StartLine());
    const struct {
        const char* suffix;
        int sides;
    } edges[] = {{"n", kNorth},          {"e", kEast},          {"s", kSouth},
                 {"w", kWest},           {"ne", kNorth | kEast}, {"nw", kNorth | kWest},
                 {"se", kSouth | kEast}, {"sw", kSouth | kWest}};
    for (const auto& e : edges) add(std::string("lnd_edge_") + e.suffix, RoadEdge(road, e.sides));
    for (const auto& e : edges)
        if (std::string(e.suffix).size() == 2)
            add(std::string("lnd_inner_") + e.suffix, RoadInnerCorner(road, e.sides));
    return set;
}

}  // namespace assetgen
