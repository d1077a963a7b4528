// How the cars handle beyond the basic update: the brake brakes before it
// reverses, full lock carves instead of spinning, walls turn a car aside, the
// ground off the road slows it, and the camera looks where the car is going.
#include <cmath>
#include <cstdlib>

#include "race_fixture.h"
#include "world/physics.h"
#include "world/surface.h"
#include "world/track_line.h"
#include "world/tuning.h"

namespace {

class Handling : public RaceTest {
protected:
    // A jeep at top speed driving right (frame 13), on a map of its own.
    static int32_t Rolling(float speed) {
        const int32_t car = AddCar("jeep", 0, 0, 0, 15);
        world_map.objects[car].frame = 13.0f;
        world_map.objects[car].angle = 180;
        world_map.objects[car].speed = speed;
        world_map.objects[car].vx = -1.0f;
        return car;
    }

    // A straight road along y = 0 from x = -2048 to 2048, two tiles wide, with
    // tiles of `ground` above and below it.
    static void LayTrack(const std::string& ground) {
        for (int32_t x = -2048; x < 2048; x += 128) {
            for (int32_t row = -3; row <= 2; ++row) {
                const bool road = row == -1 || row == 0;
                tminimal tile = Object(road ? "lnd_road" : ground, x + 64, (row + 1) * 128);
                tile.width = tile.height = 128;
                World_Append(world_map, tile);
            }
        }
        // The loop closes far above, clear of the ground below the road.
        for (const tcorner& w : {tcorner{-1800, 0}, tcorner{0, 0}, tcorner{1800, 0}, tcorner{0, -5000}})
            World_AddWaypoint(world_map, w.x, w.y);
        Surface_Prepare(world_map);
    }
};

// Ticks of Race_Update until `done` holds, at most `limit`.
template <class Done>
int TicksUntil(Done done, int limit = 1000) {
    int ticks = 0;
    for (; !done() && ticks < limit; ++ticks) Race_Update(world_map, tcorner{});
    return ticks;
}

TEST_F(Handling, TheBrakeStopsSoonerThanCoastingAndOnlyThenReverses) {
    const int32_t coasting = Rolling(15.0f);
    Hold({});
    TicksUntil([&] { return At(coasting).vx == 0.0f; });
    const int32_t coasted = At(coasting).x;

    World_Clear(world_map);
    const int32_t braking = Rolling(15.0f);
    Hold({OE_KEY_DOWN});
    const int ticks = TicksUntil([&] { return At(braking).vx == 0.0f; });
    EXPECT_LT(At(braking).x, coasted * 6 / 10) << "braked in " << At(braking).x << " px, coasted " << coasted;
    EXPECT_LT(ticks, 15);
    const int32_t stopped = At(braking).x;
    TicksUntil([] { return false; }, 30);   // still held: now it backs up, slowly
    EXPECT_LT(At(braking).x, stopped);
    EXPECT_LE(At(braking).speed, 15.0f * REVERSE_SHARE + 1e-4f);
}

TEST_F(Handling, FullLockAtTopSpeedCarvesWithoutSpinning) {
    const int32_t car = Rolling(15.0f);
    Hold({OE_KEY_UP, OE_KEY_LEFT});
    double most = 0.0;
    int32_t min_x = 0, max_x = 0;
    for (int t = 0; t < 300; ++t) {
        Race_Update(world_map, tcorner{});
        most = std::max(most, std::abs(Race_Slip(At(car))));
        min_x = std::min(min_x, At(car).x);
        max_x = std::max(max_x, At(car).x);
    }
    EXPECT_LE(most, 60.0);   // the slip stops growing near MAX_SLIP_DEGREES: never a spin
    EXPECT_GT(max_x - min_x, 200) << "the car turned on the spot";
    EXPECT_GT(At(car).speed, 10.0f);
}

struct WallCase {
    const char* name;
    int32_t wall_x, wall_y;   // a static block the car meets, driving right from (0, 0)
    bool slides;              // it keeps going right past the block's place
};

class Walls : public Handling, public ::testing::WithParamInterface<WallCase> {};

TEST_P(Walls, AGlancingHitSlidesOnAndAHeadOnHitBouncesBack) {
    const WallCase& c = GetParam();
    const int32_t car = Rolling(12.0f);
    AddProp("limit", c.wall_x, c.wall_y, 64, 0);
    Hold({OE_KEY_UP});
    TicksUntil([] { return false; }, 40);
    if (c.slides)
        EXPECT_GT(At(car).x, c.wall_x + 60) << "pinned at " << At(car).x;
    else
        EXPECT_LT(At(car).x, c.wall_x) << "went through the wall";
}

INSTANTIATE_TEST_SUITE_P(Hits, Walls,
                         ::testing::Values(WallCase{"Glancing", 150, 40, true}, WallCase{"HeadOn", 150, 0, false}),
                         [](const ::testing::TestParamInfo<WallCase>& info) { return std::string(info.param.name); });

struct GroundCase {
    const char* ground;
    Surface surface;
    float top_share;
};

class Grounds : public Handling, public ::testing::WithParamInterface<GroundCase> {};

TEST_P(Grounds, OffTheRoadACarTopsOutLower) {
    const GroundCase& c = GetParam();
    LayTrack(c.ground);
    EXPECT_EQ(Surface_At(world_map, 0, -60), Surface::Road);
    EXPECT_EQ(Surface_At(world_map, 0, 300), c.surface);
    const int32_t car = Rolling(5.0f);
    At(car).x = -1000;
    At(car).y = 330;   // its centre, a quarter of its height up, on the ground
    Hold({OE_KEY_UP});
    TicksUntil([] { return false; }, 60);
    EXPECT_NEAR(At(car).speed, 15.0f * c.top_share, 0.01f);
}

INSTANTIATE_TEST_SUITE_P(Themes, Grounds,
                         ::testing::Values(GroundCase{"lnd_sand_c", Surface::Sand, SURFACE_HANDLING[1].top},
                                           GroundCase{"lnd_grass", Surface::Grass, SURFACE_HANDLING[2].top},
                                           GroundCase{"lnd_snow_p", Surface::Snow, SURFACE_HANDLING[3].top},
                                           GroundCase{"lnd_water", Surface::Water, SURFACE_HANDLING[5].top},
                                           GroundCase{"lnd_pavement_b", Surface::Pavement, SURFACE_HANDLING[6].top}),
                         [](const ::testing::TestParamInfo<GroundCase>& info) { return std::string(info.param.ground); });

TEST_F(Handling, AMapSetUpByHandDrivesAsRoadEverywhere) {
    LayTrack("lnd_sand");
    tworld other;
    EXPECT_EQ(Surface_At(other, 0, 300), Surface::Road);
    World_AddWaypoint(world_map, 5, 5);   // edited after the race was set up
    EXPECT_EQ(Surface_At(world_map, 0, 300), Surface::Road);
    EXPECT_TRUE(TrackLine_Of(world_map).points.empty());
}

TEST_F(Handling, TheCameraLooksAheadOfTheCarWhereItIsGoing) {
    const int32_t car = Rolling(15.0f);
    Hold({OE_KEY_UP});
    RaceEvents events;
    for (int t = 0; t < 100; ++t) events = Race_Update(world_map, tcorner{});
    ASSERT_TRUE(events.camera.has_value());
    EXPECT_GT(events.camera->x - (At(car).x - 400), 150);   // driving right: the camera is ahead on the right
    EXPECT_LE(events.camera->x - (At(car).x - 400), CAMERA_LEAD_X);
    EXPECT_EQ(events.camera->y, At(car).y - 300);
}

}  // namespace
