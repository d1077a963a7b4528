// race_sim.h: a whole race run headless: the real game on the recording
// backend with a virtual clock, the autopilot at the wheel, frames not drawn.
// The race simulator tool and the all-tracks test are built on it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/harness/race_battles.h"
#include "tools/harness/race_progress.h"

namespace harness {

struct RaceSimOptions {
    std::string data;          // the game's data folder (gfx/, sfx/, fnt/, wld/)
    std::string track;         // "beach1": races wld/beach1.wld
    uint64_t seed = 1;
    int difficulty = 1;        // 0 easy, 1 medium, 2 hard
    int kind = 0;              // the player's car kind, 0 jeep .. 3 turbo
    double limit_s = 600.0;    // racing time after the countdown before giving up
    // The player's car leaves the grid before the start and the computer cars
    // race alone until each has its four laps (or the limit passes).
    bool computer_only = false;
};

struct RaceSimCar {
    std::string kind;
    bool player = false;
    int laps = 0;                 // completed laps
    double four_laps_s = -1.0;    // racing time when the fourth lap was complete; -1: never
    double longest_still_s = 0.0; // the longest spell standing still before finishing
    bool stuck = false;           // stood still for more than 10 s before finishing
    std::vector<double> lap_done_s;   // racing time at which each completed lap was counted
    double best_lap_s = -1.0;     // the fastest completed lap; -1: none
    double average_lap_s = -1.0;  // over the completed laps; -1: none
    ProgressTrace progress;       // laps round the waypoint loop, every tick from the start signal
};

// The length of each completed lap, the first from the start signal.
std::vector<double> RaceSim_LapTimes(const RaceSimCar& car);

struct RaceSimResult {
    bool finished = false;        // the finish check ended the race
    bool player_won = false;
    int winner = -1;              // index into cars of the first finisher; -1: none
    int second = -1;              // the car farthest round the track when the winner finished; -1: none
    Gap gap;                      // how long the second car is behind the winner at the same place
    std::vector<RaceSimCar> cars; // in map order
    double race_s = 0.0;          // racing time from the start signal to the end
    int bonuses = 0;              // bonuses the player took
    int bonus_points = 0;
    int stuck = 0;                // cars that stood still for more than 10 s
    // The share of racing ticks in which two computer cars still racing were
    // within 100 px of each other.
    double computer_cars_bunched = 0.0;
    Battles battles;              // counted from the end of the opening seconds
    // The largest share of a race two computer cars spent within 1 s of each other.
    double rivals_close = 0.0;
    double tick_us_median = 0.0;
    double tick_us_p99 = 0.0;
    double tick_us_max = 0.0;
};

// Runs the race. False with a message when the data folder or the track
// cannot be used.
bool RaceSim_Run(const RaceSimOptions& options, RaceSimResult& result, std::string& error);

// The last line of a report, for scripts:
// "result: finished=1 player_won=0 player_laps=4 ai_laps=4,4,4 race_s=151.2 stuck=0 tick_us_median=85 ...
//  gap_s=6.3 gap_at_line=0 bunched=0.12 order_changes=5 overtakes=7 rivals_close=0.21"
// (gap_s=-1.0 when there is no winner or no second car)
std::string RaceSim_ResultLine(const RaceSimResult& result);

}  // namespace harness
