#include "world/minimap_route.h"

#include <algorithm>
#include <array>
#include <utility>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kHalfWidth = 4;        // the route's passes run -4..4 px off the line
constexpr uint32_t kRouteRgb = 0xAAAAAA;
constexpr double kPassAlpha = 64.0 / 255.0;
// More layers than this leave the alpha at its full value.
constexpr int kMaxLayers = 255;
// The picture never outgrows the screen: of a larger route only the bottom
// right, the part the minimap's corner shows, is kept.
constexpr int64_t kMaxWidth = 800, kMaxHeight = 600;

struct Point {
    int64_t x = 0, y = 0;
};

// Every pixel of the one-pixel line from a to b, both ends included, as the
// software renderer steps it (Bresenham).
template <typename Plot>
void StepLine(Point a, Point b, Plot plot) {
    const int64_t dx = std::llabs(b.x - a.x), dy = -std::llabs(b.y - a.y);
    const int64_t sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int64_t error = dx + dy;
    for (;;) {
        plot(a.x, a.y);
        if (a.x == b.x && a.y == b.y) return;
        const int64_t twice = 2 * error;
        if (twice >= dy) error += dy, a.x += sx;
        if (twice <= dx) error += dx, a.y += sy;
    }
}

// The part of the segment from a to b inside [x0, x1] x [y0, y1] (Liang and
// Barsky), so a route far larger than the screen costs no more than the screen.
bool Clip(Point& a, Point& b, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    const double dx = double(b.x - a.x), dy = double(b.y - a.y);
    double t0 = 0.0, t1 = 1.0;
    const std::array<std::pair<double, double>, 4> edges{{{-dx, double(a.x - x0)}, {dx, double(x1 - a.x)},
                                                         {-dy, double(a.y - y0)}, {dy, double(y1 - a.y)}}};
    for (const auto& [p, q] : edges) {
        if (p == 0) {
            if (q < 0) return false;
            continue;
        }
        const double t = q / p;
        if (p < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const Point from = a;
    a = {from.x + std::llround(t0 * dx), from.y + std::llround(t0 * dy)};
    b = {from.x + std::llround(t1 * dx), from.y + std::llround(t1 * dy)};
    return true;
}

}  // namespace

MinimapRoute Minimap_Route(std::span<const tcorner> waypoints) {
    MinimapRoute route;
    if (waypoints.empty()) return route;
    int64_t min_x = INT64_MAX, min_y = INT64_MAX, max_x = INT64_MIN, max_y = INT64_MIN;
    for (const tcorner& w : waypoints) {
        min_x = std::min<int64_t>(min_x, w.x), max_x = std::max<int64_t>(max_x, w.x);
        min_y = std::min<int64_t>(min_y, w.y), max_y = std::max<int64_t>(max_y, w.y);
    }
    const int64_t full_width = Minimap_Scaled(max_x, min_x) + 2 * kHalfWidth + 1;
    const int64_t full_height = Minimap_Scaled(max_y, min_y) + 2 * kHalfWidth + 1;
    route.width = static_cast<int32_t>(std::min(full_width, kMaxWidth));
    route.height = static_cast<int32_t>(std::min(full_height, kMaxHeight));
    const int64_t crop_x = full_width - route.width, crop_y = full_height - route.height;
    route.left = crop_x - kHalfWidth;
    route.top = crop_y - kHalfWidth;
    // How many of the shifted lines cross each pixel.
    std::vector<uint8_t> layers(static_cast<size_t>(route.width) * route.height);
    // A segment of no length draws nothing, as a one-pixel line of no length.
    auto segment = [&](const tcorner& a, const tcorner& b) {
        if (a.x == b.x && a.y == b.y) return;
        Point from{Minimap_Scaled(a.x, min_x) + kHalfWidth - crop_x, Minimap_Scaled(a.y, min_y) + kHalfWidth - crop_y};
        Point to{Minimap_Scaled(b.x, min_x) + kHalfWidth - crop_x, Minimap_Scaled(b.y, min_y) + kHalfWidth - crop_y};
        if (!Clip(from, to, -kHalfWidth, -kHalfWidth, route.width + kHalfWidth, route.height + kHalfWidth)) return;
        StepLine(from, to, [&](int64_t x, int64_t y) {
            const int64_t top = std::max<int64_t>(y - kHalfWidth, 0);
            const int64_t bottom = std::min<int64_t>(y + kHalfWidth, route.height - 1);
            const int64_t left = std::max<int64_t>(x - kHalfWidth, 0);
            const int64_t right = std::min<int64_t>(x + kHalfWidth, route.width - 1);
            for (int64_t sy = top; sy <= bottom; ++sy)
                for (int64_t sx = left; sx <= right; ++sx) {
                    uint8_t& n = layers[static_cast<size_t>(sy * route.width + sx)];
                    n = static_cast<uint8_t>(std::min(n + 1, kMaxLayers));
                }
        });
    };
    segment(waypoints.front(), waypoints.back());
    for (size_t i = 0; i + 1 < waypoints.size(); ++i) segment(waypoints[i], waypoints[i + 1]);
    route.rgba.resize(layers.size() * 4);
    for (size_t i = 0; i < layers.size(); ++i) {
        const double alpha = 1.0 - std::pow(1.0 - kPassAlpha, layers[i]);
        uint8_t* p = &route.rgba[i * 4];
        p[0] = static_cast<uint8_t>(kRouteRgb >> 16), p[1] = static_cast<uint8_t>(kRouteRgb >> 8);
        p[2] = static_cast<uint8_t>(kRouteRgb), p[3] = static_cast<uint8_t>(std::lround(alpha * 255.0));
    }
    return route;
}
