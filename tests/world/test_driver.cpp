// The computer driver: aiming, the 120 px waypoint radius, laps and the stop
// after four laps.
#include "world/driver.h"
#include "world_fixture.h"

namespace {

class Driver : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        w_ = NewWorld();
        tminimal car = Object("car", 0, 0);
        car.ai = 1;
        World_Append(*w_, car);
    }
    tminimal& Car() { return w_->objects[0]; }
    std::unique_ptr<tworld> w_;
};

TEST_F(Driver, AimsStraightAtItsWaypoint) {
    World_AddWaypoint(*w_, 1000, 0);
    Driver_Step(*w_, 0);
    // The waypoint lies to the right: heading 180 in the engine's terms (the
    // car moves by minus its direction), frame 13.
    EXPECT_EQ(Car().angle, M_FindAngle(0, 0, 1000, 0));
    EXPECT_EQ(Car().angle, 180);
    EXPECT_EQ(Car().frame, 13.0f);
    EXPECT_EQ(Car().throttle, 1);
    w_->waypoints[0] = {0, -1000};   // straight up
    Driver_Step(*w_, 0);
    EXPECT_EQ(Car().angle, 90);
    EXPECT_EQ(Car().frame, 1.0f);
    w_->waypoints[0] = {-1000, 0};   // left
    Driver_Step(*w_, 0);
    EXPECT_EQ(Car().frame, 5.0f);
    w_->waypoints[0] = {0, 1000};    // down
    Driver_Step(*w_, 0);
    EXPECT_EQ(Car().frame, 9.0f);
}

TEST_F(Driver, FrameIsClampedNotWrapped) {
    // Just right of straight up: 90 - angle wraps to 360, which would give 17.
    World_AddWaypoint(*w_, 1, -1000);
    Driver_Step(*w_, 0);
    EXPECT_EQ(Car().angle, 90);
    Car().frame = 0.0f;
    w_->waypoints[0] = {-17, -1000};   // angle 89: 90 - 89 = 1 -> 1 / 22.5 + 1
    Driver_Step(*w_, 0);
    EXPECT_NEAR(Car().frame, 1.0f + 1.0f / 22.5f, 1e-5);
    w_->waypoints[0] = {17, -1000};    // angle 91: -1 wraps to 359 -> 16.96, clamped
    Driver_Step(*w_, 0);
    EXPECT_EQ(Car().frame, 16.0f);
}

TEST_F(Driver, TakesTheNextWaypointOnlyWithin120Pixels) {
    World_AddWaypoint(*w_, 120, 0);
    World_AddWaypoint(*w_, 500, 0);
    Driver_Step(*w_, 0);
    EXPECT_EQ(Car().waypoint, 0);
    w_->waypoints[0] = {119, 0};
    Driver_Step(*w_, 0);
    EXPECT_EQ(Car().waypoint, 1);
    // 119.94 px away moves on too.
    Car().waypoint = 0;
    Car().x = 10;
    w_->waypoints[0] = {129, 15};
    Driver_Step(*w_, 0);
    EXPECT_EQ(Car().waypoint, 1);
}

TEST_F(Driver, AfterTheLastWaypointComesWaypointZeroAndALap) {
    World_AddWaypoint(*w_, 1000, 1000);
    World_AddWaypoint(*w_, 0, 50);
    Car().waypoint = 1;
    Driver_Step(*w_, 0);
    EXPECT_EQ(Car().waypoint, 0);
    EXPECT_EQ(Car().laps, 1);
    EXPECT_EQ(Car().throttle, 1);
}

TEST_F(Driver, StopsThrottlingAtFourLapsOnceItAimsAtWaypointOne) {
    World_AddWaypoint(*w_, 0, 50);
    World_AddWaypoint(*w_, 1000, 0);
    World_AddWaypoint(*w_, 2000, 0);
    Car().laps = 4;
    Car().waypoint = 0;
    EXPECT_TRUE(Driver_Step(*w_, 0));   // reaches waypoint 0, now aims at 1
    EXPECT_EQ(Car().waypoint, 1);
    EXPECT_EQ(Car().throttle, 0);
    EXPECT_TRUE(Driver_Step(*w_, 0));
    Car().laps = 3;
    Car().waypoint = 1;
    EXPECT_FALSE(Driver_Step(*w_, 0));
    EXPECT_EQ(Car().throttle, 1);
}

TEST_F(Driver, WithoutWaypointsItNeverThrottles) {
    Car().throttle = 0;
    Car().waypoint = 0;
    EXPECT_FALSE(Driver_Step(*w_, 0));
    EXPECT_EQ(Car().throttle, 0);
    EXPECT_EQ(Car().waypoint, 0);
    EXPECT_EQ(Car().laps, 0);
    // A waypoint index from an edited map never reads outside the list.
    Car().waypoint = 999999;
    EXPECT_FALSE(Driver_Step(*w_, 0));
    EXPECT_FALSE(Driver_Step(*w_, 7));
}

}  // namespace
