// The tournament and free race screens' controls: choices that clamp, the
// difficulty cycle, and race starts that refuse a locked car or track.
#include <memory>

#include "core/state.h"
#include "tests/ui/screens_fixture.h"
#include "ui/actions.h"
#include "ui/actions_race.h"
#include "ui/player_profile.h"
#include "world/race_setup.h"
#include "world/tournament.h"

namespace {

class RaceActions : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        Screens_Build();
        player.free_track = 0;
        World_Clear(world_map);
        oe::Recorder_Clear();
    }

    // The map as a race on this track starts it.
    static std::unique_ptr<tworld> TrackMap(const std::string& track) {
        auto map = std::make_unique<tworld>();
        World_LoadRace(*map, "wld\\" + track + ".wld");
        return map;
    }

    static void ExpectMapOf(const std::string& track) {
        const auto expected = TrackMap(track);
        ASSERT_GT(expected->count, 0);
        ASSERT_EQ(world_map.count, expected->count);
        ASSERT_EQ(world_map.waypoint_count, expected->waypoint_count);
        for (int32_t i = 0; i < expected->waypoint_count; ++i) {
            EXPECT_EQ(world_map.waypoints[i].x, expected->waypoints[i].x);
            EXPECT_EQ(world_map.waypoints[i].y, expected->waypoints[i].y);
        }
    }
};

TEST_F(RaceActions, CarColourAndTrackChoicesStayInTheirRanges) {
    struct Choice {
        const char* next;
        const char* prev;
        int32_t* value;
        int32_t last;
    };
    for (const Choice& c : {Choice{"btn_car_up", "btn_car_dn", &player.car_kind, 3},
                            Choice{"btn_car_up2", "btn_car_dn2", &player.car_kind, 3},
                            Choice{"btn_col_up", "btn_col_dn", &player.car_colour, 15},
                            Choice{"btn_col_up2", "btn_col_dn2", &player.car_colour, 15},
                            Choice{"btn_cus_up", "btn_cus_dn", &player.free_track, 15}}) {
        *c.value = 0;
        Click(c.prev);
        EXPECT_EQ(*c.value, 0) << c.prev;
        Click(c.next);
        EXPECT_EQ(*c.value, 1) << c.next;
        for (int i = 0; i < 20; ++i) Click(c.next);
        EXPECT_EQ(*c.value, c.last) << c.next;
        Click(c.prev);
        EXPECT_EQ(*c.value, c.last - 1) << c.prev;
    }
}

TEST_F(RaceActions, DifficultyCyclesAndBothButtonsShowIt) {
    ASSERT_EQ(player.difficulty, 1);
    const std::pair<int32_t, const char*> cycle[] = {{2, "hard"}, {0, "easy"}, {1, "medium"}, {2, "hard"}};
    const char* buttons[] = {"btn_pow", "btn_pow2", "btn_pow2", "btn_pow"};
    for (int i = 0; i < 4; ++i) {
        Click(buttons[i]);
        EXPECT_EQ(player.difficulty, cycle[i].first);
        EXPECT_EQ(Named("btn_pow").caption, cycle[i].second);
        EXPECT_EQ(Named("btn_pow2").caption, cycle[i].second);
    }
}

TEST_F(RaceActions, TournamentRaceStartsOnTheProfilesNextTrack) {
    game.state = STATE_TOURNAMENT;
    Named("wnd_tour").visible = 1;
    player.progress = 1;
    game.race_mode = 1;
    Click("btn_start_tr");
    EXPECT_EQ(game.state, STATE_RACE);
    EXPECT_EQ(game.race_mode, 0);
    EXPECT_EQ(Named("wnd_tour").visible, 0);
    ExpectMapOf(track_files[1]);
    EXPECT_EQ(PlayRequests("bad"), 0);
}

TEST_F(RaceActions, ALockedCarPlaysBadAndKeepsTheTournamentScreen) {
    game.state = STATE_TOURNAMENT;
    Named("wnd_tour").visible = 1;
    Named("img_locktr").visible = 1;
    Click("btn_start_tr");
    EXPECT_EQ(PlayRequests("bad"), 1);
    EXPECT_EQ(game.state, STATE_TOURNAMENT);
    EXPECT_EQ(Named("wnd_tour").visible, 1);
    EXPECT_EQ(world_map.count, 0);
}

TEST_F(RaceActions, AWonCupHasNoTournamentTrackToRace) {
    game.state = STATE_TOURNAMENT;
    player.progress = 16;
    Click("btn_start_tr");
    EXPECT_EQ(PlayRequests("bad"), 1);
    EXPECT_EQ(game.state, STATE_TOURNAMENT);
    EXPECT_EQ(world_map.count, 0);
}

TEST_F(RaceActions, FreeRaceStartsOnTheChosenTrack) {
    game.state = STATE_FREE_RACE;
    Named("wnd_sr").visible = 1;
    player.free_track = 6;
    Click("btn_start_tr2");
    EXPECT_EQ(game.state, STATE_RACE);
    EXPECT_EQ(game.race_mode, 1);
    EXPECT_EQ(Named("wnd_sr").visible, 0);
    ExpectMapOf(track_files[6]);
}

TEST_F(RaceActions, ALockedCarOrTrackPlaysBadAndKeepsTheFreeRaceScreen) {
    for (const char* lock : {"img_locktr2", "txt_locktr_map2"}) {
        oe::Recorder_Clear();
        game.state = STATE_FREE_RACE;
        Named("wnd_sr").visible = 1;
        Named("img_locktr2").visible = 0;
        Named("txt_locktr_map2").visible = 0;
        Named(lock).visible = 1;
        Click("btn_start_tr2");
        EXPECT_EQ(PlayRequests("bad"), 1) << lock;
        EXPECT_EQ(game.state, STATE_FREE_RACE) << lock;
        EXPECT_EQ(Named("wnd_sr").visible, 1) << lock;
        EXPECT_EQ(world_map.count, 0) << lock;
    }
}

}  // namespace
