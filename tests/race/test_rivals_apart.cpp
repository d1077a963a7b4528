// Two computer cars of one form, started nose to tail on an open loop, do not
// stay there: the one behind makes a burst to pass or drops back, the one
// ahead pulls away from a rival that only sits behind it.
#include <algorithm>
#include <cstdlib>

#include "race_fixture.h"
#include "world/driver.h"
#include "world/physics.h"
#include "world/track_line.h"

namespace {

constexpr int kTicks = 3000;         // 90 s of racing
constexpr float kSecondTicks = 33.3f;   // 30 ms ticks

class RivalsApart : public RaceTest, public ::testing::WithParamInterface<float> {};

TEST_P(RivalsApart, TwoEqualCarsSpendLittleOfTheRaceWithinASecond) {
    for (const tcorner& w : {tcorner{0, 0}, tcorner{6000, 0}, tcorner{6000, 3000}, tcorner{0, 3000}})
        World_AddWaypoint(world_map, w.x, w.y);
    const int32_t ahead = AddCar("car", 1200, 0, 1, 16);
    const int32_t behind = AddCar("car", 1000, 0, 1, 16);
    for (const int32_t car : {ahead, behind}) {
        At(car).waypoint = 1;
        At(car).angle = 0;
    }
    TrackLine_Prepare(world_map);
    Driver_Prepare(world_map, 1);
    for (const int32_t car : {ahead, behind}) {
        tdriver& d = At(car).driver;
        d.pace = d.cornering = d.stamina = 1.0f;
        d.target_lead = d.mistakes = d.own_lane = d.lane = d.lane_target = 0.0f;
        d.launch = 0;
        d.aggression = GetParam();
    }
    const TrackLine& line = TrackLine_Of(world_map);
    const auto n = static_cast<int32_t>(line.points.size());
    ASSERT_GT(n, 0);
    int close = 0;
    for (int t = 0; t < kTicks; ++t) {
        Race_Update(world_map, std::nullopt);
        const int32_t apart = std::abs(At(ahead).driver.line - At(behind).driver.line);
        const float gap = static_cast<float>(std::min(apart, n - apart)) * line.spacing;
        close += gap < std::max(At(ahead).speed, At(behind).speed) * kSecondTicks;
    }
    EXPECT_LT(close, kTicks * 4 / 10);
}

// From a driver that always drops back to one that always goes for the pass.
INSTANTIATE_TEST_SUITE_P(Aggression, RivalsApart, ::testing::Values(0.0f, 0.5f, 1.0f));

}  // namespace
