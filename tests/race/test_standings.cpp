// The race order: finishers as they finished, then laps and waypoints
// reached, then how close each car is to its next waypoint.
#include <string>
#include <vector>

#include "core/state.h"
#include "race_fixture.h"
#include "world/race_rules.h"
#include "world/standings.h"
#include "world/tuning.h"

namespace {

// A square loop of four waypoints 1000 px apart.
class Standings : public RaceTest {
protected:
    void SetUp() override {
        RaceTest::SetUp();
        Race_ClearResult();
        for (const auto& [x, y] : {std::pair{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}) World_AddWaypoint(world_map, x, y);
    }

    // A computer car driving to `waypoint` with `laps` done.
    static int32_t Rival(int32_t x, int32_t y, int32_t waypoint, int32_t laps = 0) {
        const int32_t i = AddCar("car", x, y, 1);
        At(i).waypoint = waypoint;
        At(i).laps = laps;
        return i;
    }
};

struct OrderCase {
    const char* what;
    int32_t player_x, player_y, player_waypoint, player_laps;
    int32_t expected_position;
};

class RaceOrder : public Standings, public ::testing::WithParamInterface<OrderCase> {};

// The player against two computer cars: one halfway to waypoint 2 on lap 0,
// one just past the line on lap 1.
TEST_P(RaceOrder, PlacesThePlayerByLapsWaypointsAndDistance) {
    Rival(1000, 500, 2);
    Rival(100, 0, 1, 1);
    const OrderCase& c = GetParam();
    const int32_t player = AddCar("jeep", c.player_x, c.player_y, 0);
    At(player).waypoint = c.player_waypoint;
    race.player_laps = c.player_laps;
    EXPECT_EQ(Race_PlayerPosition(world_map), c.expected_position);
}

INSTANTIATE_TEST_SUITE_P(
    Standings, RaceOrder,
    ::testing::Values(OrderCase{"OnTheGridBehindEveryone", -200, 0, 0, 0, 3},
                      OrderCase{"NearerItsNextWaypointThanTheOtherOnTheSameLeg", 1000, 600, 1, 0, 2},
                      OrderCase{"FartherAlongTheSameLeg", 1000, 400, 1, 0, 3},
                      OrderCase{"APlaceAheadByAWaypointReached", 500, 1000, 2, 0, 2},
                      OrderCase{"LappedByTheLeader", 900, 0, 0, 0, 3},
                      OrderCase{"ALapAheadOfEveryone", 500, 0, 0, 2, 1}),
    [](const ::testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.what); });

TEST_F(Standings, FinishersKeepTheOrderTheyFinishedIn) {
    const int32_t slow = Rival(500, 0, 1, 4);     // finished first, now coasting
    const int32_t fast = Rival(900, 0, 1, 4);     // finished second, coasted farther
    const int32_t behind = Rival(0, 500, 0, 3);   // on its third lap's last leg
    const int32_t player = AddCar("jeep", 600, 1000, 3, 0);
    At(player).ai = 0;
    At(player).waypoint = 2;
    race.player_laps = 3;
    Race_RecordFinisher(slow);
    Race_RecordFinisher(fast);
    Race_RecordFinisher(slow);   // recorded once
    EXPECT_EQ(Race_Order(world_map), (std::vector<int32_t>{slow, fast, player, behind}));
    EXPECT_EQ(race.first_finisher, slow);
    EXPECT_EQ(Race_PlayerPosition(world_map), 3);
}

// Two finishers 1.5 s apart, then the player a waypoint behind a rival that
// has driven its two waypoints in 20 s: 10 s a waypoint.
TEST_F(Standings, GapsComeFromFinishingTimesAndTheCarAheadsPace) {
    game.race_start_time = 0.0;
    const int32_t first = Rival(0, 0, 1, 4);
    const int32_t second = Rival(0, 0, 1, 4);
    const int32_t ahead = Rival(1000, 1000, 3, 0);   // reached waypoint 2: progress 2
    const int32_t player = AddCar("jeep", 1000, 0, 0);
    At(player).waypoint = 1;                          // progress 1
    game.current_time = COUNTDOWN_MS + 100000.0;
    Race_RecordFinisher(first);
    game.current_time += 1500.0;
    Race_RecordFinisher(second);
    game.current_time = COUNTDOWN_MS + 20000.0;       // the others' pace is measured now
    const std::vector<int32_t> order = Race_Order(world_map);
    ASSERT_EQ(order, (std::vector<int32_t>{first, second, ahead, player}));
    const std::vector<double> gaps = Race_Gaps(world_map, order);
    EXPECT_DOUBLE_EQ(gaps[0], 0.0);
    EXPECT_DOUBLE_EQ(gaps[1], 1500.0);
    EXPECT_NEAR(gaps[3], 10000.0, 1.0);
    EXPECT_EQ(Race_FormatGap(gaps[1]), "+1.5");
    EXPECT_EQ(Race_FormatGap(65300.0), "+1:05.3");
    // Names: the computer cars by their order in the map, the player "You".
    EXPECT_EQ(Race_DriverName(world_map, first), "Aino");
    EXPECT_EQ(Race_DriverName(world_map, ahead), "Kaisa");
    EXPECT_EQ(Race_DriverName(world_map, player), "You");
}

TEST(RaceTimes, ReadAsMinutesSecondsAndTenths) {
    const std::pair<double, const char*> cases[] = {
        {0, "0:00.0"}, {31249, "0:31.2"}, {65300, "1:05.3"}, {600000, "10:00.0"}, {-1, "-:--.-"}};
    for (const auto& [ms, text] : cases) EXPECT_EQ(Race_FormatTime(ms), text);
}

TEST_F(Standings, ThePlayersLapsAreTimedFromTheRelease) {
    const int32_t car = AddCar("jeep", 0, 0, 0);
    game.race_start_time = 1000.0;   // released at 5000
    auto visit = [&](int32_t x, int32_t y, double at) {
        game.current_time = at;
        At(car).x = x;
        At(car).y = y;
        Race_TrackWaypoints(world_map, car);
    };
    const double laps_at[] = {40000, 72000, 100000, 131000};   // laps of 35, 32, 28 and 31 s
    for (double at : laps_at) {
        visit(1000, 0, at - 3000);
        visit(1000, 1000, at - 2000);
        visit(0, 1000, at - 1000);
        visit(0, 0, at);
    }
    EXPECT_EQ(race.player_laps, 4);
    EXPECT_DOUBLE_EQ(race.best_lap_ms, 28000);
    EXPECT_DOUBLE_EQ(race.race_ms, 126000);
}

TEST(Ordinals, ReadAsEnglish) {
    const std::pair<int, const char*> cases[] = {{1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},
                                                 {11, "11th"}, {12, "12th"}, {13, "13th"}, {21, "21st"}};
    for (const auto& [place, text] : cases) EXPECT_EQ(Race_Ordinal(place), text);
}

}  // namespace
