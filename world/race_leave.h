// race_leave.h: what leaving a race before its end costs the player.
#pragma once

#include <cstdint>

// A lost tournament race costs this many points of the profile's score.
constexpr int32_t RACE_DEFEAT_POINTS = 1000;

// Whether leaving the race now counts as a lost race: a tournament race,
// running or paused, once the cars are released and before the player's car
// has done its last lap. The countdown and a free race are free to leave.
bool Race_LeavingCountsAsLost();

// The points leaving now would cost: a defeat's 1000, never more than the
// score; 0 when leaving is free.
int32_t Race_LeavingCost();
