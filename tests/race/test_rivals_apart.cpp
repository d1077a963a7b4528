// Two computer cars of one form, started nose to tail on an open loop, do not
// stay there: the one behind makes a burst to pass or drops back, the one
// ahead pulls away from a rival that only sits behind it. Where one means to
// run further ahead than the other, they end the race in that order: it got
// by, or it gave way and took the other's place.
#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "race_fixture.h"
#include "world/driver.h"
#include "world/physics.h"
#include "world/standings.h"
#include "world/track_line.h"

namespace {

constexpr int kTicks = 3000;         // 90 s of racing
constexpr float kSecondTicks = 33.3f;   // 30 ms ticks

// The drivers' aggression, and how many waypoints further ahead the one
// starting behind means to run.
class RivalsApart : public RaceTest, public ::testing::WithParamInterface<std::tuple<float, float>> {};

TEST_P(RivalsApart, TwoEqualCarsSpendLittleOfTheRaceWithinASecondAndEndInTheirPlaces) {
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
        d.aggression = std::get<0>(GetParam());
    }
    At(behind).driver.target_lead = std::get<1>(GetParam());
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
    const tdriver& first = At(ahead).driver;
    const tdriver& second = At(behind).driver;
    if (first.target_lead != second.target_lead) {
        EXPECT_EQ(Race_Progress(world_map, ahead) > Race_Progress(world_map, behind), first.target_lead > second.target_lead);
    }
}

// From drivers that always drop back to ones that always go for the pass, the
// one behind meant to run with, ahead of or behind the other.
INSTANTIATE_TEST_SUITE_P(AggressionAndPlaces, RivalsApart,
                         ::testing::Combine(::testing::Values(0.0f, 0.5f, 1.0f), ::testing::Values(0.0f, 2.0f, -2.0f)));

}  // namespace
