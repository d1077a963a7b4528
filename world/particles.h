// particles.h: short-lived sprites: menu sparks and fireworks, exhaust smoke
// and the bursts of taken bonuses.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int32_t PARTICLE_CAPACITY = 4097;

// One particle.
struct TEffect2d {
    float fall = 0.0f;       // extra downward speed, grows by 0.4 a tick except for smoke
    int32_t fade = 0;        // alpha lost per tick
    int32_t colour = 0;      // tint 0xRRGGBB
    int32_t alpha = 0;       // starts at 255; its low byte is drawn
    float x = 0.0f;          // "light": screen pixels; "smoke", "blow": world pixels
    float y = 0.0f;
    float size = 0.0f;       // side of the square sprite
    std::string kind;        // "light", "smoke", "blow"; "delete" once expired
    float vx = 0.0f;         // pixels per tick, y grows downwards
    float vy = 0.0f;
};

// Live particles 0..count-1 in emission order.
struct Tpart_sys {
    std::array<TEffect2d, PARTICLE_CAPACITY> items;
    int32_t count = 0;
};

// The game's one particle system.
extern Tpart_sys particle_system;

// A new particle with fall 0 and alpha 255.
TEffect2d Particle_Make(const std::string& kind, int32_t fade, float x, float y, float vx, float vy, float size,
                        int32_t colour);
// Appends the particle as it is. A full system drops it.
void Particles_Add(Tpart_sys& system, TEffect2d particle);
// Appends a new particle (Particle_Make). A full system drops it.
void Particles_Emit(Tpart_sys& system, const std::string& kind, int32_t fade, float x, float y, float vx,
                    float vy, float size, int32_t colour);
// Moves every live particle one tick, then removes the expired ones keeping
// the order of the rest.
void Particles_Update(Tpart_sys& system);
// Removes every particle: a screen left behind takes its sparks with it.
void Particles_Clear(Tpart_sys& system);
// Draws every live particle in order: "light" in screen coordinates, "smoke"
// and "blow" in the world seen through the main camera. At `progress` below 1
// each is drawn that share of the way through its last tick's step and fade.
void DrawParticles(const Tpart_sys& system, float progress = 1.0f);
