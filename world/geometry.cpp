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

// The nearest of the given lamps (indices in increasing order).
tlamp_hit Nearest(const tworld& world, const std::vector<int32_t>& lamps, float x, float y) {
    double best = 2147483648.0;
    tlamp_hit hit;
    for (int32_t k : lamps) {
        const double d = M_Distance(world.objects[k].x, world.objects[k].y, x, y);
        if (d < best) {
            best = d;
            hit = {k, M_Round(best)};
        }
    }
    return hit;
}

std::vector<int32_t> Lamps(const tworld& world) {
    std::vector<int32_t> lamps;
    for (int32_t i = 0; i < Count(world); ++i)
        if (world.objects[i].kind == "lamp") lamps.push_back(i);
    return lamps;
}

// The light at a corner, measured from a point up and left of it.
int32_t LightAt(const tworld& world, const std::vector<int32_t>& lamps, int64_t x, int64_t y) {
    const int32_t d = Nearest(world, lamps, static_cast<float>(x - 128), static_cast<float>(y - 128)).distance;
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

tlamp_hit Geo_NearestLamp(const tworld& world, float x, float y) { return Nearest(world, Lamps(world), x, y); }

void Geo_CornerColours(tworld& world) {
    const std::vector<int32_t> lamps = Lamps(world);
    for (int32_t i = 0; i < Count(world); ++i) {
        tminimal& o = world.objects[i];
        const int64_t x0 = o.x, y0 = o.y, x1 = x0 + o.width, y1 = y0 + o.height;
        o.corner_colours = {LightAt(world, lamps, x0, y0), LightAt(world, lamps, x1, y0),
                            LightAt(world, lamps, x1, y1), LightAt(world, lamps, x0, y1)};
    }
}

void Geo_Shadows(tworld& world, uint8_t flag) {
    const std::vector<int32_t> lamps = Lamps(world);
    for (int32_t i = 0; i < Count(world); ++i) {
        tminimal& o = world.objects[i];
        if (o.dynamic != flag || !CastsShadow(o.kind)) continue;
        const tlamp_hit lamp = Nearest(world, lamps, static_cast<float>(o.x), static_cast<float>(o.y));
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
