#include "shading.h"

#include <algorithm>
#include <cmath>

#include "shapes.h"

namespace assetgen {

Vec3 Normalised(Vec3 v) {
    const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (l <= 0) return {0, 0, 1};
    return {v.x / l, v.y / l, v.z / l};
}

Vec3 LightDirection() { return Normalised({-0.55f, -0.65f, 0.75f}); }

Colour Shade(const Material& m, Vec3 n) {
    const Vec3 l = LightDirection();
    const float nl = n.x * l.x + n.y * l.y + n.z * l.z;
    const float light = m.ambient + m.diffuse * std::max(nl, 0.0f);
    float spec = 0;
    if (m.specular > 0 && nl > 0) {
        // Reflection of the light about the normal, seen from straight above.
        const float rz = 2 * nl * n.z - l.z;
        spec = m.specular * std::pow(std::max(rz, 0.0f), m.shininess);
    }
    return {std::min(m.albedo.r * light + spec, 1.0f), std::min(m.albedo.g * light + spec, 1.0f),
            std::min(m.albedo.b * light + spec, 1.0f), m.albedo.a};
}

namespace {

Colour ShadeAt(const Relief& r, Vec2 p) {
    constexpr float e = 0.5f;
    const float hx = r.height({p.x + e, p.y}) - r.height({p.x - e, p.y});
    const float hy = r.height({p.x, p.y + e}) - r.height({p.x, p.y - e});
    return Shade(r.material(p), Normalised({-hx / (2 * e), -hy / (2 * e), 1.0f}));
}

}  // namespace

void DrawRelief(Canvas& canvas, const Relief& relief, Bounds bounds) {
    const int x0 = std::max(bounds.x0, 0), y0 = std::max(bounds.y0, 0);
    const int x1 = std::min(bounds.x1, canvas.Width()), y1 = std::min(bounds.y1, canvas.Height());
    constexpr int kSub = 4;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const Vec2 centre{x + 0.5f, y + 0.5f};
            const float d = relief.outline(centre);
            if (d > 1.5f) continue;
            if (d < -1.5f) {
                canvas.Blend(x, y, ShadeAt(relief, centre));
                continue;
            }
            // Near the edge: coverage from sub-samples, colour from the inside ones.
            float r = 0, g = 0, b = 0, a = 0;
            int inside = 0;
            for (int j = 0; j < kSub; ++j)
                for (int i = 0; i < kSub; ++i) {
                    const Vec2 p{x + (i + 0.5f) / kSub, y + (j + 0.5f) / kSub};
                    if (relief.outline(p) > 0) continue;
                    const Colour c = ShadeAt(relief, p);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                    ++inside;
                }
            if (inside == 0 || a <= 0) continue;
            canvas.Blend(x, y, {r / a, g / a, b / a, a / (kSub * kSub)});
        }
    }
}

void DrawBall(Canvas& canvas, Vec2 centre, float radius, const Material& material, float squash) {
    Fill(
        canvas, Ellipse(centre, radius, radius * squash),
        [&](Vec2 p) {
            const float dx = (p.x - centre.x) / radius;
            const float dy = (p.y - centre.y) / (radius * squash);
            const float dz = std::sqrt(std::max(1.0f - dx * dx - dy * dy, 0.0f));
            return Shade(material, Normalised({dx, dy, dz}));
        },
        Around(centre, radius));
}

void DrawGroundShadow(Canvas& canvas, Vec2 centre, float rx, float ry, float strength) {
    Wash(
        canvas,
        [=](Vec2 p) {
            const float dx = (p.x - centre.x) / rx;
            const float dy = (p.y - centre.y) / ry;
            const float d = std::sqrt(dx * dx + dy * dy);
            return Grey(0.0f, strength * (1.0f - SmoothStep(0.3f, 1.0f, d)));
        },
        Around(centre, std::max(rx, ry)));
}

}  // namespace assetgen

