// driver.h: the computer driver: aim straight at the current waypoint and take
// the next one within 120 px.
#pragma once

#include "world/world.h"

// One step for car i (ai 1) of the map: sets its angle, frame and throttle and
// advances its waypoint and laps. Returns true when the car has finished its
// race (four laps, heading for waypoint 1): its throttle is then 0 and the
// caller records it as a finisher.
bool Driver_Step(tworld& map, int32_t i);
