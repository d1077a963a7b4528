#include "world/race_events.h"

#include "assets/soundbase.h"
#include "core/state.h"

void RaceEvents::Emit(const char* kind, int32_t fade, float x, float y, float vx, float vy, float size,
                      int32_t colour) {
    particles.push_back(Particle_Make(kind, fade, x, y, vx, vy, size, colour));
}

std::optional<tcorner> Race_CameraView() {
    if (!game.main_camera) return std::nullopt;
    return tcorner{game.main_camera->x, game.main_camera->y};
}

void Race_PlayEffects(const RaceEvents& events) {
    for (const RaceSound& s : events.sounds) {
        if (s.extended)
            SndBase_PlayEx(sound_registry, s.name, s.offset, s.volume, false, s.frequency);
        else
            SndBase_Play(sound_registry, s.name, false);
    }
    for (const TEffect2d& p : events.particles) Particles_Add(particle_system, p);
    if (events.camera && game.main_camera) {
        game.main_camera->x = events.camera->x;
        game.main_camera->y = events.camera->y;
    }
}
