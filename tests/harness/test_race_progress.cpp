// Progress round the waypoint loop and the time behind at the same place, on
// hand-made loops and traces.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/harness/race_battles.h"
#include "tools/harness/race_progress.h"

namespace {

using harness::LoopPoint;
using harness::ProgressTrace;

double Length(const std::vector<LoopPoint>& loop) {
    double length = 0.0;
    for (size_t i = 0; i < loop.size(); ++i)
        length += std::hypot(loop[(i + 1) % loop.size()].x - loop[i].x, loop[(i + 1) % loop.size()].y - loop[i].y);
    return length;
}

// The point `along` px round the loop from waypoint 0, moved `aside` px
// square to the leg it is on.
LoopPoint PointAt(const std::vector<LoopPoint>& loop, double along, double aside) {
    along = std::fmod(std::fmod(along, Length(loop)) + Length(loop), Length(loop));
    for (size_t i = 0;; ++i) {
        const LoopPoint& a = loop[i];
        const LoopPoint& b = loop[(i + 1) % loop.size()];
        const double leg = std::hypot(b.x - a.x, b.y - a.y);
        if (along <= leg || i + 1 == loop.size()) {
            const double ux = (b.x - a.x) / leg, uy = (b.y - a.y) / leg;
            return {a.x + ux * along - uy * aside, a.y + uy * along + ux * aside};
        }
        along -= leg;
    }
}

struct LoopCase {
    const char* name;
    std::vector<LoopPoint> loop;
    double sway;   // how far the car weaves to either side of the loop
};

class FollowLoop : public ::testing::TestWithParam<LoopCase> {};

// A car starting behind waypoint 0 drives two laps weaving across the road,
// then backs up: its progress is where it is along the loop throughout.
TEST_P(FollowLoop, ProgressIsTheDistanceDrivenRoundTheLoop) {
    const LoopCase& c = GetParam();
    const double length = Length(c.loop);
    std::vector<double> path;
    for (double along = -100.0; along <= 2.0 * length + 50.0; along += 15.0) path.push_back(along);
    for (double along = 2.0 * length + 50.0; along >= 2.0 * length - 250.0; along -= 5.0) path.push_back(along);

    harness::LoopTracker tracker(c.loop);
    for (double along : path) {
        const LoopPoint p = PointAt(c.loop, along, c.sway * std::sin(along / 170.0));
        // Weaving near a corner can bring the car nearer the next leg than its
        // own: its foot there is up to twice the sway on.
        ASSERT_NEAR(tracker.Follow(p.x, p.y), along / length, (2.0 * c.sway + 1.0) / length) << "at " << along;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Loops, FollowLoop,
    ::testing::Values(
        LoopCase{"Square", {{0, 0}, {500, 0}, {1000, 0}, {1000, 500}, {1000, 1000}, {500, 1000}, {0, 1000}, {0, 500}},
                 40.0},
        // Two straights 600 px apart, run down with legs of 300 px as the tracks are.
        LoopCase{"Hairpins",
                 {{0, 0},    {300, 0},    {600, 0},   {900, 0},   {1200, 0}, {1500, 0}, {1800, 0},
                  {1800, 300}, {1800, 600}, {1500, 600}, {1200, 600}, {900, 600}, {600, 600}, {300, 600},
                  {0, 600},  {0, 300}},
                 120.0}),
    [](const ::testing::TestParamInfo<LoopCase>& info) { return std::string(info.param.name); });

TEST(FollowLoop, ALoopOfFewerThanTwoWaypointsHasNoProgress) {
    harness::LoopTracker tracker({{100, 100}});
    EXPECT_EQ(tracker.Follow(500, 500), 0.0);
}

struct GapCase {
    const char* name;
    ProgressTrace winner;
    double winner_finish_s;
    ProgressTrace second;
    double gap_s;
    bool at_line;
};

class GapAtSamePlace : public ::testing::TestWithParam<GapCase> {};

TEST_P(GapAtSamePlace, IsTheTimeBehindWhereTheWinnerFinished) {
    const GapCase& c = GetParam();
    const harness::Gap gap = harness::GapAtSamePlace(c.winner, c.winner_finish_s, c.second);
    EXPECT_NEAR(gap.s, c.gap_s, 1e-9);
    EXPECT_EQ(gap.at_line, c.at_line);
}

const ProgressTrace kWinner = {{0, 0}, {10, 1}, {20, 2}, {30, 3}, {40, 4}, {42, 4.1}};

INSTANTIATE_TEST_SUITE_P(
    Traces, GapAtSamePlace,
    ::testing::Values(
        // 3.6 laps at 40 s, 4.05 at 45 s: at the line 4/9 of the way.
        GapCase{"SecondCrossesTheLineLater", kWinner, 40, {{0, 0}, {40, 3.6}, {45, 4.05}}, 40.0 / 9.0, true},
        // The winner was at 3.6 laps 6 s before the race ended.
        GapCase{"RaceEndsBeforeTheSecondGetsThere", kWinner, 40, {{0, 0}, {42, 3.6}}, 6.0, false},
        GapCase{"StandingAndBackingUpCountAsTimeBehind", kWinner, 40, {{0, 0}, {30, 3.0}, {35, 3.0}, {42, 2.9}}, 13.0,
                false},
        // The winner's race was complete between two samples, at 3.5 laps.
        GapCase{"TheLineIsWhereTheWinnerWasAtItsFinish", {{0, 0}, {40, 4}}, 35, {{0, 0}, {50, 4}}, 8.75, true},
        GapCase{"LevelOnTheRoadIsNoGap", kWinner, 40, {{0, 0}, {39.9, 4.0}, {42, 4.2}}, 0.0, true},
        GapCase{"NoTraceCannotTell", kWinner, 40, {}, -1.0, false}),
    [](const ::testing::TestParamInfo<GapCase>& info) { return std::string(info.param.name); });

}  // namespace


namespace {

// Battles on made-up traces of two cars, every 0.1 s for 60 s: car 0 drives
// at a steady pace, car 1 at its own pace plus a swing that may carry it past.
struct BattleCase {
    const char* name;
    double pace1;        // laps a second of car 1, car 0 drives 0.01
    double swing;        // laps car 1 swings about its pace, once every 20 s
    int overtakes;       // counted after the first 10 s
    double close_share;  // within 1 s of each other
};

class RaceBattles : public ::testing::TestWithParam<BattleCase> {};

TEST_P(RaceBattles, CountPassesAndTimeGaps) {
    const BattleCase& c = GetParam();
    ProgressTrace car0, car1;
    for (int i = 0; i <= 600; ++i) {
        const double t = i * 0.1;
        car0.push_back({t, 0.01 * t});
        car1.push_back({t, c.pace1 * t - 0.001 + c.swing * std::sin(t * 2 * 3.14159265 / 20)});
    }
    const harness::Battles b = harness::RaceBattles({{&car0, -1.0}, {&car1, -1.0}}, 10.0);
    EXPECT_EQ(b.overtakes, c.overtakes);
    EXPECT_EQ(b.order_changes, c.overtakes);   // two cars: every pass changes the order
    ASSERT_EQ(b.pairs.size(), 1u);
    EXPECT_NEAR(b.pairs[0].close_share, c.close_share, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Traces, RaceBattles,
                         ::testing::Values(
                             // Nose to tail all race, never passing: 0.1 s apart.
                             BattleCase{"NoseToTail", 0.01, 0.0, 0, 1.0},
                             // Swinging 0.02 laps (2 s) about car 0: a pass each way every 20 s,
                             // two before 10 s do not count; 2 s apart at most.
                             BattleCase{"SwingPast", 0.01, 0.02, 5, 0.33},
                             // A swing smaller than the pass margin never counts as a pass.
                             BattleCase{"SideBySide", 0.01, 0.002, 0, 1.0},
                             // Pulling away at twice the pace: one early pass, then far apart.
                             BattleCase{"PullsAway", 0.02, 0.0, 0, 0.03}),
                         [](const ::testing::TestParamInfo<BattleCase>& info) { return std::string(info.param.name); });

}  // namespace
