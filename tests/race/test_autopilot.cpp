// The autopilot drives through the engine's keys and never touches the car.
#include "app/tick.h"
#include "core/state.h"
#include "race_fixture.h"
#include "tools/harness/autopilot.h"
#include "world/physics.h"

namespace {

class Autopilot : public RaceTest {
protected:
    void SetUp() override {
        RaceTest::SetUp();
        game.state = STATE_RACE;
        game.race_start_time = 0.0;
        backend_->Advance(5000);
        car_ = AddCar("jeep", 0, 0, 0);
        At(car_).speed = 10.0f;
        World_AddWaypoint(world_map, 0, 0);
    }

    void TearDown() override {
        Autopilot_Enable(false);
        RaceTest::TearDown();
    }

    static std::vector<int> Held() {
        std::vector<int> keys;
        for (int key : {OE_KEY_LEFT, OE_KEY_UP, OE_KEY_RIGHT, OE_KEY_DOWN})
            if (Key_Down(key)) keys.push_back(key);
        return keys;
    }

    int32_t car_ = 0;
};

TEST_F(Autopilot, SteersTowardsTheNextWaypointWithTheArrowKeys) {
    World_AddWaypoint(world_map, -1000, -1000);   // up and to the left of a car facing up
    Autopilot_Enable(true);
    Autopilot_Drive();
    EXPECT_EQ(Held(), (std::vector<int>{OE_KEY_LEFT, OE_KEY_UP}));
    world_map.waypoints[1] = {1000, -1000};
    oe::Input_EndTurn(oe::InputReader::Frame);
    Autopilot_Drive();
    EXPECT_EQ(Held(), (std::vector<int>{OE_KEY_UP, OE_KEY_RIGHT}));
    world_map.waypoints[1] = {0, -1000};   // straight ahead
    oe::Input_EndTurn(oe::InputReader::Frame);
    Autopilot_Drive();
    EXPECT_EQ(Held(), (std::vector<int>{OE_KEY_UP}));
    // It only pressed keys: the car is where it was.
    EXPECT_EQ(At(car_).x, 0);
    EXPECT_EQ(At(car_).y, 0);
    EXPECT_EQ(At(car_).frame, 1.0f);
}

TEST_F(Autopilot, LetsGoWhenSwitchedOffOrOutsideTheRaceAndDoesNothingWhileOff) {
    World_AddWaypoint(world_map, 0, -1000);
    Autopilot_Drive();
    EXPECT_TRUE(Held().empty());
    Autopilot_Enable(true);
    EXPECT_TRUE(Autopilot_Enabled());
    Autopilot_Drive();
    EXPECT_EQ(Held(), (std::vector<int>{OE_KEY_UP}));
    Autopilot_Enable(false);
    oe::Input_EndTurn(oe::InputReader::Frame);
    EXPECT_TRUE(Held().empty());
    Autopilot_Enable(true);
    Autopilot_Drive();
    game.state = STATE_FINISHED;
    oe::Input_EndTurn(oe::InputReader::Frame);
    Autopilot_Drive();
    EXPECT_TRUE(Held().empty());
}

TEST_F(Autopilot, BacksOutWhenTheCarStandsCaught) {
    World_AddWaypoint(world_map, -1000, -1000);
    Autopilot_Enable(true);
    Autopilot_Drive();
    for (int t = 0; t < 50; ++t) {
        backend_->Advance(30);
        oe::Input_EndTurn(oe::InputReader::Frame);
        Autopilot_Drive();   // the car never moves
    }
    // Reversing, with the steering turned the other way.
    EXPECT_EQ(Held(), (std::vector<int>{OE_KEY_RIGHT, OE_KEY_DOWN}));
}

TEST_F(Autopilot, DrivesALapOfASquareTrack) {
    world_map.waypoint_count = 0;
    for (const auto& [x, y] : {std::pair{0, 0}, {0, -1500}, {-1500, -1500}, {-1500, 0}}) World_AddWaypoint(world_map, x, y);
    At(car_).speed = 0.0f;
    Autopilot_Enable(true);
    for (int t = 0; t < 3000 && race.player_laps == 0; ++t) {
        Autopilot_Drive();
        Race_Step(world_map);
        backend_->Advance(30);
        oe::Input_EndTurn(oe::InputReader::Frame);
    }
    EXPECT_EQ(race.player_laps, 1);
}

}  // namespace
