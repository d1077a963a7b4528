// The barrier block is a solid on its footprint, seen as everything in the
// game is: a point at height z shows z pixels above where it stands. Each
// pixel shows the highest point of the block on its line of sight, so the
// top and the sides facing the viewer come out right at every angle.
#include "barriers.h"

#include <algorithm>
#include <cmath>

#include "shading.h"
#include "shapes.h"
#include "sketch.h"

namespace assetgen {

namespace {

constexpr float kLength = 56;
constexpr float kWidth = 10;
constexpr float kHeight = 18;
constexpr float kRounding = 2;
constexpr float kShadowReach = 4;          // past the footprint
constexpr Vec2 kShadowShift{1.5f, 2.5f};   // away from the light
constexpr int kSamples = 4;                // per pixel, each way

struct Block {
    Vec2 centre;   // of the footprint, in the picture
    Vec2 along;    // unit vector along the long side
    float degrees;

    float Footprint(Vec2 q) const { return DistBox(q, centre, kLength / 2, kWidth / 2, kRounding, -degrees); }

    Vec2 Outward(Vec2 q) const {
        constexpr float e = 0.25f;
        const Vec2 g{Footprint({q.x + e, q.y}) - Footprint({q.x - e, q.y}),
                     Footprint({q.x, q.y + e}) - Footprint({q.x, q.y - e})};
        const float l = Length(g);
        return l > 0 ? g * (1.0f / l) : Vec2{0, 1};
    }

    // The height of the highest point of the block seen at p, or -1.
    float Seen(Vec2 p) const {
        constexpr int kSteps = 24;
        for (int k = kSteps; k >= 0; --k) {
            float z = kHeight * k / kSteps;
            if (Footprint({p.x, p.y + z}) > 0) continue;
            if (k == kSteps) return z;
            // Refine between this step and the one above it, which missed.
            float lo = z, hi = kHeight * (k + 1) / kSteps;
            for (int i = 0; i < 8; ++i) {
                z = (lo + hi) / 2;
                (Footprint({p.x, p.y + z}) <= 0 ? lo : hi) = z;
            }
            return lo;
        }
        return -1;
    }

    Colour Shaded(Vec2 p, float z) const {
        const Vec2 q{p.x, p.y + z};
        const Vec2 out = Outward(q);
        const Vec2 d = q - centre;
        if (z >= kHeight - 1e-3f) {
            // Bands across the top, which round down into the sides over its last few pixels.
            const bool red = std::fmod(Dot(d, along) + 400.0f, 16.0f) < 8.0f;
            const float flat = Clamp01(-Footprint(q) / 2.5f);
            const Vec3 n = Normalised({out.x * (1 - flat) * 0.9f, out.y * (1 - flat) * 0.9f, 0.5f + flat});
            return Shade(Glossy(red ? Hex(0xDA4038) : Hex(0xEDEDE9), 0.2f), n);
        }
        // Diagonal stripes round the sides.
        const float stripe = Dot(d, along) + Dot(d, {-along.y, along.x}) - z;
        const bool red = std::fmod(stripe + 400.0f, 16.0f) < 8.0f;
        const float top = Clamp01((kHeight - z) / 2.5f);
        const Vec3 n = Normalised({out.x * 0.8f * top, out.y * 0.35f * top, 0.75f + (1 - top) * 0.5f});
        return Shade(Glossy(red ? Hex(0xD2261E) : Hex(0xF2F2EE), 0.25f), n);
    }
};

}  // namespace

Canvas BarrierBlock(float degrees) {
    const float rad = degrees * 3.14159265f / 180.0f;
    const Vec2 along{std::cos(rad), std::sin(rad)};
    const float ex = std::fabs(along.x) * kLength / 2 + std::fabs(along.y) * kWidth / 2;
    const float ey = std::fabs(along.y) * kLength / 2 + std::fabs(along.x) * kWidth / 2;
    const int half_width = static_cast<int>(std::ceil(ex + kShadowReach + kShadowShift.x));
    const int top = static_cast<int>(std::ceil(ey + kHeight)) + 1;
    const int height = top + static_cast<int>(std::ceil(ey + kShadowReach + kShadowShift.y));
    Canvas c(2 * half_width, height);
    const Block block{{static_cast<float>(half_width), static_cast<float>(top)}, along, degrees};

    Wash(c, [&block](Vec2 p) {
        const float d = block.Footprint(p - kShadowShift);
        return Grey(0.0f, 0.4f * (1 - SmoothStep(-2.0f, kShadowReach, d)));
    });
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            float r = 0, g = 0, b = 0;
            int hits = 0;
            for (int j = 0; j < kSamples; ++j)
                for (int i = 0; i < kSamples; ++i) {
                    const Vec2 p{x + (i + 0.5f) / kSamples, y + (j + 0.5f) / kSamples};
                    const float z = block.Seen(p);
                    if (z < 0) continue;
                    const Colour s = block.Shaded(p, z);
                    r += s.r, g += s.g, b += s.b;
                    ++hits;
                }
            if (hits > 0)
                c.Blend(x, y, {r / hits, g / hits, b / hits, static_cast<float>(hits) / (kSamples * kSamples)});
        }
    return c;
}

}  // namespace assetgen
