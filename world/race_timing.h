// race_timing.h: the racing time at which every car reached each waypoint
// over the whole race, kept in race.waypoint_ms, and the gaps between the
// cars that follow from it: B runs behind A by the time B reached its latest
// waypoint less the time A reached that same waypoint.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/world.h"

// Notes racing time `ms` for every waypoint each car of the map has reached
// since the last call (all of them when a car skipped some in between).
void RaceTiming_Update(const tworld& map, double ms);

// The racing time at which car i reached its k-th waypoint of the race
// (from 0); -1 when it has not.
double RaceTiming_ReachedAt(int32_t i, int32_t k);

// How far car `behind` runs behind car `ahead`, in milliseconds: by their
// finishing times when both finished, else at the latest waypoint `behind`
// reached; -1 when either has no time there.
double RaceTiming_Gap(const tworld& map, int32_t behind, int32_t ahead);

// For each car of `order`, its gap to the car before it (-1 unknown); 0 for the first.
std::vector<double> RaceTiming_Gaps(const tworld& map, const std::vector<int32_t>& order);

// Whole laps car `behind` is down on car `ahead` by the waypoints they reached.
int32_t RaceTiming_LapsDown(const tworld& map, int32_t behind, int32_t ahead);

// A gap as "+1.4", or "+1:05.3" from a minute on; "" for an unknown one.
std::string RaceTiming_FormatGap(double ms);

// "+1 lap", "+2 laps".
std::string RaceTiming_FormatLaps(int32_t laps);
