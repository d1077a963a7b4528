// race_events.h: what one step of the race did that the player sees or hears.
// The race step only records it; the racing tick plays it, and acts on the end
// of the race, once the step is over.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "world/particles.h"
#include "world/world.h"

// A sound asked for by the step, with the arguments it is played with.
struct RaceSound {
    const char* name = "";     // registered name in sound_registry
    bool extended = false;     // played with offset, volume and frequency
    int32_t offset = 0;        // pan, hundredths of a dB
    int32_t volume = 0;
    int32_t frequency = 0;
};

struct RaceEvents {
    // The camera's top-left corner in the world as the step left it: the step
    // follows the player's car and judges what is on screen from here. None
    // when the game has no camera.
    std::optional<tcorner> camera;
    std::vector<RaceSound> sounds;         // in the order asked for
    std::vector<TEffect2d> particles;      // exhaust smoke and bonus bursts, in emission order
    bool finished = false;                 // the player's car ended the race in this step
    bool won = false;                      // ... as the first car to complete it

    // Asks for a particle, as Particles_Emit takes it.
    void Emit(const char* kind, int32_t fade, float x, float y, float vx, float vy, float size, int32_t colour);
};

// The camera's corner as the step starts from it: the main camera's, none without one.
std::optional<tcorner> Race_CameraView();

// Plays the step's sounds, emits its particles and moves the main camera to
// where the step left it, in the order the step asked for them.
void Race_PlayEffects(const RaceEvents& events);
