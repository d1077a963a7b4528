#include "world/track_line.h"

#include <algorithm>
#include <cmath>

#include "engine/oe.h"
#include "world/tuning.h"

namespace {

struct Point {
    float x, y;
};

// The Catmull-Rom curve between p1 and p2 at t in 0..1.
Point CatmullRom(const tcorner& p0, const tcorner& p1, const tcorner& p2, const tcorner& p3, float t) {
    const float t2 = t * t, t3 = t2 * t;
    auto blend = [&](float a, float b, float c, float d) {
        return 0.5f * (2 * b + (c - a) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (3 * b - a - 3 * c + d) * t3);
    };
    return {blend(static_cast<float>(p0.x), static_cast<float>(p1.x), static_cast<float>(p2.x), static_cast<float>(p3.x)),
            blend(static_cast<float>(p0.y), static_cast<float>(p1.y), static_cast<float>(p2.y), static_cast<float>(p3.y))};
}

// Directions and bends from the positions, then the racing line: towards
// the inside of each bend, spread over the road before and after it so the
// car turns in early and lets the bend open out.
void Shape(TrackLine& line) {
    std::vector<LinePoint>& p = line.points;
    const size_t n = p.size();
    for (size_t i = 0; i < n; ++i) {
        const LinePoint& next = p[(i + 1) % n];
        const float len = std::hypot(next.x - p[i].x, next.y - p[i].y);
        p[i].dx = len > 0 ? (next.x - p[i].x) / len : 1.0f;
        p[i].dy = len > 0 ? (next.y - p[i].y) / len : 0.0f;
    }
    for (size_t i = 0; i < n; ++i) {
        const LinePoint& a = p[(i + n - 1) % n];
        const LinePoint& b = p[(i + 1) % n];
        p[i].bend = (a.dx * b.dy - a.dy * b.dx) / (2 * line.spacing);
    }
    const int32_t spread = std::max<int32_t>(1, static_cast<int32_t>(RACING_LINE_SPREAD / line.spacing));
    for (size_t i = 0; i < n; ++i) {
        float sum = 0.0f;
        for (int32_t k = -spread; k <= spread; ++k) {
            const float weight = 1.0f - std::abs(static_cast<float>(k)) / static_cast<float>(spread + 1);
            sum += weight * p[(i + n + static_cast<size_t>(k + static_cast<int32_t>(n))) % n].bend;
        }
        p[i].smooth = sum / static_cast<float>(spread + 1);
        p[i].racing = std::clamp(p[i].smooth * RACING_LINE_PULL, -RACING_LINE_MAX, RACING_LINE_MAX);
    }
}

struct Prepared {
    MapStamp stamp;
    TrackLine line;
};

Prepared& Current() {
    static Prepared prepared;
    return prepared;
}

}  // namespace

TrackLine TrackLine_Build(const tworld& map) {
    TrackLine line;
    const int32_t n = std::clamp(map.waypoint_count, 0, WORLD_CAPACITY);
    if (n < 3) return line;
    const auto& w = map.waypoints;
    for (int32_t k = 0; k < n; ++k) {
        const tcorner& p0 = w[(k + n - 1) % n];
        const tcorner& p1 = w[k];
        const tcorner& p2 = w[(k + 1) % n];
        const tcorner& p3 = w[(k + 2) % n];
        const double leg = M_Distance(p1.x, p1.y, p2.x, p2.y);
        const int32_t steps = std::max<int32_t>(1, static_cast<int32_t>(leg / LINE_SPACING));
        for (int32_t s = 0; s < steps; ++s) {
            const Point q = CatmullRom(p0, p1, p2, p3, static_cast<float>(s) / static_cast<float>(steps));
            LinePoint point;
            point.x = q.x;
            point.y = q.y;
            point.waypoint = (k + 1) % n;
            line.points.push_back(point);
        }
    }
    double length = 0.0;
    for (size_t i = 0; i < line.points.size(); ++i) {
        const LinePoint& a = line.points[i];
        const LinePoint& b = line.points[(i + 1) % line.points.size()];
        length += std::hypot(b.x - a.x, b.y - a.y);
    }
    line.spacing = static_cast<float>(length / static_cast<double>(line.points.size()));
    Shape(line);
    return line;
}

int32_t TrackLine_Nearest(const TrackLine& line, float x, float y, int32_t hint, int32_t reach) {
    const int32_t n = static_cast<int32_t>(line.points.size());
    if (n == 0) return -1;
    const bool everywhere = hint < 0 || hint >= n || 2 * reach + 1 >= n;
    const int32_t from = everywhere ? 0 : hint - reach;
    const int32_t to = everywhere ? n - 1 : hint + reach;
    int32_t best = -1;
    float best_d = 0.0f;
    for (int32_t k = from; k <= to; ++k) {
        const int32_t i = ((k % n) + n) % n;
        const float d = (line.points[i].x - x) * (line.points[i].x - x) + (line.points[i].y - y) * (line.points[i].y - y);
        if (best < 0 || d < best_d) {
            best = i;
            best_d = d;
        }
    }
    return best;
}

MapStamp MapStamp::Of(const tworld& map) {
    const int32_t n = std::clamp(map.waypoint_count, 0, WORLD_CAPACITY);
    return {&map, std::vector<tcorner>(map.waypoints.begin(), map.waypoints.begin() + n)};
}

bool MapStamp::Matches(const tworld& other) const {
    const int32_t n = std::clamp(other.waypoint_count, 0, WORLD_CAPACITY);
    return map == &other && waypoints.size() == static_cast<size_t>(n) &&
           std::equal(waypoints.begin(), waypoints.end(), other.waypoints.begin(),
                      [](const tcorner& a, const tcorner& b) { return a.x == b.x && a.y == b.y; });
}

const TrackLine& TrackLine_Of(const tworld& map) {
    static const TrackLine none;
    return Current().stamp.Matches(map) ? Current().line : none;
}

void TrackLine_Prepare(const tworld& map) {
    Current().stamp = MapStamp::Of(map);
    Current().line = TrackLine_Build(map);
}
