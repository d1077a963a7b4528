#include "world/render.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "assets/texbase.h"
#include "core/state.h"
#include "engine/oe.h"
#include "world/minimap_route.h"
#include "world/tween.h"

namespace {

struct Size {
    int32_t w = 0;
    int32_t h = 0;
};

Size SizeOf(OE_Texture tex) { return tex ? Size{tex->width, tex->height} : Size{}; }

OE_Texture ObjectTexture(const std::string& name) { return TexBase_Find(object_registry, name); }

bool CastsDrawnShadow(const std::string& kind) {
    return !kind.starts_with("bn") && !IsLandKind(kind) && !IsCarKind(kind) && kind != "lamp" &&
           !IsBarrierKind(kind) && kind != "rak" && kind != "pen" && kind != "sball";
}

void DrawShadow(const tminimal& o, OE_Texture tex) {
    const auto [w, h] = SizeOf(tex);
    const int32_t s = o.shadow_strength;
    FX_SetColorMix(0);
    FX_SetVertexes(0, s - 128, 0, s - 128, 0, 0, 0, 0);
    SSprite_Draw(tex, M_Round(o.x - w / 2 - o.shadow_dx), M_Round(o.y - h / 2 - o.shadow_dy - 20.0), w, h,
                 s & 0xFF, o.shadow_angle, 41);
}

void DrawCar(const tminimal& o) {
    const std::string r = std::to_string(M_Round(o.frame));
    const int32_t b = o.bounce;
    const OE_Texture wheels = ObjectTexture(o.kind + "_wh" + r);
    const auto [ww, wh] = SizeOf(wheels);
    SSprite_Draw(wheels, o.x - ww / 2, o.y - wh - b, ww, wh, 255, 0, 1);
    const OE_Texture top = ObjectTexture(o.kind + "_tp" + r);
    const auto [w, h] = SizeOf(top);
    FX_SetColorMix(0);
    SSprite_Draw(top, M_Round(o.x - w / 2 - o.shadow_dx / 2), M_Round(o.y - h + 16 - o.shadow_dy / 2), w, h,
                 o.shadow_strength & 0xFF, 0, 9);
    FX_SetColorMix(o.colour);
    SSprite_Draw(top, o.x - w / 2, o.y - h + b, w, h, 255, 0, 9);
}

void DrawLit(const tminimal& o, OE_Texture tex) {
    const auto [w, h] = SizeOf(tex);
    const auto& c = o.corner_colours;
    FX_SetVCA(c[0], c[1], c[2], c[3], 255, 255, 255, 255);
    if (o.kind == "lnd_water") {
        const auto& v = o.corner_offsets;
        FX_SetVertexes(v[0].x, v[0].y, v[1].x, v[1].y, v[2].x, v[2].y, v[3].x, v[3].y);
        SSprite_Draw(tex, o.x - w / 2, o.y - h, w, h, 255, 0, 97);
    } else {
        SSprite_Draw(tex, o.x - w / 2, o.y - h, w, h, 255, 0, 65);
    }
}

void DrawObject(const tminimal& o) {
    const bool car = IsCarKind(o.kind);
    const OE_Texture tex = car ? nullptr : ObjectTexture(o.kind + std::to_string(M_Round(o.frame)));
    if (CastsDrawnShadow(o.kind)) DrawShadow(o, tex);
    if (car)
        DrawCar(o);
    else
        DrawLit(o, tex);
    if (o.kind == "lamp") {
        FX_SetBlendMode(1);
        SSprite_Draw(TexBase_Find(share_registry, "light"), o.x - 128, o.y - 230, 256, 256, 200, 0, 1);
        FX_SetBlendMode(0);
    } else if (o.kind.starts_with("bn")) {
        FX_SetBlendMode(1);
        FX_SetColorMix(0x00AAFF);
        SSprite_Draw(TexBase_Find(share_registry, "light"), o.x - 64, o.y - 80, 128, 128, 200, 0, 9);
        FX_SetBlendMode(0);
    }
}

// The route's picture, made again only when the waypoints change or the
// engine has let every texture go.
struct RouteCache {
    std::vector<tcorner> waypoints;
    uint64_t generation = 0;
    OE_Texture texture = nullptr;
    MinimapRoute route;
};

const MinimapRoute& RoutePicture(std::span<const tcorner> waypoints, OE_Texture& texture) {
    static RouteCache cache;
    const bool same = cache.generation == Tex_Generation() &&
                      std::equal(waypoints.begin(), waypoints.end(), cache.waypoints.begin(), cache.waypoints.end(),
                                 [](const tcorner& a, const tcorner& b) { return a.x == b.x && a.y == b.y; });
    if (!same) {
        if (cache.generation == Tex_Generation()) Tex_Free(cache.texture);
        cache.waypoints.assign(waypoints.begin(), waypoints.end());
        cache.route = Minimap_Route(waypoints);
        cache.texture = Tex_Create(cache.route.width, cache.route.height, cache.route.rgba.data());
        cache.route.rgba = std::vector<uint8_t>();   // the engine holds the pixels now
        cache.generation = Tex_Generation();
    }
    texture = cache.texture;
    return cache.route;
}

}  // namespace

void DrawWorld(const tworld& view, float progress) {
    if (game.main_camera) game.main_camera->enabled = 1;
    const int32_t count = std::clamp(view.count, 0, WORLD_CAPACITY);
    for (int32_t i = 0; i < count; ++i) {
        const tminimal& o = view.objects[i];
        if (o.kind.empty()) continue;
        const tcorner at = progress < 1.0f && o.dynamic ? Tween_Between(o.before_tick, {o.x, o.y}, progress)
                                                        : tcorner{o.x, o.y};
        if (at.x == o.x && at.y == o.y) {
            DrawObject(o);
            continue;
        }
        tminimal moving = o;
        moving.x = at.x;
        moving.y = at.y;
        DrawObject(moving);
    }
    if (game.main_camera) game.main_camera->enabled = 0;
}

void DrawMinimap(const tworld& map) {
    const int32_t n = std::clamp(map.waypoint_count, 0, WORLD_CAPACITY);
    int64_t min_x = 2147483647, min_y = 2147483647, max_x = -2147483647, max_y = -2147483647;
    for (int32_t i = 0; i < n; ++i) {
        min_x = std::min<int64_t>(min_x, map.waypoints[i].x);
        min_y = std::min<int64_t>(min_y, map.waypoints[i].y);
        max_x = std::max<int64_t>(max_x, map.waypoints[i].x);
        max_y = std::max<int64_t>(max_y, map.waypoints[i].y);
    }
    // Without waypoints the box keeps its smallest size.
    const int64_t w = n > 0 ? std::llabs(max_x - min_x) / 15 + 32 : 32;
    const int64_t h = n > 0 ? std::llabs(max_y - min_y) / 15 + 32 : 32;
    Pr2D_Rect(800 - w - 16, 600 - h - 16, w, h, 0, 64, 1);
    const int64_t ox = 800 - w, oy = 600 - h;
    if (n > 0) {
        OE_Texture texture = nullptr;
        const MinimapRoute& route = RoutePicture({map.waypoints.data(), size_t(n)}, texture);
        SSprite_Draw(texture, static_cast<float>(ox + route.left), static_cast<float>(oy + route.top), route.width,
                     route.height, 255, 0, 1);
    }
    const int32_t count = std::clamp(map.count, 0, WORLD_CAPACITY);
    for (int32_t i = 0; i < count; ++i) {
        const tminimal& o = map.objects[i];
        const float left = static_cast<float>(ox - 19 + Minimap_Scaled(o.x, min_x));
        const float top = static_cast<float>(oy - 19 + Minimap_Scaled(o.y, min_y));
        const std::string r = std::to_string(M_Round(o.frame));
        if (IsCarKind(o.kind)) {
            SSprite_Draw(ObjectTexture(o.kind + "_wh" + r), left, top, 32, 32, 255, 0, 1);
            FX_SetColorMix(o.colour);
            SSprite_Draw(ObjectTexture(o.kind + "_tp" + r), left, top, 32, 32, 255, 0, 9);
        } else if (o.kind == "lnd_start") {
            SSprite_Draw(ObjectTexture("lnd_start" + r), left, top, 32, 32, 255, 0, 1);
        }
    }
}
