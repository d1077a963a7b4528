#include "surface.h"

#include <cmath>
#include <vector>

#include "shading.h"

namespace assetgen {

Canvas Ground(const std::function<Colour(float x, float y)>& albedo, const Surface& bumps, float relief) {
    Canvas tile(kCell, kCell);
    const Vec3 l = LightDirection();
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const float fx = x + 0.5f, fy = y + 0.5f;
            const float hx = bumps(fx + 1, fy) - bumps(fx - 1, fy);
            const float hy = bumps(fx, fy + 1) - bumps(fx, fy - 1);
            const Vec3 n = Normalised({-hx * relief * 0.5f, -hy * relief * 0.5f, 1.0f});
            const float light = (n.x * l.x + n.y * l.y + n.z * l.z) / l.z;
            tile.Set(x, y, WithAlpha(Scaled(albedo(fx, fy), light), 1.0f));
        }
    return tile;
}

void EvenOut(Canvas& tile) {
    std::vector<Colour> rows(kCell), columns(kCell);
    Colour all{};
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const Colour c = tile.Get(x, y);
            for (Colour* sum : {&rows[y], &columns[x], &all}) sum->r += c.r, sum->g += c.g, sum->b += c.b;
        }
    const float n = kCell, area = kCell * kCell;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const Colour c = tile.Get(x, y);
            auto even = [&](float v, float row, float column, float mean) {
                return Clamp01(v - (row / n - mean / area) - (column / n - mean / area));
            };
            tile.Set(x, y,
                     {even(c.r, rows[y].r, columns[x].r, all.r), even(c.g, rows[y].g, columns[x].g, all.g),
                      even(c.b, rows[y].b, columns[x].b, all.b), c.a});
        }
}

void FillWrapped(Canvas& tile, const Field& shape, Colour colour, Bounds near) {
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            const Vec2 shift{static_cast<float>(ox * kCell), static_cast<float>(oy * kCell)};
            const Bounds b{near.x0 + ox * kCell, near.y0 + oy * kCell, near.x1 + ox * kCell, near.y1 + oy * kCell};
            if (b.x1 <= 0 || b.y1 <= 0 || b.x0 >= kCell || b.y0 >= kCell) continue;
            Fill(
                tile, [&shape, shift](Vec2 p) { return shape(p - shift); }, colour, b);
        }
}

float Fbm(const Noise& n, float x, float y, int cells, int octaves) {
    return n.Fractal(x / kCell, y / kCell, cells, octaves);
}

float Grain(const Noise& n, float x, float y) { return n.At(x * 0.5f, y * 0.5f, kCell / 2, 97); }

float Aggregate(const Noise& n, float x, float y) {
    const float chip = n.At(std::floor(x), std::floor(y), kCell, 53);
    if (chip > 0.86f) return 0.55f * (chip - 0.86f) / 0.14f;
    if (chip < 0.12f) return -0.45f * (0.12f - chip) / 0.12f;
    return 0.0f;
}

// Its look is in the chips and in the tone changes, with only a little grit
// in the relief: asphalt is flat.
Canvas Asphalt(uint32_t seed, Colour dark, Colour light) {
    const Noise n(seed);
    return Ground(
        [&n, dark, light](float x, float y) {
            const float v = Fbm(n, x, y, 4, 3);
            const float g = Grain(n, x, y);
            return Mix(dark, light, Clamp01(0.2f + v * 0.45f + g * 0.2f + Aggregate(n, x, y)));
        },
        [&n](float x, float y) { return Grain(n, x, y) * 0.35f; }, 0.8f);
}

}  // namespace assetgen
