// race_battles.h: how much racing a race held, measured from the cars'
// progress traces: how often the running order changed, how many times one car
// passed another, and how far apart in time each pair of cars drove.
#pragma once

#include <vector>

#include "tools/harness/race_progress.h"

namespace harness {

// One car as the battles see it: its progress every tick (all traces sampled
// at the same ticks) and when its race was complete (-1: never).
struct RacingCar {
    const ProgressTrace* progress = nullptr;
    double finished_s = -1.0;
};

struct PairGap {
    int a = 0;                    // indices into the cars given
    int b = 0;
    double mean_s = 0.0;          // the average time between them while both raced
    double close_share = 0.0;     // the share of that time they were within 1 s
};

struct Battles {
    int order_changes = 0;        // ticks after the opening at which the running order changed
    int overtakes = 0;            // one car passing another after the opening
    std::vector<PairGap> pairs;   // every pair that raced together, a < b
};

// A pass counts once the passing car leads by this much of a lap, so two cars
// side by side do not count a pass every tick.
constexpr double PASS_MARGIN_LAPS = 0.003;

// The battles of a race, counted from opening_s on; a car counts while it has
// not finished. The gap of the car behind is how long ago the car ahead was
// where it is now.
Battles RaceBattles(const std::vector<RacingCar>& cars, double opening_s);

}  // namespace harness
