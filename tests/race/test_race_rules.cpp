// Bonuses, waypoints and laps, the four-lap limit, the first finisher and the
// end of the race, driven through Race_Update and Bonus_Spawn.
#include <set>

#include "app/tick.h"
#include "core/state.h"
#include "race_fixture.h"
#include "ui/display_widgets.h"
#include "ui/screens.h"
#include "world/physics.h"

namespace {

class RaceRules : public RaceTest {
protected:
    void TearDown() override {
        element_list.clear();
        RaceTest::TearDown();
    }

    static int CountBonuses() {
        int n = 0;
        for (int i = 0; i < world_map.count; ++i) n += At(i).kind.starts_with("bn");
        return n;
    }

    // The four result windows, hidden, as the screens would have them.
    static void AddResultWindows() {
        for (const char* name : {"wnd_fin_good", "wnd_fin_bad", "wnd_fin_good2", "wnd_fin_bad2"})
            Element_Add(std::make_unique<Iwindow>(name, 0, 0, 400, 300, "", 0));
        Screens_Resolve();
    }

    static int Visible(const char* name) { return Element_Named(name).visible; }
};

TEST_F(RaceRules, NoBonusAppearsWhileSixAreOnTheMap) {
    for (int i = 0; i < 6; ++i) World_AddObject(world_map, "bn_spd", 5000 + i * 100, 5000, 0, 1, 0xFFFFFF);
    for (int i = 0; i < 20; ++i) World_AddWaypoint(world_map, i * 300, 0);
    for (int t = 0; t < 500; ++t) Bonus_Spawn(world_map);
    EXPECT_EQ(CountBonuses(), 6);
}

TEST_F(RaceRules, WithFiveSeveralMayAppearInOneCallNearTheWaypoints) {
    for (int i = 0; i < 5; ++i) World_AddObject(world_map, "bn_oil", 5000 + i * 100, 5000, 0, 1, 0xFFFFFF);
    for (int i = 0; i < 4; ++i) World_AddWaypoint(world_map, i * 300, 0);
    int most = 0;
    for (int t = 0; t < 300 && most < 2; ++t) {
        world_map.count = 5;
        Bonus_Spawn(world_map);
        most = std::max(most, CountBonuses() - 5);
    }
    EXPECT_GE(most, 2);
    // Each new one stands within 16 px of a waypoint, sized 32 x 32 with radius 8.
    for (int i = 5; i < world_map.count; ++i) {
        const tminimal& b = At(i);
        EXPECT_TRUE(b.kind == "bn_spd" || b.kind == "bn_oil" || b.kind == "bn_slw") << b.kind;
        EXPECT_LE(std::abs(b.y), 16);
        EXPECT_LE(std::abs(b.x - (b.x + 150) / 300 * 300), 16);
        EXPECT_EQ(b.width, 32);
        EXPECT_EQ(b.height, 32);
        EXPECT_EQ(b.radius, 8);
        EXPECT_EQ(b.dynamic, 1);
        EXPECT_EQ(b.ai, 0);
        EXPECT_EQ(b.colour, 0xFFFFFF);
    }
}

TEST_F(RaceRules, AWaypointWithABonusWithin32PixelsGetsNoOther) {
    World_AddWaypoint(world_map, 0, 0);
    World_AddObject(world_map, "bn_slw", 31, 0, 0, 1, 0xFFFFFF);
    for (int t = 0; t < 300; ++t) Bonus_Spawn(world_map);
    EXPECT_EQ(CountBonuses(), 1);
    At(0).x = 32;   // just far enough: one chance in two per call
    for (int t = 0; t < 300 && CountBonuses() == 1; ++t) Bonus_Spawn(world_map);
    EXPECT_EQ(CountBonuses(), 2);
}

TEST_F(RaceRules, AMapWithoutWaypointsGetsNoBonusesAndNoLaps) {
    const int32_t car = AddCar("jeep", 0, 0, 0);
    for (int t = 0; t < 100; ++t) Bonus_Spawn(world_map);
    EXPECT_EQ(CountBonuses(), 0);
    Hold({OE_KEY_UP});
    for (int t = 0; t < 100; ++t) Race_Step(world_map);
    EXPECT_EQ(race.player_laps, 0);
    EXPECT_EQ(At(car).waypoint, 0);
}

TEST_F(RaceRules, ThePlayerScoresEachBonusKindWithItsBurst) {
    const struct {
        const char* kind;
        int points;
        int32_t colour;
    } kinds[] = {{"bn_slw", 10, 0x00FFFF}, {"bn_spd", 80, 0xFF00FF}, {"bn_oil", 150, 0xFFFF00}};
    AddCar("jeep", 0, 0, 0);
    int expected = 0;
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        World_AddObject(world_map, k.kind, 0, 49, 0, 1, 0xFFFFFF);   // 49 px: within reach
        particle_system.count = 0;
        Race_Step(world_map);
        expected += k.points;
        EXPECT_EQ(player.score, expected);
        EXPECT_EQ(CountBonuses(), 0);
        ASSERT_EQ(particle_system.count, 11);
        for (int p = 0; p < 11; ++p) {
            const TEffect2d& e = particle_system.items[p];
            EXPECT_EQ(e.kind, "blow");
            EXPECT_EQ(e.fade, 14);
            EXPECT_EQ(e.colour, k.colour);
            EXPECT_EQ(e.x, 0.0f);
            EXPECT_EQ(e.y, 49.0f);
            EXPECT_GE(e.vy, -4.0f);
            EXPECT_LE(e.vy, 0.0f);
        }
    }
    World_AddObject(world_map, "bn_oil", 0, 50, 0, 1, 0xFFFFFF);   // 50 px: out of reach
    Race_Step(world_map);
    EXPECT_EQ(CountBonuses(), 1);
}

TEST_F(RaceRules, AComputerCarTakesABonusButEarnsNothing) {
    AddCar("jeep", 0, 0, 1);
    World_AddObject(world_map, "bn_oil", 10, 10, 0, 1, 0xFFFFFF);
    Race_Step(world_map);
    EXPECT_EQ(CountBonuses(), 0);
    EXPECT_EQ(player.score, 0);
}

TEST_F(RaceRules, AFreeRacesBonusesCountForTheRaceButNotTheTournamentScore) {
    for (const uint8_t mode : {0, 1}) {
        World_Clear(world_map);
        player.score = 0;
        race.bonus_points = 0;
        game.race_mode = mode;
        AddCar("jeep", 0, 0, 0);
        World_AddObject(world_map, "bn_spd", 0, 10, 0, 1, 0xFFFFFF);
        Race_Step(world_map);
        EXPECT_EQ(race.bonus_points, 80) << int{mode};
        EXPECT_EQ(player.score, mode == 0 ? 80 : 0) << int{mode};
    }
}

// The bonus stands before the collecting car in the map, water on either side
// of the car and a static prop after it touching it. The car must carry on as
// itself (the prop pushes it back) and every other object is stepped once.
TEST_F(RaceRules, TakingABonusDisturbsNoOtherObjectsStep) {
    World_AddObject(world_map, "bn_slw", 45, 0, 0, 1, 0xFFFFFF);
    const int32_t water_before = AddProp("lnd_water", 9000, 9000, 128, 0);
    AddCar("jeep", 0, 0, 0);
    const int32_t water_after = AddProp("lnd_water", 9500, 9000, 128, 0);
    AddProp("rock", 0, -40, 64, 0);
    AddCar("jeep", 3000, 3000, 1);
    for (int32_t water : {water_before, water_after}) At(water).corner_steps.fill({1, 1});
    World_AddWaypoint(world_map, 3000, 0);
    Race_Step(world_map);

    ASSERT_EQ(world_map.count, 5);
    EXPECT_EQ(player.score, 10);
    EXPECT_EQ(At(0).kind, "lnd_water");
    EXPECT_EQ(At(0).corner_offsets[0].x, 1);   // swayed exactly once
    const tminimal& car = At(1);
    EXPECT_EQ(car.kind, "jeep");
    EXPECT_EQ(car.ai, 0);
    EXPECT_EQ(car.y, 8);                       // pushed back by the rock
    EXPECT_EQ(game.main_camera->y, 8 - 300);        // and the camera followed it
    EXPECT_EQ(At(2).kind, "lnd_water");
    EXPECT_EQ(At(2).corner_offsets[0].x, 1);   // not skipped
    EXPECT_EQ(At(3).y, -40);                   // the rock stays
    // The computer car took exactly one step: speed 0.0001 after one tick.
    EXPECT_FLOAT_EQ(At(4).speed, 0.0001f);
}

TEST_F(RaceRules, TheFirstFinisherStaysOnItsCarWhenABonusBeforeItGoes) {
    World_AddObject(world_map, "bn_slw", 5000, 5000, 0, 1, 0xFFFFFF);
    const int32_t computer = AddCar("car", 1000, 1050, 1);
    AddCar("jeep", 5000, 5000, 0);   // takes the bonus after the computer car finished
    World_AddWaypoint(world_map, 1000, 1000);
    World_AddWaypoint(world_map, 1000, 1100);
    At(computer).laps = 4;   // within 120 of waypoint 0: takes waypoint 1 and stops
    Race_Step(world_map);
    ASSERT_EQ(CountBonuses(), 0);
    ASSERT_EQ(race.first_finisher, 0);
    EXPECT_EQ(At(race.first_finisher).kind, "car");
    EXPECT_EQ(At(race.first_finisher).ai, 1);
}

TEST_F(RaceRules, TakingABonusOnScreenPlaysGetAndHittingHardPlaysBum) {
    LoadSounds({"get", "bum", "eng", "eng_e"});
    game.main_camera->x = -400;
    game.main_camera->y = -300;
    oe::Recorder_Enable(true);
    const int32_t car = AddCar("jeep", 0, 0, 0);
    World_AddObject(world_map, "bn_spd", 0, 10, 0, 1, 0xFFFFFF);
    World_AddObject(world_map, "bn_spd", 3000, 3000, 0, 1, 0xFFFFFF);   // off screen
    AddCar("jeep", 3000, 3000, 1);
    Race_Step(world_map);
    EXPECT_EQ(PlaysOf("get").size(), 1u);
    At(car).x = 0;
    At(car).y = 0;
    At(car).speed = 10.5f;
    AddProp("rock", 0, -40, 64, 0);
    oe::Recorder_Clear();
    Race_Step(world_map);   // coasts to 9.45, then hits the rock
    EXPECT_EQ(PlaysOf("bum").size(), 1u);
    EXPECT_EQ(PlaysOf("get").size(), 0u);
}

// The step itself only reports: the sounds in order with where they play,
// the burst, the camera's new corner; nothing is played, emitted or moved.
TEST_F(RaceRules, TheStepReportsWhatItDidAndActsOnNothing) {
    const int32_t car = AddCar("jeep", 0, 0, 0);
    At(car).speed = 10.5f;
    World_AddObject(world_map, "bn_oil", 0, 10, 0, 1, 0xFFFFFF);
    AddProp("rock", 0, -40, 64, 0);
    game.main_camera->x = -400;
    game.main_camera->y = -300;
    oe::Recorder_Enable(true);
    const RaceEvents events = Race_Update(world_map, tcorner{-400, -300});
    std::vector<std::string> sounds;
    for (const RaceSound& s : events.sounds) sounds.push_back(s.name);
    EXPECT_EQ(sounds, (std::vector<std::string>{"get", "bum"}));
    ASSERT_EQ(events.particles.size(), 11u);
    EXPECT_EQ(events.particles[0].kind, "blow");
    EXPECT_EQ(events.particles[0].colour, 0xFFFF00);
    ASSERT_TRUE(events.camera.has_value());
    EXPECT_EQ(events.camera->x, At(car).x - 400);
    EXPECT_EQ(events.camera->y, At(car).y - 300);
    EXPECT_FALSE(events.finished);
    EXPECT_EQ(player.score, 150);
    EXPECT_TRUE(oe::Recorder_Calls().empty());
    EXPECT_EQ(particle_system.count, 0);
    EXPECT_EQ(game.main_camera->y, -300);
}

// A hand-edited score near the 32-bit limit stops there instead of wrapping.
TEST_F(RaceRules, TheScoreStopsAtThe32BitMaximum) {
    const int32_t car = AddCar("jeep", 0, 0, 0);
    World_AddObject(world_map, "bn_oil", 0, 10, 0, 1, 0xFFFFFF);
    player.score = INT32_MAX - 100;
    Race_Step(world_map);
    EXPECT_EQ(player.score, INT32_MAX);
    EXPECT_EQ(At(car).kind, "jeep");
}

TEST_F(RaceRules, EngineSoundsFollowSpeedSlipAndDistance) {
    LoadSounds({"eng", "eng_e"});
    World_AddWaypoint(world_map, 0, -5000);
    const int32_t player = AddCar("jeep", 0, 0, 0);
    const int32_t near = AddCar("car", 100, 0, 1);
    AddCar("car", 600, 0, 1);   // 500 px or more away: silent
    At(player).speed = 2.0f;
    Hold({OE_KEY_UP});
    oe::Recorder_Enable(true);
    Race_Step(world_map);
    const auto eng = PlaysOf("eng");
    ASSERT_EQ(eng.size(), 1u);
    // Offset 0, volume 0, frequency from the slip against the heading (0, 1)
    // and the speed after this tick's acceleration, no loop.
    const float speed = At(player).speed;
    const double slip = std::abs(0.0f - 0.0f) + std::abs(0.0f - 1.0f);
    EXPECT_EQ(eng[0].args, (std::vector<double>{0, 0, double(M_Round(slip * 4000 + speed * 1500)), 0}));
    const auto other = PlaysOf("eng_e");
    ASSERT_EQ(other.size(), 1u);
    // Camera x: 0 - 400 after the player's step; distance 100 from the player.
    EXPECT_EQ(other[0].args, (std::vector<double>{(100 - (-400) - 400) * 5.0, 100 - 400.0, 22050, 0}));
    EXPECT_EQ(At(near).throttle, 1);
}

// The player's car takes waypoints in racing order only: the next one within
// 160 px, or the first earlier one within reach when it drives back.
struct WaypointCase {
    const char* what;
    int32_t from;       // the car's waypoint before the step
    int32_t x, y;       // where the car stands
    int32_t expected;
};

class PlayerWaypoints : public RaceRules, public ::testing::WithParamInterface<WaypointCase> {};

TEST_P(PlayerWaypoints, FollowTheRacingOrder) {
    const int32_t car = AddCar("jeep", 0, 0, 0);
    for (const auto& [x, y] : {std::pair{0, 0}, {1000, 0}, {2000, 0}, {2000, 1000}}) World_AddWaypoint(world_map, x, y);
    At(car).waypoint = GetParam().from;
    At(car).x = GetParam().x;
    At(car).y = GetParam().y;
    Race_Step(world_map);
    EXPECT_EQ(At(car).waypoint, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    RaceRules, PlayerWaypoints,
    ::testing::Values(WaypointCase{"NotYetAt160", 0, 840, 0, 0}, WaypointCase{"TheNextWithin160", 0, 841, 0, 1},
                      WaypointCase{"NeverOneAhead", 0, 2000, 0, 0}, WaypointCase{"NeverTheLastFromTheFirst", 1, 2000, 1000, 1},
                      WaypointCase{"BackToAnEarlierOne", 3, 1000, 0, 1}, WaypointCase{"StaysWhereItIs", 2, 2000, 0, 2},
                      WaypointCase{"FromTheLastToTheFirst", 3, 0, 0, 0}),
    [](const ::testing::TestParamInfo<WaypointCase>& info) { return std::string(info.param.what); });

TEST_F(RaceRules, ALapCountsOnlyForTheWholeLoopInOrder) {
    const int32_t car = AddCar("jeep", 0, 0, 0);
    for (const auto& [x, y] : {std::pair{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}) World_AddWaypoint(world_map, x, y);
    auto visit = [&](int32_t x, int32_t y) {
        At(car).x = x;
        At(car).y = y;
        Race_Step(world_map);
    };
    visit(1000, 0);
    visit(1000, 1000);
    visit(0, 0);   // from waypoint 2 back to the line: back to waypoint 0, no lap
    EXPECT_EQ(At(car).waypoint, 0);
    EXPECT_EQ(race.player_laps, 0);
    // Out to waypoint 1, then off the track to the last one and over the line: no lap.
    visit(1000, 0);
    visit(0, 1000);
    EXPECT_EQ(At(car).waypoint, 1);
    visit(0, 0);
    EXPECT_EQ(race.player_laps, 0);
    // Every waypoint in order: one lap.
    visit(1000, 0);
    visit(1000, 1000);
    visit(0, 1000);
    visit(0, 0);
    EXPECT_EQ(race.player_laps, 1);
    visit(0, 0);   // staying on waypoint 0 counts nothing more
    EXPECT_EQ(race.player_laps, 1);
}

// Waypoints every 300 px along a line (a loop back from the last to the
// first); the car, on waypoint `from`, turns up on waypoint `at`: the next is
// taken, one or two further on is a missed checkpoint told with the waypoint
// missed, and a far one, an earlier one or one behind across the line is no hint.
TEST_F(RaceRules, GoingPastAWaypointIsAMissedCheckpoint) {
    const struct {
        int32_t waypoints, from, at;
        int32_t waypoint;    // the car's waypoint afterwards
        int32_t missed;      // the waypoint noted as missed; -1: none
    } table[] = {{10, 2, 3, 3, -1}, {10, 2, 4, 2, 3}, {10, 2, 5, 2, 3}, {10, 2, 6, 2, -1},
                 {10, 2, 1, 1, -1}, {10, 9, 1, 1, -1}, {5, 0, 3, 0, -1}};
    for (const auto& row : table) {
        SCOPED_TRACE(::testing::Message() << row.from << " to " << row.at << " of " << row.waypoints);
        World_Clear(world_map);
        world_map.waypoint_count = 0;
        for (int32_t k = 0; k < row.waypoints; ++k) World_AddWaypoint(world_map, k * 300, k == 1 ? 3000 : 0);
        const tcorner at = world_map.waypoints[row.at];
        const int32_t car = AddCar("jeep", at.x, at.y, 0);
        At(car).waypoint = row.from;
        Race_ClearResult();
        game.current_time = 5000.0;
        Race_TrackWaypoints(world_map, car);
        EXPECT_EQ(At(car).waypoint, row.waypoint);
        EXPECT_EQ(race.missed_waypoint, row.missed);
        EXPECT_EQ(race.missed_checkpoint_at, row.missed >= 0 ? 5000.0 : -1.0);
        if (row.missed >= 0) {
            EXPECT_EQ(race.missed_x, world_map.waypoints[row.missed].x);
        }
        EXPECT_EQ(race.player_laps, 0);
    }
}

TEST_F(RaceRules, ASingleWaypointNeverCountsALap) {
    AddCar("jeep", 0, 0, 0);
    World_AddWaypoint(world_map, 0, 0);
    for (int t = 0; t < 10; ++t) Race_Step(world_map);
    EXPECT_EQ(race.player_laps, 0);
}

TEST_F(RaceRules, AfterFourLapsThePlayersCarCoastsWhateverTheKeys) {
    const int32_t car = AddCar("jeep", 0, 0, 0);
    race.player_laps = 4;
    At(car).speed = 10.0f;
    Hold({OE_KEY_UP});
    Race_Step(world_map);
    EXPECT_EQ(At(car).throttle, 0);
    EXPECT_FLOAT_EQ(At(car).speed, 9.0f);
    EXPECT_EQ(race.first_finisher, car);
    EXPECT_EQ(game.state, STATE_MENU);   // still faster than 1.1: not over
}

TEST_F(RaceRules, TheRaceEndsOnlyWithFourLapsAndSpeedBelow1Point1) {
    AddResultWindows();
    game.state = STATE_RACE;
    const int32_t car = AddCar("jeep", 0, 0, 0);
    race.player_laps = 3;
    At(car).speed = 1.0f;
    Race_Step(world_map);
    EXPECT_EQ(game.state, STATE_RACE);
    race.player_laps = 4;
    At(car).speed = 1.1f;
    Race_Step(world_map);   // checked at 1.1, then coasts to 0.99 -> rest
    EXPECT_EQ(game.state, STATE_RACE);
    Race_Step(world_map);
    EXPECT_EQ(game.state, STATE_FINISHED);
    EXPECT_EQ(Visible("wnd_fin_good"), 1);
    EXPECT_EQ(Visible("wnd_fin_bad"), 0);
    EXPECT_EQ(player.progress, 1);
}

TEST_F(RaceRules, CrossingTheLineAlreadySlowMakesThePlayerTheFirstFinisher) {
    AddResultWindows();
    const int32_t car = AddCar("jeep", 0, 0, 0);
    race.player_laps = 4;
    At(car).speed = 1.0f;
    Race_Step(world_map);
    EXPECT_EQ(race.first_finisher, car);
    EXPECT_EQ(Visible("wnd_fin_good"), 1);
    EXPECT_EQ(game.state, STATE_FINISHED);
}

TEST_F(RaceRules, LosingATournamentRaceCosts1000PointsButNeverBelow0) {
    AddResultWindows();
    const int32_t computer = AddCar("car", 3000, 3000, 1);
    const int32_t car = AddCar("jeep", 0, 0, 0);
    for (const auto& [before, after] : {std::pair{1500, 500}, {999, 0}, {1000, 0}, {INT32_MIN + 5, 0}}) {
        SCOPED_TRACE(before);
        player.score = before;
        race.first_finisher = computer;
        race.player_laps = 4;
        At(car).speed = 1.0f;
        game.state = STATE_RACE;
        Race_Step(world_map);
        EXPECT_EQ(player.score, after);
        EXPECT_EQ(game.state, STATE_FINISHED);
        EXPECT_EQ(player.progress, 0);
    }
    EXPECT_EQ(Visible("wnd_fin_bad"), 1);
    EXPECT_EQ(Visible("wnd_fin_good"), 0);
}

TEST_F(RaceRules, AFreeRaceShowsItsOwnWindowsAndChangesNothing) {
    AddResultWindows();
    game.race_mode = 1;
    player.score = 500;
    const int32_t computer = AddCar("car", 3000, 3000, 1);
    const int32_t car = AddCar("jeep", 0, 0, 0);
    race.player_laps = 4;
    At(car).speed = 1.0f;
    race.first_finisher = computer;
    Race_Step(world_map);
    EXPECT_EQ(Visible("wnd_fin_bad2"), 1);
    EXPECT_EQ(player.score, 500);
    race.first_finisher = car;
    Race_Step(world_map);
    EXPECT_EQ(Visible("wnd_fin_good2"), 1);
    EXPECT_EQ(player.progress, 0);
    EXPECT_EQ(Visible("wnd_fin_good"), 0);
    EXPECT_EQ(Visible("wnd_fin_bad"), 0);
}

TEST_F(RaceRules, ProgressStopsAtTheSixteenthTrack) {
    AddResultWindows();
    player.progress = 16;
    const int32_t car = AddCar("jeep", 0, 0, 0);
    race.player_laps = 4;
    At(car).speed = 1.0f;
    Race_Step(world_map);
    EXPECT_EQ(player.progress, 16);
}

TEST_F(RaceRules, AComputerCarThatFinishesFirstDoesNotEndTheRace) {
    game.state = STATE_RACE;
    const int32_t computer = AddCar("car", 0, 0, 1);
    AddCar("jeep", 3000, 3000, 0);
    World_AddWaypoint(world_map, 0, 0);
    World_AddWaypoint(world_map, 0, -100);
    At(computer).laps = 4;
    Race_Step(world_map);   // takes waypoint 1 with four laps: stops throttling
    EXPECT_EQ(At(computer).throttle, 0);
    EXPECT_EQ(race.first_finisher, computer);
    EXPECT_EQ(game.state, STATE_RACE);
}

}  // namespace
