#include "world/surface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "world/track_line.h"
#include "world/tuning.h"

namespace {

constexpr int32_t kCell = 32;   // px of ground one entry of the map stands for

// What a tile says about the ground: a surface of its own, the road's bends
// and edges (part road, part the track's ground), or nothing (decals).
enum class TileGround { Own, Mixed, None };

TileGround Classify(const std::string& kind, Surface& surface) {
    if (!IsLandKind(kind) || kind.starts_with("lnd_dcl")) return TileGround::None;
    if (kind.find("road") != std::string::npos || kind.starts_with("lnd_start")) {
        surface = Surface::Road;
        return TileGround::Own;
    }
    if (kind.find("_arc") != std::string::npos || kind.find("edge") != std::string::npos ||
        kind.find("inner") != std::string::npos)
        return TileGround::Mixed;
    static const std::array<std::pair<const char*, Surface>, 7> kGrounds = {{
        {"lnd_sand", Surface::Sand},
        {"lnd_grass", Surface::Grass},
        {"lnd_snow", Surface::Snow},
        {"lnd_ice", Surface::Ice},
        {"lnd_water", Surface::Water},
        {"lnd_pavement", Surface::Pavement},
        {"lnd_asphalt", Surface::Pavement},
    }};
    for (const auto& [prefix, ground] : kGrounds)
        if (kind.starts_with(prefix)) {
            surface = ground;
            return TileGround::Own;
        }
    return TileGround::None;
}

struct Ground {
    MapStamp stamp;
    int64_t left = 0, top = 0;       // world pixels of cell (0, 0)
    int64_t columns = 0, rows = 0;
    std::vector<Surface> cells;
};

Ground& Current() {
    static Ground ground;
    return ground;
}

// The track's own ground: the surface most of its tiles have.
Surface TrackGround(const tworld& map, int32_t count) {
    std::array<int32_t, 7> seen{};
    for (int32_t i = 0; i < count; ++i) {
        Surface s = Surface::Road;
        if (Classify(map.objects[i].kind, s) == TileGround::Own && s != Surface::Road) ++seen[static_cast<size_t>(s)];
    }
    const auto most = std::max_element(seen.begin(), seen.end());
    return *most > 0 ? static_cast<Surface>(most - seen.begin()) : Surface::Road;
}

// Sets every cell whose centre lies within `half` of the segment a-b to the road.
void StampRoad(Ground& g, float ax, float ay, float bx, float by, float half) {
    const int64_t c0 = static_cast<int64_t>(std::floor((std::min(ax, bx) - half - g.left) / kCell));
    const int64_t c1 = static_cast<int64_t>(std::floor((std::max(ax, bx) + half - g.left) / kCell));
    const int64_t r0 = static_cast<int64_t>(std::floor((std::min(ay, by) - half - g.top) / kCell));
    const int64_t r1 = static_cast<int64_t>(std::floor((std::max(ay, by) + half - g.top) / kCell));
    const float vx = bx - ax, vy = by - ay;
    const float len2 = std::max(vx * vx + vy * vy, 1e-6f);
    for (int64_t r = std::max<int64_t>(r0, 0); r <= std::min(r1, g.rows - 1); ++r)
        for (int64_t c = std::max<int64_t>(c0, 0); c <= std::min(c1, g.columns - 1); ++c) {
            const float px = static_cast<float>(g.left + c * kCell + kCell / 2);
            const float py = static_cast<float>(g.top + r * kCell + kCell / 2);
            const float t = std::clamp(((px - ax) * vx + (py - ay) * vy) / len2, 0.0f, 1.0f);
            const float dx = px - (ax + t * vx), dy = py - (ay + t * vy);
            if (dx * dx + dy * dy <= half * half) g.cells[static_cast<size_t>(r * g.columns + c)] = Surface::Road;
        }
}

}  // namespace

void Surface_Prepare(const tworld& map) {
    Ground& g = Current();
    g = Ground{};
    g.stamp = MapStamp::Of(map);
    const int32_t count = std::clamp(map.count, 0, WORLD_CAPACITY);
    int64_t x0 = INT64_MAX, y0 = INT64_MAX, x1 = INT64_MIN, y1 = INT64_MIN;
    for (int32_t i = 0; i < count; ++i) {
        const tminimal& o = map.objects[i];
        if (!IsLandKind(o.kind)) continue;
        x0 = std::min<int64_t>(x0, o.x - o.width / 2);
        x1 = std::max<int64_t>(x1, o.x + o.width / 2);
        y0 = std::min<int64_t>(y0, o.y - o.height);
        y1 = std::max<int64_t>(y1, o.y);
    }
    if (x0 >= x1 || y0 >= y1) return;
    g.left = x0;
    g.top = y0;
    g.columns = (x1 - x0 + kCell - 1) / kCell;
    g.rows = (y1 - y0 + kCell - 1) / kCell;
    if (g.columns * g.rows > SURFACE_MAP_CELLS_LIMIT) {
        g.columns = g.rows = 0;   // a map too large to chart drives as road
        return;
    }
    g.cells.assign(static_cast<size_t>(g.columns * g.rows), Surface::Road);
    const Surface own_ground = TrackGround(map, count);
    // Tiles in map order, the later drawn over the earlier.
    for (int32_t i = 0; i < count; ++i) {
        const tminimal& o = map.objects[i];
        Surface s = Surface::Road;
        const TileGround kind = Classify(o.kind, s);
        if (kind == TileGround::None) continue;
        if (kind == TileGround::Mixed) s = own_ground;
        const int64_t c0 = (o.x - o.width / 2 - g.left) / kCell, c1 = (o.x + o.width / 2 - 1 - g.left) / kCell;
        const int64_t r0 = (o.y - o.height - g.top) / kCell, r1 = (o.y - 1 - g.top) / kCell;
        for (int64_t r = std::max<int64_t>(r0, 0); r <= std::min(r1, g.rows - 1); ++r)
            for (int64_t c = std::max<int64_t>(c0, 0); c <= std::min(c1, g.columns - 1); ++c)
                g.cells[static_cast<size_t>(r * g.columns + c)] = s;
    }
    const TrackLine line = TrackLine_Build(map);
    const size_t n = line.points.size();
    for (size_t i = 0; i < n; ++i) {
        const LinePoint& a = line.points[i];
        const LinePoint& b = line.points[(i + 1) % n];
        StampRoad(g, a.x, a.y, b.x, b.y, ROAD_HALF_WIDTH);
    }
}

Surface Surface_At(const tworld& map, int32_t x, int32_t y) {
    const Ground& g = Current();
    if (g.cells.empty() || !g.stamp.Matches(map)) return Surface::Road;
    const int64_t c = (x - g.left) / kCell, r = (y - g.top) / kCell;
    if (x < g.left || y < g.top || c >= g.columns || r >= g.rows) return Surface::Road;
    return g.cells[static_cast<size_t>(r * g.columns + c)];
}
