// The race order: finishers as they finished, then laps and waypoints
// reached, then how close each car is to its next waypoint.
#include <string>
#include <vector>

#include "core/state.h"
#include "race_fixture.h"
#include "world/race_rules.h"
#include "world/race_timing.h"
#include "world/rivals.h"
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

// Two computer cars and the player on the square loop, timed as they reach
// waypoints (A skips one at 3100 ms); each row sets the waypoints reached over
// the race so far (-1: on the grid) and then notes the time.
TEST_F(Standings, GapsAreTheTimesTheCarsReachedTheSameWaypoint) {
    const int32_t a = Rival(0, 0, 0), b = Rival(0, 0, 0);
    const int32_t player = AddCar("jeep", 0, 0, 0);
    const struct {
        double ms;
        int32_t a, b, player;
    } timeline[] = {{0, 0, -1, 0}, {1000, 1, 0, 0}, {2000, 2, 1, 0}, {2600, 3, 2, 1},
                    {3100, 5, 3, 2}, {3400, 5, 3, 2}, {3900, 6, 4, 1}};   // the player turns back to 1
    for (const auto& row : timeline) {
        for (const auto& [car, reached] : {std::pair{a, row.a}, {b, row.b}}) {
            At(car).laps = (reached + 1) / 4;
            At(car).waypoint = (reached + 1) % 4;
        }
        race.player_laps = row.player / 4;
        At(player).waypoint = row.player % 4;
        RaceTiming_Update(world_map, row.ms);
    }
    EXPECT_EQ(RaceTiming_ReachedAt(a, 4), 3100.0);
    EXPECT_EQ(RaceTiming_ReachedAt(a, 5), 3100.0);
    EXPECT_EQ(RaceTiming_ReachedAt(b, 5), -1.0);
    EXPECT_EQ(RaceTiming_ReachedAt(player, 2), 3100.0);   // kept after turning back
    // B reached 4 at 3900, A at 3100; the player last reached 1, at 2600, B at 2000.
    EXPECT_EQ(RaceTiming_Gaps(world_map, {a, b, player}), (std::vector<double>{0.0, 800.0, 600.0}));
    EXPECT_EQ(RaceTiming_Gap(world_map, a, b), -1.0);         // B has not reached A's latest waypoint
    EXPECT_EQ(RaceTiming_LapsDown(world_map, player, a), 1);  // 6 against 1 of four a lap
    EXPECT_EQ(RaceTiming_LapsDown(world_map, b, a), 0);
    // Both finished: their finishing times tell.
    game.race_start_time = 0.0;
    game.current_time = COUNTDOWN_MS + 100000.0;
    Race_RecordFinisher(a);
    game.current_time += 1450.0;
    Race_RecordFinisher(b);
    EXPECT_DOUBLE_EQ(RaceTiming_Gap(world_map, b, a), 1450.0);
    // A car without a time at the waypoint has no gap yet.
    EXPECT_EQ(RaceTiming_Gap(world_map, Rival(0, 0, 2), a), -1.0);
}

TEST(RaceGaps, ReadAsSecondsAndTenthsOrLaps) {
    const std::pair<double, const char*> gaps[] = {{0, "+0.0"}, {1450, "+1.4"}, {65300, "+1:05.3"}, {-1, ""}};
    for (const auto& [ms, text] : gaps) EXPECT_EQ(RaceTiming_FormatGap(ms), text);
    EXPECT_EQ(RaceTiming_FormatLaps(1), "+1 lap");
    EXPECT_EQ(RaceTiming_FormatLaps(3), "+3 laps");
}

// Computer cars take their grid slot's name, counted in map order over the
// other objects; the player is "You".
TEST_F(Standings, RivalsAreNamedByTheirGridSlot) {
    AddProp("tree", 0, 0, 64, 0);
    const int32_t first = Rival(0, 0, 0);
    const int32_t player = AddCar("jeep", 0, 0, 0);
    const int32_t second = Rival(0, 0, 0), third = Rival(0, 0, 0);
    const std::pair<int32_t, const char*> names[] = {
        {first, "Aino"}, {player, "You"}, {second, "Veikko"}, {third, "Kaisa"}, {0, ""}, {-1, ""}, {99, ""}};
    for (const auto& [i, name] : names) EXPECT_EQ(Rival_Name(world_map, i), name) << i;
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
