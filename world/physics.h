// physics.h: one tick of the race: car control, speed, drift, movement,
// collisions and the view on the player's car.
#pragma once

#include <optional>

#include "world/race_events.h"
#include "world/world.h"

// Advances the race one tick over the map, every object once in index order:
// water sways; each car is steered (the player's arrow keys or the computer
// driver), speeds up or coasts, drifts towards its heading, moves, takes
// bonuses, backs off what it hits and shoves what is dynamic; the view follows
// the player's car; dynamic props shove what they touch on screen. Bonuses
// taken during the tick leave the map without any object being skipped or
// stepped twice. `camera` is the camera's corner as the tick starts (none
// without a camera); the sounds, particles, camera and the end of the race
// come back as events for the caller to play.
RaceEvents Race_Update(tworld& map, std::optional<tcorner> camera);

// Degrees from the car's direction of travel (or its reverse while it backs
// up) to its heading, -180..180; 0 at rest. Steering stops at MAX_SLIP_DEGREES.
double Race_Slip(const tminimal& car);
