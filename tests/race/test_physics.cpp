// The car update: speed, steering, drift, movement, collisions, water and the
// camera, driven through Race_Update and the arrow keys.
#include <cmath>

#include "app/tick.h"
#include "core/state.h"
#include "engine/pad.h"
#include "race_fixture.h"
#include "world/physics.h"
#include "world/tuning.h"

namespace {

class Physics : public RaceTest {};

// Ticks of Race_Update until `done` holds (at most 1000).
template <class Done>
int TicksUntil(Done done) {
    int ticks = 0;
    while (!done() && ticks < 1000) {
        Race_Step(world_map);
        ++ticks;
    }
    return ticks;
}

TEST_F(Physics, FromStandstillItTakes25TicksToPass1And8MoreToReach15) {
    const int32_t car = AddCar("jeep", 0, 0, 0, 15);
    Hold({OE_KEY_UP});
    EXPECT_EQ(TicksUntil([&] { return At(car).speed > 1.0f; }), 25);
    EXPECT_EQ(TicksUntil([&] { return At(car).speed >= 15.0f; }), 8);
    Race_Step(world_map);
    EXPECT_EQ(At(car).speed, 15.0f);   // capped at the top speed
}

TEST_F(Physics, FromRestAt1ItTakes9TicksToReach15) {
    const int32_t car = AddCar("jeep", 0, 0, 0, 15);
    At(car).speed = 1.0f;
    Hold({OE_KEY_UP});
    EXPECT_EQ(TicksUntil([&] { return At(car).speed >= 15.0f; }), 9);
}

TEST_F(Physics, CoastingFrom18Takes28TicksToComeToRest) {
    const int32_t car = AddCar("turbo", 0, 0, 0, 18);
    At(car).speed = 18.0f;
    At(car).vx = 0.5f;
    At(car).vy = -0.5f;
    EXPECT_EQ(TicksUntil([&] { return At(car).vx == 0.0f; }), 28);
    EXPECT_EQ(At(car).speed, 1.0f);
    EXPECT_EQ(At(car).vy, 0.0f);
    EXPECT_EQ(At(car).throttle, 0);
}

TEST_F(Physics, SteeringIsProportionalToSpeedAndDownBeatsUp) {
    const int32_t car = AddCar("jeep", 0, 0, 0, 15);
    At(car).frame = 5.0f;
    At(car).speed = 1.0f;
    Hold({OE_KEY_LEFT});   // no throttle: the car coasts and stays at 1.0
    Race_Step(world_map);
    EXPECT_NEAR(At(car).frame, 5.02f, 1e-5);
    At(car).speed = 10.0f;
    Hold({OE_KEY_RIGHT, OE_KEY_UP, OE_KEY_DOWN});
    Race_Step(world_map);
    // Steering reads the speed before this tick's acceleration.
    EXPECT_NEAR(At(car).frame, 5.02f - 0.2f, 1e-5);
    EXPECT_EQ(At(car).throttle, -1);
    EXPECT_EQ(At(car).angle, -M_Round((At(car).frame - 1) * 22.5 - 90));
}

TEST_F(Physics, AGameControllerDrivesWithAAndBAndSteersWithItsStick) {
    const int32_t car = AddCar("jeep", 0, 0, 0, 15);
    At(car).frame = 5.0f;
    At(car).speed = 10.0f;
    oe::PadKeys pad;
    pad.Button(oe::PadButton::A, true);
    pad.Stick(-1.0f, 0.0f);
    Race_Step(world_map);
    EXPECT_EQ(At(car).throttle, 1);
    EXPECT_NEAR(At(car).frame, 5.2f, 1e-5);
    pad.Button(oe::PadButton::A, false);
    pad.Button(oe::PadButton::B, true);
    Race_Step(world_map);
    EXPECT_EQ(At(car).throttle, -1);
}

TEST_F(Physics, ThePlayerWrapsTheFrameWhileAComputerCarClampsIt) {
    const int32_t player = AddCar("jeep", 0, 0, 0, 15);
    At(player).speed = 1.0f;
    At(player).frame = 1.01f;
    Hold({OE_KEY_RIGHT});   // 1.01 - 0.02 = 0.99
    Race_Step(world_map);
    EXPECT_EQ(At(player).frame, 16.0f);
    At(player).frame = 15.99f;
    Hold({OE_KEY_LEFT});   // 16.01
    Race_Step(world_map);
    EXPECT_EQ(At(player).frame, 1.0f);

    const int32_t computer = AddCar("jeep", 0, 5000, 1, 15);
    World_AddWaypoint(world_map, 17, 4000);   // angle 91: 90 - 91 wraps to 359, frame 16.96
    Hold({});
    Race_Step(world_map);
    EXPECT_EQ(At(computer).frame, 16.0f);
}

TEST_F(Physics, GripTurnsTheTravelTowardsTheHeadingBySpeedOverKAndAFloor) {
    // Frame 13: heading angle 180, (hx, hy) = (-1, 0); the car moves right.
    const int32_t car = AddCar("turbo", 0, 0, 0, 18);   // k = (20 - 18) * 50 + 200 = 300
    At(car).frame = 13.0f;
    At(car).speed = 14.0f;   // 14 x 1.4 caps at 18
    Hold({OE_KEY_UP});
    Race_Step(world_map);
    EXPECT_EQ(At(car).speed, 18.0f);
    EXPECT_FLOAT_EQ(At(car).vx, -(18.0f / 300 + GRIP_FLOOR));
    // vy: below 0 (hy) is false, above it is false: stays 0.
    EXPECT_EQ(At(car).vy, 0.0f);
    EXPECT_EQ(At(car).x, M_Round((18.0f / 300 + GRIP_FLOOR) * 18.0f));
    EXPECT_EQ(At(car).y, 0);
}

TEST_F(Physics, AComputerCarDrivesStraightAtItsWaypoint) {
    const int32_t car = AddCar("car", 1000, 1000, 1, 16);
    World_AddWaypoint(world_map, 1000, 0);
    Hold({});
    for (int i = 0; i < 60; ++i) Race_Step(world_map);
    EXPECT_EQ(At(car).x, 1000);
    EXPECT_LT(At(car).y, 900);
    EXPECT_GT(At(car).y, 120);
    EXPECT_EQ(At(car).speed, 16.0f);
}

TEST_F(Physics, AStaticPropPushesOnlyTheCarBack) {
    const int32_t car = AddCar("jeep", 0, 0, 0, 15);
    const int32_t rock = AddProp("rock", 0, -40, 64, 0);
    At(car).speed = 10.0f;
    Hold({});
    Race_Step(world_map);
    // Centres (0, -16) and (0, -56): 40 apart, reach 16 + 2 x 16 = 48, overlap 8.
    // The car is pushed along M_FindAngle(car, rock) = 90: straight down.
    EXPECT_EQ(At(car).x, 0);
    EXPECT_EQ(At(car).y, 8);
    EXPECT_FLOAT_EQ(At(car).speed, 10.0f * 0.9f * 0.9f);   // coasting, then the hit
    EXPECT_EQ(At(rock).x, 0);
    EXPECT_EQ(At(rock).y, -40);
}

TEST_F(Physics, ADynamicObjectIsShovedHarderTheSmallerItIs) {
    const int32_t car = AddCar("jeep", 0, 0, 0, 15);
    const int32_t barrel = AddProp("barrel", 30, 0, 40, 1);   // radius 10
    Hold({});
    Race_Step(world_map);
    // Centres (0, -16) and (30, -10): d = 30.59, reach 10 + 32, overlap 11.41
    // along a = M_FindAngle(car, barrel) = 180 (rounded from 180): the car goes
    // left by the overlap, the barrel right by overlap / 10 x 4.
    const double overlap = 42 - std::hypot(30.0, 6.0);
    const int a = M_FindAngle(0, 0, 30, 0);
    EXPECT_EQ(At(car).x, M_Round(0 + M_Cos(a) * overlap));
    EXPECT_EQ(At(barrel).x, M_Round(30 - M_Cos(a) * (overlap / 10) * 4.0));
    EXPECT_GT(At(barrel).x, 30);
    EXPECT_LT(At(car).x, 0);
}

TEST_F(Physics, LandTilesAreNeverHit) {
    const int32_t car = AddCar("jeep", 0, 0, 0, 15);
    AddProp("lnd_sand", 0, 0, 128, 0);
    At(car).speed = 5.0f;
    Hold({});
    Race_Step(world_map);
    EXPECT_EQ(At(car).x, 0);
    EXPECT_FLOAT_EQ(At(car).speed, 4.5f);
}

TEST_F(Physics, ADynamicPropShovesWhatItTouchesOnScreenButNotItself) {
    game.main_camera->x = -400;
    game.main_camera->y = -300;
    const int32_t prop = AddProp("barrel", 0, 0, 40, 1);     // radius 10
    const int32_t other = AddProp("barrel", 10, 0, 40, 1);
    const int32_t rock = AddProp("rock", 0, 100, 40, 0);
    const int32_t far = AddProp("barrel", 5000, 5000, 40, 1);
    AddProp("barrel", 5010, 5000, 40, 1);   // off screen: these two never push
    AddProp("barrel", 0, 110, 40, 1);       // on the rock, which is static
    Race_Step(world_map);
    // The first pushes the second 10 + 20 / 10 x 4 = 18; in its own step the
    // second, 18 away with reach 30, pushes the first 12 / 10 x 4 back.
    EXPECT_EQ(At(other).x, 18);
    EXPECT_EQ(At(prop).x, -5);
    EXPECT_EQ(At(rock).y, 100);
    EXPECT_EQ(At(far).x, 5000);
    EXPECT_EQ(At(far + 1).x, 5010);
}

TEST_F(Physics, AnObjectWithoutASizeIsNotShovedIntoInfinity) {
    const int32_t car = AddCar("jeep", 0, 0, 0, 15);
    const int32_t odd = AddProp("odd", 0, -20, 0, 1);   // no texture: radius 0
    Hold({});
    Race_Step(world_map);
    EXPECT_EQ(At(odd).x, 0);
    EXPECT_EQ(At(odd).y, -20);
    EXPECT_GT(At(car).y, 0);
}

TEST_F(Physics, WaterCornersSwayBetweenMinus6And6) {
    const int32_t water = AddProp("lnd_water", 0, 0, 128, 0);
    At(water).corner_steps = {tcorner{1, -1}, tcorner{-1, 1}, tcorner{1, 1}, tcorner{-1, -1}};
    int low = 0, high = 0;
    for (int t = 0; t < 100; ++t) {
        Race_Step(world_map);
        for (const tcorner& c : At(water).corner_offsets) {
            low = std::min({low, c.x, c.y});
            high = std::max({high, c.x, c.y});
        }
    }
    EXPECT_EQ(low, -6);
    EXPECT_EQ(high, 6);
    // One step per tick: after the first tick every offset is +-1.
    World_Clear(world_map);
    const int32_t fresh = AddProp("lnd_water", 0, 0, 128, 0);
    At(fresh).corner_steps = {tcorner{1, -1}, tcorner{-1, 1}, tcorner{1, 1}, tcorner{-1, -1}};
    Race_Step(world_map);
    EXPECT_EQ(At(fresh).corner_offsets[0].x, 1);
    EXPECT_EQ(At(fresh).corner_offsets[0].y, -1);
    EXPECT_EQ(At(fresh).corner_offsets[3].x, -1);
}

TEST_F(Physics, TheCameraCentresOnThePlayersCarAndTheColourFollowsTheChoice) {
    player.car_colour = 2;
    const int32_t car = AddCar("jeep", 1234, 5678, 0, 15);
    AddCar("jeep", 0, 0, 1, 15);
    Race_Step(world_map);
    EXPECT_EQ(game.main_camera->x, At(car).x - 400);
    EXPECT_EQ(game.main_camera->y, At(car).y - 300);
    EXPECT_EQ(At(car).colour, 0x0000FF);
    EXPECT_EQ(race.player_x, 1234);
    EXPECT_EQ(race.player_y, 5678);
}

TEST_F(Physics, AThrottlingCarPuffsSmokeBehindIt) {
    const int32_t car = AddCar("jeep", 100, 200, 0, 15);
    At(car).frame = 1.0f;   // heading angle 90: (hx, hy) = (0, 1)
    Hold({OE_KEY_UP});
    Race_Step(world_map);
    ASSERT_EQ(particle_system.count, 1);
    const TEffect2d& smoke = particle_system.items[0];
    EXPECT_EQ(smoke.kind, "smoke");
    EXPECT_EQ(smoke.fade, 16);
    EXPECT_EQ(smoke.colour, 0xAAAAAA);
    EXPECT_FLOAT_EQ(smoke.x, 100.0f);
    EXPECT_FLOAT_EQ(smoke.y, 200.0f + 20 - 64 / 4 - 20);
    EXPECT_GE(smoke.size, 30.0f);
    EXPECT_LE(smoke.size, 39.0f);
    Hold({});
    Race_Step(world_map);
    EXPECT_EQ(particle_system.count, 1);   // coasting puffs nothing
}

}  // namespace
