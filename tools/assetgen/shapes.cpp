#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace assetgen {

float DistCircle(Vec2 p, Vec2 centre, float radius) { return Length(p - centre) - radius; }

float DistEllipse(Vec2 p, Vec2 centre, float rx, float ry) {
    // First-order approximation: exact on the axes, good enough for outlines.
    const Vec2 q = p - centre;
    const float k0 = std::sqrt((q.x * q.x) / (rx * rx) + (q.y * q.y) / (ry * ry));
    const float k1 = std::sqrt((q.x * q.x) / (rx * rx * rx * rx) + (q.y * q.y) / (ry * ry * ry * ry));
    if (k1 < 1e-6f) return -std::min(rx, ry);
    return k0 * (k0 - 1.0f) / k1;
}

float DistBox(Vec2 p, Vec2 centre, float hw, float hh, float corner, float degrees) {
    Vec2 q = p - centre;
    if (degrees != 0) q = Rotate(q, -degrees);
    corner = std::min({corner, hw, hh});
    const float dx = std::fabs(q.x) - (hw - corner);
    const float dy = std::fabs(q.y) - (hh - corner);
    const float outside = Length({std::max(dx, 0.0f), std::max(dy, 0.0f)});
    return outside + std::min(std::max(dx, dy), 0.0f) - corner;
}

float DistCapsule(Vec2 p, Vec2 a, Vec2 b, float ra, float rb) {
    const Vec2 ab = b - a;
    const float len2 = Dot(ab, ab);
    const float t = len2 > 0 ? std::clamp(Dot(p - a, ab) / len2, 0.0f, 1.0f) : 0.0f;
    return Length(p - (a + ab * t)) - (ra + (rb - ra) * t);
}

float DistPolygon(Vec2 p, const std::vector<Vec2>& v) {
    const size_t n = v.size();
    if (n < 3) return 1e9f;
    float d = Dot(p - v[0], p - v[0]);
    float sign = 1.0f;
    for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
        const Vec2 e = v[j] - v[i];
        const Vec2 w = p - v[i];
        const float t = std::clamp(Dot(w, e) / std::max(Dot(e, e), 1e-9f), 0.0f, 1.0f);
        const Vec2 b = w - e * t;
        d = std::min(d, Dot(b, b));
        const bool c1 = p.y >= v[i].y;
        const bool c2 = p.y < v[j].y;
        const bool c3 = e.x * w.y > e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * std::sqrt(d);
}

Field Circle(Vec2 centre, float radius) {
    return [=](Vec2 p) { return DistCircle(p, centre, radius); };
}

Field Ellipse(Vec2 centre, float rx, float ry) {
    return [=](Vec2 p) { return DistEllipse(p, centre, rx, ry); };
}

Field Box(Vec2 centre, float hw, float hh, float corner, float degrees) {
    return [=](Vec2 p) { return DistBox(p, centre, hw, hh, corner, degrees); };
}

Field Capsule(Vec2 a, Vec2 b, float ra, float rb) {
    return [=](Vec2 p) { return DistCapsule(p, a, b, ra, rb); };
}

Field Line(Vec2 a, Vec2 b, float width) { return Capsule(a, b, width * 0.5f, width * 0.5f); }

Field Polygon(std::vector<Vec2> points) {
    return [pts = std::move(points)](Vec2 p) { return DistPolygon(p, pts); };
}

Field Ring(Vec2 centre, float radius, float thickness) {
    return [=](Vec2 p) { return std::fabs(DistCircle(p, centre, radius)) - thickness * 0.5f; };
}

Field Union(Field a, Field b) {
    return [a = std::move(a), b = std::move(b)](Vec2 p) { return std::min(a(p), b(p)); };
}

Field Intersect(Field a, Field b) {
    return [a = std::move(a), b = std::move(b)](Vec2 p) { return std::max(a(p), b(p)); };
}

Field Subtract(Field a, Field b) {
    return [a = std::move(a), b = std::move(b)](Vec2 p) { return std::max(a(p), -b(p)); };
}

Field Grow(Field a, float amount) {
    return [a = std::move(a), amount](Vec2 p) { return a(p) - amount; };
}

}  // namespace assetgen
