// driver.h: the computer drivers. On a track with a centre line a driver
// follows the racing line, slows for the bends ahead, goes round slower cars
// and holds off faster ones, and every driver has a character of its own
// drawn when the race is set up; difficulty sets how well they drive. On a
// map without one it aims straight at its waypoint.
#pragma once

#include "world/world.h"

// Draws a character for every computer car of the map (from the game's
// generator, so the seed varies the race) at the difficulty, 0 easy .. 2 hard,
// and puts each on its own line across the road.
void Driver_Prepare(tworld& map, int32_t difficulty);

// One step for car i (ai 1) of the map: sets its angle, frame and throttle
// (1 drive, 0 lift, -1 brake or back up) and advances its waypoint and laps:
// the next waypoint once within 120 px of it or past it. Returns true when
// the car has finished its race (four laps, heading for waypoint 1): its
// throttle is then 0 and the caller records it as a finisher.
bool Driver_Step(tworld& map, int32_t i);
