// race_rules.h: what turns driving into a race: bonuses near the waypoints,
// the player's laps, the four-lap limit, the first finisher, and the end of
// the race with its progress and score. What the player should see or hear
// is recorded in the step's events.
#pragma once

#include <cstdint>

#include "world/race_events.h"
#include "world/tuning.h"
#include "world/world.h"

// Reaching any of this many waypoints ahead but not the next is a missed
// checkpoint; the hint stays on screen MISSED_CHECKPOINT_MS.
constexpr int32_t MISSED_CHECKPOINT_LOOK = 3;
constexpr double MISSED_CHECKPOINT_MS = 2000.0;

// Forgets the laps and the first finisher, as the screens that lead to a race do.
void Race_ClearResult();

// May add bonuses near the waypoints while fewer than six are on the map: one
// chance in twice the waypoint count per waypoint that has none within 32 px.
void Bonus_Spawn(tworld& map);

// Car `car` takes object j if it is a bonus within 50 px: a burst, a sound when
// on the step's screen, the bonus leaves the map and the player's car scores
// its points for the race, and in a tournament race for the profile too. The removal shifts later objects down: `car` and first_finisher
// follow their car.
void Bonus_Collect(tworld& map, int32_t& car, int32_t j, RaceEvents& events);

// After the player's car has moved: takes the next waypoint in racing order
// when within PLAYER_WAYPOINT_REACH of it, or falls back to the first earlier
// one within reach, and counts a lap from the last to the first. A car that
// leaves the track cannot skip waypoints: a lap means the whole loop driven;
// coming within reach of one of the next MISSED_CHECKPOINT_LOOK waypoints
// without the next notes the time and that next waypoint in race.missed_*.
// Only waypoints less than half a loop ahead count, so driving backwards
// over the line is never taken for skipping forwards.
void Race_TrackWaypoints(tworld& map, int32_t car);

// Car i has completed its four laps: it takes its place in the finishing
// order with its racing time, and the first one to do so is the first finisher.
void Race_RecordFinisher(int32_t i);

// U_GetTime when the countdown ends and the cars are released.
double Race_ReleaseTime();
// Milliseconds the player has driven the lap in progress.
double Race_LapTime();

// At the start of the player's car step: four laps done and slower than 1.1
// ends the race: a sound, the finish and whether the player won in the
// events, and in a tournament race the progress (won) or the score (lost).
void Race_FinishCheck(tworld& map, int32_t i, RaceEvents& events);

// The player leaves the race. A tournament race left once the cars are
// released and before its finish counts as lost: the score drops as after a
// defeat (race.points_lost). True when it did; the countdown and a free race
// cost nothing.
bool Race_Abandon();
