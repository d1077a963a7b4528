// tick.h: the 30 ms game tick that drives the state machine.
#pragma once

#include "world/world.h"

void GameTick();

// One step of the race over the map, acted on: its sounds, particles and
// camera, and at the end of the race the result window and the finished state.
void Race_Step(tworld& map);
