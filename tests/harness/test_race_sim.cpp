// A whole race on a shipped track through the race simulator: the lap times
// add up to each car's four laps, progress round the loop follows the lap
// counters, and the winner's margin is timed and reported for scripts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string>

#include "tools/harness/race_sim.h"

namespace {

constexpr double kTickS = 0.03;

struct RaceCase {
    const char* name;
    int difficulty;
    bool computer_only;
};

class RaceSimReport : public ::testing::TestWithParam<RaceCase> {};

TEST_P(RaceSimReport, LapTimesProgressAndTheWinnersMargin) {
    harness::RaceSimOptions options;
    options.data = KORVAMO_TEST_DATA;
    options.track = "beach1";
    options.difficulty = GetParam().difficulty;
    options.computer_only = GetParam().computer_only;
    harness::RaceSimResult r;
    std::string error;
    ASSERT_TRUE(harness::RaceSim_Run(options, r, error)) << error;
    const std::string line = harness::RaceSim_ResultLine(r);

    for (size_t k = 0; k < r.cars.size(); ++k) {
        const harness::RaceSimCar& car = r.cars[k];
        SCOPED_TRACE("car " + std::to_string(k) + ": " + line);
        const std::vector<double> laps = harness::RaceSim_LapTimes(car);
        ASSERT_EQ(laps.size(), static_cast<size_t>(car.laps));
        for (double lap : laps) EXPECT_GT(lap, 0.0);
        if (car.laps >= 4) {
            EXPECT_NEAR(std::accumulate(laps.begin(), laps.begin() + 4, 0.0), car.four_laps_s, kTickS);
        }
        if (!laps.empty()) {
            EXPECT_EQ(car.best_lap_s, *std::min_element(laps.begin(), laps.end()));
            EXPECT_NEAR(car.average_lap_s * static_cast<double>(laps.size()), car.lap_done_s.back(), 1e-9);
        }
        // Progress never jumps, and at the end it agrees with the lap counter
        // (which counts a lap a little before or after the line).
        ASSERT_FALSE(car.progress.empty());
        for (size_t i = 1; i < car.progress.size(); ++i)
            ASSERT_LT(std::abs(car.progress[i].laps - car.progress[i - 1].laps), 0.02) << "at " << car.progress[i].t_s;
        EXPECT_NEAR(car.progress.back().laps, car.laps, 1.0);
    }
    if (r.winner >= 0) {
        EXPECT_GE(r.second, 0);
        EXPECT_NE(r.second, r.winner);
        EXPECT_GE(r.gap.s, 0.0) << line;
    }
    char tail[160];
    std::snprintf(tail, sizeof tail, " gap_s=%.1f gap_at_line=%d bunched=%.2f order_changes=%d overtakes=%d rivals_close=%.2f",
                  r.gap.s, r.gap.at_line ? 1 : 0, r.computer_cars_bunched, r.battles.order_changes,
                  r.battles.overtakes, r.rivals_close);
    EXPECT_TRUE(line.starts_with("result: finished=")) << line;
    EXPECT_TRUE(line.ends_with(tail)) << line;
}

INSTANTIATE_TEST_SUITE_P(Races, RaceSimReport,
                         ::testing::Values(RaceCase{"Medium", 1, false}, RaceCase{"Hard", 2, false},
                                           RaceCase{"ComputerCarsAlone", 1, true}),
                         [](const ::testing::TestParamInfo<RaceCase>& info) { return std::string(info.param.name); });

}  // namespace
