#include "engine/raster.h"

#include <algorithm>

#include "engine/blend_span.h"

namespace oe {

namespace {

constexpr int kChunk = 256;   // pixels gathered at a time

// A colour as a 0xAARRGGBB word, as the span loops take colours one per pixel.
uint32_t Word(uint32_t r, uint32_t g, uint32_t b, uint32_t a) { return a << 24 | r << 16 | g << 8 | b; }

// numerator / denominator rounded down, stepped exactly from pixel to pixel
// as a whole part and a remainder: the triangle's exact per-pixel division
// without dividing. The numerator starts at zero or above.
class Stepper {
public:
    Stepper() = default;
    Stepper(int64_t numerator, int64_t step, int64_t denominator)
        : whole_(numerator / denominator), rest_(numerator % denominator), denominator_(denominator) {
        step_whole_ = step / denominator;
        step_rest_ = step % denominator;
        if (step_rest_ < 0) step_rest_ += denominator, --step_whole_;
    }
    int64_t Next() {
        const int64_t value = whole_;
        whole_ += step_whole_;
        rest_ += step_rest_;
        if (rest_ >= denominator_) rest_ -= denominator_, ++whole_;
        return value;
    }

private:
    int64_t whole_ = 0, rest_ = 0, denominator_ = 1, step_whole_ = 0, step_rest_ = 0;
};

// One side of a triangle as an edge function over pixel centres, in half
// pixels: zero on the edge, growing inwards.
struct Edge {
    int64_t value = 0;    // at the current row's first pixel
    int64_t per_x = 0;    // from one pixel to the next
    int64_t per_y = 0;    // from one row to the next
    int64_t needed = 0;   // inside from this value on: 0 on a top or left edge, else 1
};

// The top-left rule: pixel centres exactly on a top or a left edge belong to the triangle.
bool TopOrLeft(const RasterVertex& a, const RasterVertex& b, bool clockwise) {
    if (clockwise) return (a.y == b.y && a.x < b.x) || b.y < a.y;
    return (a.y == b.y && b.x < a.x) || a.y < b.y;
}

// The pixels [first, last) of a row within all three edges, counted from the row's first pixel.
std::pair<int64_t, int64_t> Span(const std::array<Edge, 3>& edges, int64_t width) {
    int64_t first = 0, last = width;
    for (const Edge& e : edges) {
        const int64_t room = e.value - e.needed;   // inside while room + j * per_x >= 0
        if (e.per_x == 0) {
            if (room < 0) return {0, 0};
        } else if (e.per_x > 0) {
            if (room < 0) first = std::max(first, (-room + e.per_x - 1) / e.per_x);
        } else {
            if (room < 0) return {0, 0};
            last = std::min(last, room / -e.per_x + 1);
        }
    }
    return {first, std::max(first, last)};
}

}  // namespace

void Raster_Stretch(const PixelTarget& target, const Texels& texels, IntRect src, IntRect dst, Colour colour,
                    Blend blend) {
    if (!texels.argb || src.w <= 0 || src.h <= 0 || dst.w <= 0 || dst.h <= 0) return;
    const int x0 = std::max(dst.x, 0), x1 = int(std::min<int64_t>(int64_t(dst.x) + dst.w, target.width));
    const int y0 = std::max(dst.y, 0), y1 = int(std::min<int64_t>(int64_t(dst.y) + dst.h, target.height));
    if (x0 >= x1 || y0 >= y1) return;
    // Texel steps in 16.16 fixed point, sampled from half a step in: SDL's scaled blit.
    const uint64_t step_x = (uint64_t(src.w) << 16) / uint64_t(dst.w);
    const uint64_t step_y = (uint64_t(src.h) << 16) / uint64_t(dst.h);
    std::array<uint32_t, kChunk> gathered;
    for (int y = y0; y < y1; ++y) {
        const uint64_t row = uint64_t(src.y) + ((step_y / 2 + uint64_t(y - dst.y) * step_y) >> 16);
        const uint32_t* from = texels.argb + row * uint64_t(texels.width) + uint64_t(src.x);
        uint32_t* out = target.pixels + size_t(y) * size_t(target.pitch);
        if (step_x == 1u << 16) {
            BlendSpan(from + (x0 - dst.x), out + x0, x1 - x0, colour, blend, texels.opaque);
            continue;
        }
        for (int x = x0; x < x1; x += kChunk) {
            const int n = std::min(kChunk, x1 - x);
            uint64_t position = step_x / 2 + uint64_t(x - dst.x) * step_x;
            for (int i = 0; i < n; ++i, position += step_x) gathered[size_t(i)] = from[position >> 16];
            BlendSpan(gathered.data(), out + x, n, colour, blend, texels.opaque);
        }
    }
}

void Raster_Triangle(const PixelTarget& target, const Texels& texels, std::array<RasterVertex, 3> k, Blend blend) {
    if (!texels.argb) return;
    auto at = [&](size_t i) { return std::pair{2 * int64_t(k[i].x), 2 * int64_t(k[i].y)}; };   // half pixels
    const auto [x0h, y0h] = at(0);
    const auto [x1h, y1h] = at(1);
    const auto [x2h, y2h] = at(2);
    int64_t area = (x1h - x0h) * (y2h - y0h) - (y1h - y0h) * (x2h - x0h);
    if (area == 0) return;
    const bool clockwise = area > 0;
    area = std::abs(area);
    const auto [left, right] = std::minmax({k[0].x, k[1].x, k[2].x});
    const auto [top, bottom] = std::minmax({k[0].y, k[1].y, k[2].y});
    const int x0 = std::max(left, 0), x1 = std::min(right, target.width);
    const int y0 = std::max(top, 0), y1 = std::min(bottom, target.height);
    if (x0 >= x1 || y0 >= y1) return;
    // Texels on the far sides of the triangle's texture box are taken one in,
    // so the weights, which reach those sides, stay within the texture.
    for (int RasterVertex::*c : {&RasterVertex::u, &RasterVertex::v}) {
        const auto [low, high] = std::minmax({k[0].*c, k[1].*c, k[2].*c});
        if (high > low)
            for (RasterVertex& corner : k)
                if (corner.*c == high) --(corner.*c);
    }
    // Edge i faces corner i; its function is that corner's weight times the area.
    std::array<Edge, 3> edges;
    for (size_t i = 0; i < 3; ++i) {
        const size_t a = (i + 1) % 3, b = (i + 2) % 3;
        const auto [ax, ay] = at(a);
        const auto [bx, by] = at(b);
        const int64_t cx = 2 * int64_t(x0) + 1, cy = 2 * int64_t(y0) + 1;
        const int64_t sign = clockwise ? 1 : -1;
        edges[i] = Edge{sign * ((bx - ax) * (cy - ay) - (by - ay) * (cx - ax)), sign * 2 * (ay - by),
                        sign * 2 * (bx - ax), TopOrLeft(k[a], k[b], clockwise) ? 0 : 1};
    }
    // A value at the span's first pixel and its step, weighted by the corners.
    auto weigh = [&](auto value_of, int64_t first) {
        int64_t start = 0, step = 0;
        for (size_t i = 0; i < 3; ++i) {
            const int64_t v = value_of(k[i]);
            start += (edges[i].value + first * edges[i].per_x) * v;
            step += edges[i].per_x * v;
        }
        return Stepper(start, step, area);
    };
    const bool uniform = k[0].colour == k[1].colour && k[0].colour == k[2].colour;
    std::array<uint32_t, kChunk> gathered, colours;
    for (int y = y0; y < y1; ++y) {
        const auto [first, last] = Span(edges, x1 - x0);
        uint32_t* out = target.pixels + size_t(y) * size_t(target.pitch) + x0;
        Stepper u = weigh([](const RasterVertex& c) { return c.u; }, first);
        Stepper v = weigh([](const RasterVertex& c) { return c.v; }, first);
        std::array<Stepper, 4> tint;
        if (!uniform) {
            tint = {weigh([](const RasterVertex& c) { return c.colour.r; }, first),
                    weigh([](const RasterVertex& c) { return c.colour.g; }, first),
                    weigh([](const RasterVertex& c) { return c.colour.b; }, first),
                    weigh([](const RasterVertex& c) { return c.colour.a; }, first)};
        }
        for (int64_t x = first; x < last; x += kChunk) {
            const int n = int(std::min<int64_t>(kChunk, last - x));
            for (int i = 0; i < n; ++i) {
                const int64_t tu = u.Next(), tv = v.Next();
                gathered[size_t(i)] = texels.argb[tv * texels.width + tu];
            }
            if (uniform) {
                BlendSpan(gathered.data(), out + x, n, k[0].colour, blend, texels.opaque);
                continue;
            }
            for (int i = 0; i < n; ++i) {
                const auto r = uint32_t(tint[0].Next()), g = uint32_t(tint[1].Next()), b = uint32_t(tint[2].Next());
                colours[size_t(i)] = Word(r, g, b, uint32_t(tint[3].Next()));
            }
            BlendSpanColours(gathered.data(), colours.data(), out + x, n, blend);
        }
        for (Edge& e : edges) e.value += e.per_y;
    }
}

}  // namespace oe
