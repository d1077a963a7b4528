#include "world/particles.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "assets/texbase.h"
#include "core/state.h"
#include "engine/oe.h"

Tpart_sys particle_system;

namespace {

int32_t Live(const Tpart_sys& system) { return std::clamp(system.count, 0, PARTICLE_CAPACITY); }

void Step(TEffect2d& p) {
    p.fall = p.kind == "smoke" ? 0.0f : p.fall + 0.4f;
    p.alpha -= p.fade;
    p.x += p.vx;
    p.y += p.vy + p.fall;
    if (p.alpha < 1) {
        p.fall = 0.0f;
        p.kind = "delete";
        p.alpha = 255;
    }
}

// Where and how opaque a particle is drawn: `progress` of the way through the
// step Step last made.
struct Shown {
    float x;
    float y;
    int32_t alpha;
};

Shown PartWayThroughStep(const TEffect2d& p, float progress) {
    if (progress >= 1.0f) return {p.x, p.y, p.alpha};
    const float back = 1.0f - progress;
    const int32_t faded = static_cast<int32_t>(std::lround(static_cast<float>(p.fade) * back));
    return {p.x - p.vx * back, p.y - (p.vy + p.fall) * back, std::min(255, p.alpha + faded)};
}

void DrawOne(const TEffect2d& p, int32_t alpha, OE_Texture tex, int blend, float left, float top) {
    const int32_t s = M_Round(p.size);
    FX_SetBlendMode(blend);
    FX_SetColorMix(p.colour);
    SSprite_Draw(tex, M_Round(left), M_Round(top), s, s, alpha & 0xFF, 0, 9);
    FX_SetBlendMode(0);
}

}  // namespace

TEffect2d Particle_Make(const std::string& kind, int32_t fade, float x, float y, float vx, float vy, float size,
                        int32_t colour) {
    TEffect2d p;
    p.fade = fade;
    p.colour = colour;
    p.alpha = 255;
    p.x = x;
    p.y = y;
    p.size = size;
    p.kind = kind;
    p.vx = vx;
    p.vy = vy;
    return p;
}

void Particles_Add(Tpart_sys& system, TEffect2d particle) {
    if (system.count < 0 || system.count >= PARTICLE_CAPACITY) return;
    system.items[system.count++] = std::move(particle);
}

void Particles_Emit(Tpart_sys& system, const std::string& kind, int32_t fade, float x, float y, float vx,
                    float vy, float size, int32_t colour) {
    Particles_Add(system, Particle_Make(kind, fade, x, y, vx, vy, size, colour));
}

void Particles_Update(Tpart_sys& system) {
    const auto begin = system.items.begin();
    const auto end = begin + Live(system);
    std::for_each(begin, end, Step);
    // remove_if keeps the survivors' order and works in place.
    const auto kept = std::remove_if(begin, end, [](const TEffect2d& p) { return p.kind == "delete"; });
    system.count = static_cast<int32_t>(kept - begin);
}

void DrawParticles(const Tpart_sys& system, float progress) {
    const float cam_x = game.main_camera ? static_cast<float>(game.main_camera->x) : 0.0f;
    const float cam_y = game.main_camera ? static_cast<float>(game.main_camera->y) : 0.0f;
    const OE_Texture light = TexBase_Find(share_registry, "light");
    const OE_Texture smoke = TexBase_Find(share_registry, "smoke");
    for (int32_t i = 0; i < Live(system); ++i) {
        const TEffect2d& p = system.items[i];
        const auto [x, y, alpha] = PartWayThroughStep(p, progress);
        if (p.kind == "light")
            DrawOne(p, alpha, light, 1, x - p.size / 2, y);
        else if (p.kind == "smoke")
            DrawOne(p, alpha, smoke, 0, x - cam_x - p.size / 2, y - cam_y - p.size / 2);
        else if (p.kind == "blow")
            DrawOne(p, alpha, light, 1, x - p.size / 2 - cam_x, y - cam_y - p.size / 2);
    }
}

void Particles_Clear(Tpart_sys& system) { system.count = 0; }
