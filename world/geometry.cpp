#include "world/geometry.h"

#include <algorithm>
#include <vector>

#include "assets/texbase.h"
#include "engine/oe.h"

namespace {

int32_t Count(const tworld& world) { return std::clamp(world.count, 0, WORLD_CAPACITY); }

bool CastsShadow(const std::string& kind) {
    return kind != "pen" && kind != "rak" && kind != "sball" && !IsBarrierKind(kind) && kind != "lamp" &&
           !IsLandKind(kind);
}

// Lamps farther than this light nothing.
constexpr double kFarthestLamp = 2147483648.0;

// A lamp where the search for the nearest reads it: side by side with the
// others, not among the fields of its object.
struct LampPoint {
    double x = 0, y = 0;
    int32_t index = 0;
};

// The world's lamps in order of x.
std::vector<LampPoint> Lamps(const tworld& world) {
    std::vector<LampPoint> lamps;
    for (int32_t i = 0; i < Count(world); ++i)
        if (const tminimal& o = world.objects[i]; o.kind == "lamp") lamps.push_back({double(o.x), double(o.y), i});
    std::sort(lamps.begin(), lamps.end(), [](const LampPoint& a, const LampPoint& b) { return a.x < b.x; });
    return lamps;
}

// The nearest lamp (of two equally near, the one first in the world). Squared
// distances order the lamps as the distances do on any map a game has, whose
// coordinates differ by far less than 2^26, without a square root each; the
// search walks out from x both ways and stops where x alone is too far; the
// winner's distance is then measured as ever.
tlamp_hit Nearest(const std::vector<LampPoint>& lamps, float x, float y) {
    double best = kFarthestLamp * kFarthestLamp;
    const LampPoint* nearest = nullptr;
    auto consider = [&](const LampPoint& lamp) {
        const double dx = lamp.x - double{x}, dy = lamp.y - double{y};
        const double squared = dx * dx + dy * dy;
        if (squared < best || (squared == best && nearest && lamp.index < nearest->index)) {
            best = squared;
            nearest = &lamp;
        }
    };
    auto within = [&](const LampPoint& lamp) { return (lamp.x - double{x}) * (lamp.x - double{x}) <= best; };
    const auto start = std::lower_bound(lamps.begin(), lamps.end(), double{x},
                                        [](const LampPoint& lamp, double v) { return lamp.x < v; });
    for (auto it = start; it != lamps.end() && within(*it); ++it) consider(*it);
    for (auto it = start; it != lamps.begin() && within(*(it - 1)); --it) consider(*(it - 1));
    if (!nearest) return tlamp_hit{};
    return {nearest->index, M_Round(M_Distance(nearest->x, nearest->y, x, y))};
}

// The light at a corner, measured from a point up and left of it.
int32_t LightAt(const std::vector<LampPoint>& lamps, int64_t x, int64_t y) {
    const int32_t d = Nearest(lamps, static_cast<float>(x - 128), static_cast<float>(y - 128)).distance;
    const int32_t level = std::max(15 - d / 50, 0);
    return std::min(level * 0x111111 + 0x111111, 0xFFFFFF);
}

}  // namespace

int32_t Geo_WrapDegrees(int32_t v) {
    if (v < 0) {
        v %= 360;
        return v < 0 ? v + 360 : v;
    }
    return v > 360 ? (v - 1) % 360 + 1 : v;
}

void Geo_SetSizes(tworld& world) {
    for (int32_t i = 0; i < Count(world); ++i) {
        tminimal& o = world.objects[i];
        const OE_Texture tex = TexBase_Find(object_registry, o.kind + (IsCarKind(o.kind) ? "_wh1" : "1"));
        o.width = tex ? tex->width : 0;
        o.height = tex ? tex->height : 0;
        o.radius = o.width / 4;
    }
}

tlamp_hit Geo_NearestLamp(const tworld& world, float x, float y) { return Nearest(Lamps(world), x, y); }

void Geo_CornerColours(tworld& world) {
    const std::vector<LampPoint> lamps = Lamps(world);
    for (int32_t i = 0; i < Count(world); ++i) {
        tminimal& o = world.objects[i];
        const int64_t x0 = o.x, y0 = o.y, x1 = x0 + o.width, y1 = y0 + o.height;
        o.corner_colours = {LightAt(lamps, x0, y0), LightAt(lamps, x1, y0), LightAt(lamps, x1, y1),
                            LightAt(lamps, x0, y1)};
    }
}

void Geo_Shadows(tworld& world, uint8_t flag) {
    const std::vector<LampPoint> lamps = Lamps(world);
    for (int32_t i = 0; i < Count(world); ++i) {
        tminimal& o = world.objects[i];
        if (o.dynamic != flag || !CastsShadow(o.kind)) continue;
        const tlamp_hit lamp = Nearest(lamps, static_cast<float>(o.x), static_cast<float>(o.y));
        o.shadow_strength = std::max(128 - lamp.distance / 3, 0);
        const tminimal& source = world.objects[lamp.index];
        o.shadow_angle = M_FindAngle(o.x, o.y, source.x, source.y) + 90;
        o.shadow_dx = 0.0f;
        o.shadow_dy = static_cast<float>(o.height / 2 - 20);
        Geo_Rotate(o.shadow_dx, o.shadow_dy, o.shadow_angle);
    }
}

void Geo_Rotate(float& p, float& q, int32_t a) {
    const double ca = M_Cos(a);
    const double sa = M_Sin(a);
    const double old_p = p;
    p = static_cast<float>(p * ca - q * sa);
    q = static_cast<float>(q * ca + old_p * sa);
}
