// Turning a map file into a race: the player's car, top speeds, start
// headings, sizes, the paused tick and the race start time.
#include "core/state.h"
#include "world/mapfile.h"
#include "world/physics.h"
#include "world/race_setup.h"
#include "world/track_line.h"
#include "world_fixture.h"

namespace {

class RaceSetup : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        std::filesystem::create_directory("wld");
    }

    // Saves a map of the given cars (kind, x, ai) and waypoints as wld\t.wld.
    void SaveMap(const std::vector<std::tuple<std::string, int32_t, uint8_t>>& cars,
                 const std::vector<tcorner>& waypoints) {
        auto w = NewWorld();
        for (const auto& [kind, x, ai] : cars) World_AddObject(*w, kind, x, 100, ai, 1, 0x123456);
        for (const tcorner& p : waypoints) World_AddWaypoint(*w, p.x, p.y);
        ASSERT_TRUE(World_Save(*w, "wld\\t.wld"));
    }
};

TEST_F(RaceSetup, ThePlayersJeepBecomesTheChosenKindWhileAComputerJeepStays) {
    SaveMap({{"jeep", 0, 0}, {"jeep", 100, 1}, {"tank", 200, 1}}, {{0, 0}, {500, 0}});
    player.car_kind = 3;
    World_LoadRace(world_map, "wld\\t.wld");
    EXPECT_EQ(world_map.objects[0].kind, "turbo");
    EXPECT_EQ(world_map.objects[1].kind, "jeep");
    EXPECT_EQ(world_map.objects[2].kind, "tank");
}

TEST_F(RaceSetup, TopSpeedsFollowTheKindAndTheDifficulty) {
    SaveMap({{"jeep", 0, 0}, {"jeep", 10, 1}, {"car", 20, 1}, {"tank", 30, 1}, {"turbo", 40, 1}},
            {{0, 0}, {500, 0}});
    // Easy cuts a computer car's top speed by one; medium and hard drive
    // faster kinds differently, not slower.
    const int32_t expected[3][5] = {{15, 14, 15, 16, 17}, {15, 15, 16, 17, 18}, {15, 15, 16, 17, 18}};
    for (int d = 0; d < 3; ++d) {
        SCOPED_TRACE(difficulty_names[d]);
        player.difficulty = d;
        World_Clear(world_map);
        World_LoadRace(world_map, "wld\\t.wld");
        for (int i = 0; i < 5; ++i) EXPECT_EQ(world_map.objects[i].top_speed, expected[d][i]) << i;
    }
    player.car_kind = 3;
    World_LoadRace(world_map, "wld\\t.wld");
    EXPECT_EQ(world_map.objects[0].top_speed, 18);
}

TEST_F(RaceSetup, CarsLeftOfTheSecondWaypointFaceRightTheOthersLeft) {
    SaveMap({{"jeep", 499, 0}, {"car", 500, 1}, {"tank", 501, 1}}, {{9999, 0}, {500, 0}, {0, 0}});
    World_LoadRace(world_map, "wld\\t.wld");
    EXPECT_EQ(world_map.objects[0].frame, 13.0f);
    EXPECT_EQ(world_map.objects[1].frame, 5.0f);
    EXPECT_EQ(world_map.objects[2].frame, 5.0f);
}

TEST_F(RaceSetup, WithFewerThanTwoWaypointsEveryCarStartsFacingLeft) {
    for (const std::vector<tcorner>& waypoints : {std::vector<tcorner>{}, std::vector<tcorner>{{5000, 0}}}) {
        SCOPED_TRACE(waypoints.size());
        // A stale second waypoint far to the right must not be read.
        world_map.waypoints[1] = {100000, 0};
        SaveMap({{"jeep", 0, 0}, {"car", 50, 1}}, waypoints);
        World_LoadRace(world_map, "wld\\t.wld");
        EXPECT_EQ(world_map.waypoint_count, static_cast<int32_t>(waypoints.size()));
        EXPECT_EQ(world_map.objects[0].frame, 5.0f);
        EXPECT_EQ(world_map.objects[1].frame, 5.0f);
    }
}

TEST_F(RaceSetup, ObjectsStartAtRestWithSizesFromTheirTexturesAndRandomWaterSteps) {
    AddTexture(object_registry, "lnd_water1", 128, 96);
    AddTexture(object_registry, "car_wh1", 60, 40);
    auto w = NewWorld();
    World_AddObject(*w, "lnd_water", 0, 0, 0, 0, 0xFFFFFF);
    World_AddObject(*w, "car", 10, 0, 1, 1, 0xFF);
    World_AddObject(*w, "nothing", 2000, 0, 0, 0, 0xFF);
    ASSERT_TRUE(World_Save(*w, "wld\\t.wld"));
    world_map.objects[1].speed = 5.0f;
    world_map.objects[1].laps = 3;
    world_map.objects[1].waypoint = 7;
    world_map.objects[1].vx = 0.5f;
    World_LoadRace(world_map, "wld\\t.wld");
    const tminimal& water = world_map.objects[0];
    const tminimal& car = world_map.objects[1];
    EXPECT_EQ(water.width, 128);
    EXPECT_EQ(water.height, 96);
    EXPECT_EQ(water.radius, 32);
    EXPECT_EQ(car.width, 60);
    EXPECT_EQ(car.height, 40);
    EXPECT_EQ(car.radius, 15);
    // A kind without a texture gets the registry's first one.
    EXPECT_EQ(world_map.objects[2].width, 128);
    // The set-up's one car update leaves a car without waypoints at rest.
    EXPECT_EQ(car.speed, 1.0f);
    EXPECT_EQ(car.laps, 0);
    EXPECT_EQ(car.waypoint, 0);
    EXPECT_EQ(car.vx, 0.0f);
    EXPECT_EQ(water.frame, 1.0f);
    int ups = 0;
    for (int i = 0; i < 3; ++i)
        for (const tcorner& s : world_map.objects[i].corner_steps) {
            EXPECT_TRUE(s.x == 1 || s.x == -1);
            EXPECT_TRUE(s.y == 1 || s.y == -1);
            ups += s.x + s.y;
        }
    EXPECT_LT(std::abs(ups), 24);   // not all alike
}

TEST_F(RaceSetup, TheTickIsResumedWithTheRaceStartTime) {
    SaveMap({{"jeep", 0, 0}}, {});
    backend_->Advance(1234.0);
    game.tick_timer->enabled = 0;
    World_LoadRace(world_map, "wld\\t.wld");
    EXPECT_EQ(game.tick_timer->enabled, 1);
    EXPECT_EQ(game.tick_timer->last_run, 1234.0);
    EXPECT_EQ(game.race_start_time, 1234.0);
}

TEST_F(RaceSetup, AMissingFileKeepsTheObjectsAndStillSetsUpTheRace) {
    AddTexture(object_registry, "tank_wh1", 64, 64);
    World_AddObject(world_map, "tank", 0, 0, 1, 1, 0);
    World_AddWaypoint(world_map, 100, 0);
    World_AddWaypoint(world_map, 300, 0);
    World_LoadRace(world_map, "wld\\missing.wld");
    ASSERT_EQ(world_map.count, 1);
    EXPECT_EQ(world_map.objects[0].width, 64);
    EXPECT_EQ(world_map.objects[0].top_speed, 17);   // a tank at medium
    EXPECT_EQ(world_map.objects[0].frame, 13.0f);
    EXPECT_EQ(world_map.waypoint_count, 2);
}

TEST_F(RaceSetup, StartRaceClearsTheMapLoadsTheTrackAndEntersTheRace) {
    SaveMap({{"jeep", 0, 0}, {"car", 50, 1}}, {{0, 0}, {500, 0}});
    ASSERT_TRUE(std::filesystem::copy_file("wld/t.wld", "wld/other.wld"));
    World_AddObject(world_map, "leftover", 1, 1, 0, 0, 0);
    World_StartRace("other");
    EXPECT_EQ(game.state, STATE_RACE);
    ASSERT_EQ(world_map.count, 2);
    EXPECT_EQ(world_map.objects[0].kind, "jeep");
    // A track that does not exist races on an empty map.
    World_StartRace("nowhere");
    EXPECT_EQ(world_map.count, 0);
    EXPECT_EQ(game.state, STATE_RACE);
}

// Each car's place on the centre line belongs to the line of the track it
// races: a shorter track after a longer one never goes by the old places.
TEST_F(RaceSetup, ASecondTrackDrivesByItsOwnLine) {
    SaveMap({{"jeep", 0, 0}, {"car", 80, 1}, {"tank", 160, 1}}, {{0, 0}, {9000, 0}, {9000, 6000}, {0, 6000}});
    ASSERT_TRUE(std::filesystem::copy_file("wld/t.wld", "wld/long.wld"));
    SaveMap({{"jeep", 0, 0}, {"car", 80, 1}, {"tank", 160, 1}}, {{0, 0}, {600, 0}, {600, 400}});
    World_StartRace("long");
    for (int tick = 0; tick < 300; ++tick) Race_Update(world_map, std::nullopt);
    World_StartRace("t");
    const auto samples = static_cast<int32_t>(TrackLine_Of(world_map).points.size());
    ASSERT_GT(samples, 0);
    for (int tick = 0; tick < 50; ++tick) Race_Update(world_map, std::nullopt);
    for (int32_t i = 0; i < world_map.count; ++i) {
        EXPECT_GE(world_map.objects[i].driver.line, -1) << i;
        EXPECT_LT(world_map.objects[i].driver.line, samples) << i;
    }
}

}  // namespace
