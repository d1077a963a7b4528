#include "sketch.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "shapes.h"

namespace assetgen {

std::vector<Vec2> Bezier(Vec2 a, Vec2 b, Vec2 c, int steps) {
    std::vector<Vec2> pts;
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / steps;
        const float u = 1 - t;
        pts.push_back(a * (u * u) + b * (2 * u * t) + c * (t * t));
    }
    return pts;
}

std::vector<Vec2> Bezier(Vec2 a, Vec2 b, Vec2 c, Vec2 d, int steps) {
    std::vector<Vec2> pts;
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / steps;
        const float u = 1 - t;
        pts.push_back(a * (u * u * u) + b * (3 * u * u * t) + c * (3 * u * t * t) + d * (t * t * t));
    }
    return pts;
}

std::vector<float> Taper(size_t count, float r0, float r1, float power) {
    std::vector<float> radii(count);
    for (size_t i = 0; i < count; ++i) {
        const float t = count > 1 ? static_cast<float>(i) / (count - 1) : 0.0f;
        radii[i] = r0 + (r1 - r0) * std::pow(t, power);
    }
    return radii;
}

Field Stroke(std::vector<Vec2> points, std::vector<float> radii) {
    return [pts = std::move(points), rs = std::move(radii)](Vec2 p) {
        float d = 1e9f;
        for (size_t i = 0; i + 1 < pts.size(); ++i)
            d = std::min(d, DistCapsule(p, pts[i], pts[i + 1], rs[i], rs[i + 1]));
        return d;
    };
}

void FillLit(Canvas& canvas, const Field& shape, const std::function<Material(Vec2)>& material,
             float round, Bounds bounds) {
    Relief relief;
    relief.outline = shape;
    relief.height = [&shape, round](Vec2 p) {
        const float t = Clamp01(-shape(p) / round);
        return round * std::sqrt(1.0f - (1.0f - t) * (1.0f - t));
    };
    relief.material = material;
    DrawRelief(canvas, relief, bounds);
}

void FillLit(Canvas& canvas, const Field& shape, const Material& material, float round, Bounds bounds) {
    FillLit(canvas, shape, [material](Vec2) { return material; }, round, bounds);
}

void FillCylinder(Canvas& canvas, const Field& shape, float x0, float x1, const Material& material,
                  Bounds bounds) {
    Fill(
        canvas, shape,
        [=](Vec2 p) {
            const float u = std::clamp((p.x - x0) / (x1 - x0) * 2 - 1, -1.0f, 1.0f);
            return Shade(material, Normalised({u, 0, std::sqrt(1 - u * u) + 0.05f}));
        },
        bounds);
}

Material Matte(Colour c) { return {c, 0.45f, 0.65f, 0.0f, 8.0f}; }

Material Glossy(Colour c, float specular) { return {c, 0.45f, 0.65f, specular, 24.0f}; }

}  // namespace assetgen
