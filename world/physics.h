// physics.h: one tick of the race: car control, speed, drift, movement,
// collisions and the camera on the player's car.
#pragma once

#include <cstdint>

#include "world/world.h"

// The player's car position at its latest step; computer cars' engines are
// heard by their distance from it.
extern int32_t player_x;
extern int32_t player_y;

// Advances the race one tick over the map, every object once in index order:
// water sways; each car is steered (the player's arrow keys or the computer
// driver), speeds up or coasts, drifts towards its heading, moves, takes
// bonuses, backs off what it hits and shoves what is dynamic; the camera
// centres on the player's car; dynamic props shove what they touch on screen.
// Bonuses taken during the tick leave the map without any object being
// skipped or stepped twice.
void Race_Update(tworld& map);
