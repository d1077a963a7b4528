#include "raster.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Vec2 Rotate(Vec2 v, float degrees) {
    const float r = degrees * 3.14159265f / 180.0f;
    const float c = std::cos(r);
    const float s = std::sin(r);
    // Screen y points down, so a visual counter-clockwise turn is x*c + y*s.
    return {v.x * c + v.y * s, -v.x * s + v.y * c};
}

Colour Hex(uint32_t rgb, float alpha) {
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f,
            alpha};
}

Colour Grey(float level, float alpha) { return {level, level, level, alpha}; }

Colour Mix(Colour from, Colour to, float t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
            from.b + (to.b - from.b) * t, from.a + (to.a - from.a) * t};
}

Colour Scaled(Colour c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

Colour WithAlpha(Colour c, float alpha) { return {c.r, c.g, c.b, alpha}; }

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float SmoothStep(float edge0, float edge1, float v) {
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

Canvas::Canvas(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

Colour Canvas::Get(int x, int y) const {
    if (!Inside(x, y)) return {};
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::Set(int x, int y, Colour c) {
    if (Inside(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Canvas::Blend(int x, int y, Colour s) {
    if (!Inside(x, y) || s.a <= 0.0f) return;
    Colour& d = pixels_[static_cast<size_t>(y) * width_ + x];
    const float sa = std::min(s.a, 1.0f);
    const float da = d.a * (1.0f - sa);
    const float a = sa + da;
    if (a <= 0.0f) {
        d = {};
        return;
    }
    d = {(s.r * sa + d.r * da) / a, (s.g * sa + d.g * da) / a, (s.b * sa + d.b * da) / a, a};
}

Colour Canvas::Sample(float x, float y) const {
    const float fx = x - 0.5f;
    const float fy = y - 0.5f;
    const int x0 = static_cast<int>(std::floor(fx));
    const int y0 = static_cast<int>(std::floor(fy));
    const float tx = fx - x0;
    const float ty = fy - y0;
    float r = 0, g = 0, b = 0, a = 0;
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            const float w = (i ? tx : 1 - tx) * (j ? ty : 1 - ty);
            const Colour c = Get(x0 + i, y0 + j);
            r += c.r * c.a * w;
            g += c.g * c.a * w;
            b += c.b * c.a * w;
            a += c.a * w;
        }
    }
    if (a <= 1e-6f) return {};
    return {r / a, g / a, b / a, a};
}

Bounds Around(Vec2 centre, float radius) {
    return {static_cast<int>(std::floor(centre.x - radius)) - 1,
            static_cast<int>(std::floor(centre.y - radius)) - 1,
            static_cast<int>(std::ceil(centre.x + radius)) + 2,
            static_cast<int>(std::ceil(centre.y + radius)) + 2};
}

namespace {

Bounds Clip(const Canvas& canvas, Bounds b) {
    return {std::max(b.x0, 0), std::max(b.y0, 0), std::min(b.x1, canvas.Width()),
            std::min(b.y1, canvas.Height())};
}

}  // namespace

void Fill(Canvas& canvas, const Field& shape, const Paint& paint, Bounds bounds) {
    const Bounds b = Clip(canvas, bounds);
    for (int y = b.y0; y < b.y1; ++y) {
        for (int x = b.x0; x < b.x1; ++x) {
            const Vec2 p{x + 0.5f, y + 0.5f};
            const float coverage = Clamp01(0.5f - shape(p));
            if (coverage <= 0.0f) continue;
            Colour c = paint(p);
            c.a *= coverage;
            canvas.Blend(x, y, c);
        }
    }
}

void Fill(Canvas& canvas, const Field& shape, Colour colour, Bounds bounds) {
    Fill(canvas, shape, [colour](Vec2) { return colour; }, bounds);
}

void Wash(Canvas& canvas, const Paint& paint, Bounds bounds) {
    const Bounds b = Clip(canvas, bounds);
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) canvas.Blend(x, y, paint({x + 0.5f, y + 0.5f}));
}

void Composite(Canvas& dst, const Canvas& src, float x, float y, float w, float h, float alpha,
               Colour tint) {
    if (w <= 0 || h <= 0) return;
    const float sx = src.Width() / w;
    const float sy = src.Height() / h;
    const int nx = std::clamp(static_cast<int>(std::ceil(sx)), 1, 8);
    const int ny = std::clamp(static_cast<int>(std::ceil(sy)), 1, 8);
    const Bounds b = Clip(dst, {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)),
                                static_cast<int>(std::ceil(x + w)),
                                static_cast<int>(std::ceil(y + h))});
    for (int py = b.y0; py < b.y1; ++py) {
        const float cover_y = std::min(py + 1.0f, y + h) - std::max(static_cast<float>(py), y);
        for (int px = b.x0; px < b.x1; ++px) {
            const float cover_x = std::min(px + 1.0f, x + w) - std::max(static_cast<float>(px), x);
            if (cover_x <= 0 || cover_y <= 0) continue;
            float r = 0, g = 0, bl = 0, a = 0;
            for (int j = 0; j < ny; ++j) {
                for (int i = 0; i < nx; ++i) {
                    const float u = (px + (i + 0.5f) / nx - x) * sx;
                    const float v = (py + (j + 0.5f) / ny - y) * sy;
                    const Colour c = src.Sample(u, v);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    bl += c.b * c.a;
                    a += c.a;
                }
            }
            if (a <= 1e-6f) continue;
            const float n = static_cast<float>(nx * ny);
            dst.Blend(px, py,
                      {r / a * tint.r, g / a * tint.g, bl / a * tint.b,
                       a / n * alpha * cover_x * cover_y});
        }
    }
}

Canvas Silhouette(const Canvas& src, Colour colour) {
    Canvas out(src.Width(), src.Height());
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width(); ++x)
            out.Set(x, y, WithAlpha(colour, src.Get(x, y).a * colour.a));
    return out;
}

namespace {

// One box pass along a row or column of premultiplied values.
void BoxPass(std::vector<Colour>& line, int radius, bool wrap) {
    const int n = static_cast<int>(line.size());
    std::vector<Colour> out(line.size());
    const float k = 1.0f / (2 * radius + 1);
    for (int i = 0; i < n; ++i) {
        Colour sum{};
        for (int d = -radius; d <= radius; ++d) {
            int j = i + d;
            if (wrap) {
                j = ((j % n) + n) % n;
            } else if (j < 0 || j >= n) {
                continue;
            }
            sum.r += line[j].r;
            sum.g += line[j].g;
            sum.b += line[j].b;
            sum.a += line[j].a;
        }
        out[i] = {sum.r * k, sum.g * k, sum.b * k, sum.a * k};
    }
    line.swap(out);
}

}  // namespace

void Blur(Canvas& canvas, int radius, bool wrap) {
    if (radius <= 0) return;
    const int w = canvas.Width();
    const int h = canvas.Height();
    std::vector<Colour> pm(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Colour c = canvas.Get(x, y);
            pm[static_cast<size_t>(y) * w + x] = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
        }
    std::vector<Colour> line;
    for (int pass = 0; pass < 3; ++pass) {
        line.resize(w);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) line[x] = pm[static_cast<size_t>(y) * w + x];
            BoxPass(line, radius, wrap);
            for (int x = 0; x < w; ++x) pm[static_cast<size_t>(y) * w + x] = line[x];
        }
        line.resize(h);
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) line[y] = pm[static_cast<size_t>(y) * w + x];
            BoxPass(line, radius, wrap);
            for (int y = 0; y < h; ++y) pm[static_cast<size_t>(y) * w + x] = line[y];
        }
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Colour c = pm[static_cast<size_t>(y) * w + x];
            canvas.Set(x, y,
                       c.a > 1e-6f ? Colour{c.r / c.a, c.g / c.a, c.b / c.a, c.a} : Colour{});
        }
}

void DropShadow(Canvas& canvas, float dx, float dy, int radius, float strength) {
    Canvas shadow(canvas.Width(), canvas.Height());
    Composite(shadow, Silhouette(canvas, Grey(0.0f, strength)), dx, dy,
              static_cast<float>(canvas.Width()), static_cast<float>(canvas.Height()));
    Blur(shadow, radius, false);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) shadow.Blend(x, y, canvas.Get(x, y));
    canvas = shadow;
}

}  // namespace assetgen
