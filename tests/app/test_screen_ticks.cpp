// The real game's start with its screens, the tick's work on the menu,
// tournament and free race screens, and the F11 and F12 keys.
#include <algorithm>
#include <functional>

#include "app/leave_warning.h"
#include "app/result_texts.h"
#include "app/startup.h"
#include "app/tick.h"
#include "core/state.h"
#include "engine/input.h"
#include "engine/record.h"
#include "tests/app/game_fixture.h"
#include "ui/actions.h"
#include "ui/actions_race.h"
#include "ui/display_widgets.h"
#include "ui/element.h"
#include "ui/player_profile.h"
#include "world/particles.h"
#include "world/race_rules.h"
#include "world/tournament.h"
#include "world/world.h"

namespace {

ielement& Named(const char* name) { return Element_Named(name); }
Iimage& Image(const char* name) { return Element_As<Iimage>(Element_Find(name)); }

std::vector<std::string> ShownWindows() {
    std::vector<std::string> out;
    for (const auto& e : element_list)
        if (dynamic_cast<Iwindow*>(e.get()) && e->visible) out.push_back(e->name);
    return out;
}

using Windows = std::vector<std::string>;

class GameStart : public GameFixture {};

TEST_F(GameStart, AFirstStartBuildsTheScreensAndShowsTheProfileChoice) {
    UseGeneratedData();
    RunGame(3);
    EXPECT_EQ(element_list.size(), 138u);
    EXPECT_EQ(game.state, STATE_PROFILES);
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_pr"}));
    // The exit callback saves the settings: all on, no country, no player yet.
    EXPECT_EQ(Read("main.cfg"), std::string("\0\r\n\0\r\n\0\r\n\r\n\r\n", 13));
}

TEST_F(GameStart, WithProfilesTheLastPlayerFromTheSettingsReturnsToTheMenu) {
    UseGeneratedData();
    WriteFile("prf/Alice", std::string("\0\r\n", 3));
    WriteFile("prf/Bob", std::string("\x09\r\n42\r\n", 7));
    WriteFile("main.cfg", std::string("\x01\r\n\x01\r\n\x00\r\nFinland\r\nBob\r\n", 23));
    RunGame(3);
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_menu"}));
    EXPECT_EQ(player.name, "Bob");
    EXPECT_EQ(player.progress, 9);
    EXPECT_EQ(player.score, 42);
    EXPECT_EQ(Named("lb_hello").caption, "Hello, Bob");
    // The settings' window mode took effect at start-up.
    EXPECT_EQ(OE_GetOptions()->fullscreen, 0);
    EXPECT_EQ(Named("chk_wd").ticked, 1);
    EXPECT_EQ(Named("chk_mmd").ticked, 1);
    EXPECT_EQ(Named("edt_ct").caption, "Finland");
    EXPECT_EQ(Read("main.cfg"), std::string("\x01\r\n\x01\r\n\x00\r\nFinland\r\nBob\r\n", 23));
}

TEST_F(GameStart, AProfileNamedInNoSettingsFileStillOpensTheMenu) {
    UseGeneratedData();
    WriteFile("prf/Alice", std::string("\x03\r\n5\r\n", 6));
    RunGame(3);
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(player.name, "");
    EXPECT_EQ(player.progress, 0);
    EXPECT_EQ(player.score, 0);
}

class ScreenTicks : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        UseGeneratedData();
        WriteFile("prf/Alice", std::string("\0\r\n", 3));
        RunGame(0);
        particle_system.count = 0;
        player.progress = 0;
        player.score = 0;
        player.car_kind = 0;
        player.car_colour = 0;
        player.free_track = 0;
        oe::Recorder_Enable(true);
    }

    void Tick() {
        oe::Input_SetReader(oe::InputReader::Tick);
        GameTick();
        oe::Input_EndTurn(oe::InputReader::Tick);
        oe::Input_SetReader(oe::InputReader::Frame);
    }

    static int PlayRequests(const std::string& name) {
        const OE_Sound sound = SndBase_Find(sound_registry, name);
        const auto& calls = oe::Recorder_Calls();
        return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const oe::RecordedCall& c) {
            return c.name == "Snd_Play" && c.handle == sound;
        }));
    }
};

TEST_F(ScreenTicks, TheMenuGreetsThePlayerAndSendsUpOneSparkATick) {
    game.state = STATE_MENU;
    player.name = "Alice";
    Tick();
    EXPECT_EQ(Named("lb_hello").caption, "Hello, Alice");
    ASSERT_EQ(particle_system.count, 1);
    const TEffect2d& p = particle_system.items[0];
    EXPECT_EQ(p.kind, "light");
    EXPECT_EQ(p.fade, 4);
    EXPECT_EQ(p.colour, 0xFFFF);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 170);
    EXPECT_GE(p.size, 20);
    EXPECT_LE(p.size, 49);
    EXPECT_GE(p.vx, -5);
    EXPECT_LE(p.vx, 4);
    EXPECT_GE(p.vy, -14);
    EXPECT_LE(p.vy, -5);
    Tick();
    EXPECT_EQ(particle_system.count, 2);
}

TEST_F(ScreenTicks, TheTournamentScreenShowsTheStandingAndTheChosenCar) {
    game.state = STATE_TOURNAMENT;
    player.progress = 5;
    player.score = 700;
    player.car_kind = 1;
    player.car_colour = 3;
    Tick();
    EXPECT_EQ(Named("lb_cccscr").caption, "Your score is 700");
    EXPECT_EQ(Named("lb_ctrack").caption, "Fern Valley");
    EXPECT_EQ(Named("lb_ctrack").visible, 1);
    EXPECT_EQ(Named("lb_ccc").caption, group_texts[1]);
    EXPECT_EQ(Named("img_locktr").visible, 0);
    EXPECT_EQ(Image("img_car_wh").texture, TexBase_Find(object_registry, "car_wh10"));
    EXPECT_EQ(Image("img_car_tp").texture, TexBase_Find(object_registry, "car_tp10"));
    EXPECT_NE(Image("img_car_wh").texture, Image("img_car_tp").texture);
    EXPECT_EQ(Image("img_car_tp").tint, car_colours[3]);
    EXPECT_EQ(Image("img_color").tint, car_colours[3]);
    // Kind 2 frees after eight won tracks.
    player.car_kind = 2;
    Tick();
    EXPECT_EQ(Named("img_locktr").visible, 1);
    player.progress = 8;
    Tick();
    EXPECT_EQ(Named("img_locktr").visible, 0);
    EXPECT_EQ(Named("lb_ccc").caption, group_texts[2]);
}

TEST_F(ScreenTicks, AWonCupShowsTheWinnerAndFireworks) {
    game.state = STATE_TOURNAMENT;
    player.progress = 16;
    for (int i = 0; i < 300; ++i) Tick();
    EXPECT_EQ(Named("lb_ccc").caption, "Congratulations!!! You are the Winner!!!");
    EXPECT_EQ(Named("lb_ctrack").visible, 0);
    // About one tick in five sets a firework off.
    const int bangs = PlayRequests("fw");
    EXPECT_GT(bangs, 30);
    EXPECT_LT(bangs, 90);
    for (const auto& c : oe::Recorder_Calls()) {
        if (c.name != "Snd_Play" || c.handle != SndBase_Find(sound_registry, "fw")) continue;
        EXPECT_GE(c.args[0], -400);
        EXPECT_LT(c.args[0], 400);
    }
    EXPECT_GT(particle_system.count, 20);
}

TEST_F(ScreenTicks, TheFreeRaceScreenLocksTracksNotYetReached) {
    game.state = STATE_FREE_RACE;
    player.progress = 4;
    player.free_track = 5;
    Tick();
    EXPECT_EQ(Named("txt_locktr_map2").visible, 1);
    EXPECT_EQ(Image("img_track2").texture, TexBase_Find(share_registry, "tr_forest2"));
    EXPECT_EQ(Named("lb_ctrack2").caption, "Fern Valley");
    EXPECT_EQ(Named("img_locktr2").visible, 0);
    player.free_track = 4;
    player.car_kind = 2;
    player.car_colour = 15;
    Tick();
    EXPECT_EQ(Named("txt_locktr_map2").visible, 0);
    EXPECT_EQ(Named("img_locktr2").visible, 1);
    EXPECT_EQ(Named("lb_ctrack2").caption, "Pine Hollow");
    EXPECT_EQ(Image("img_car_wh2").texture, TexBase_Find(object_registry, "tank_wh10"));
    EXPECT_EQ(Image("img_color2").tint, car_colours[15]);
}

TEST_F(ScreenTicks, F12OpensTheEditorPanelAndF11TheMenu) {
    game.state = STATE_TOURNAMENT;
    Named("wnd_menu").visible = 0;
    Named("wnd_tour").visible = 1;
    player.car_kind = 3;
    oe::Input_Key(OE_KEY_F12, true);
    Tick();
    oe::Input_Key(OE_KEY_F12, false);
    EXPECT_EQ(game.state, STATE_EDITOR);
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_main"}));
    EXPECT_EQ(player.car_kind, 0);
    oe::Input_Key(OE_KEY_F11, true);
    Tick();
    oe::Input_Key(OE_KEY_F11, false);
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_menu"}));
}

// Leaving a race by the menu: a tournament race the cars were released in
// and the player had not finished counts as lost; the countdown, a free race
// and a finished race cost nothing.
struct Leaving {
    const char* name;
    int state;
    uint8_t mode;
    double since_start_ms;
    int32_t laps;
    int32_t score_after;
};

class LeavingARace : public ScreenTicks, public ::testing::WithParamInterface<Leaving> {};

TEST_P(LeavingARace, CountsAsLostOnlyOnceTheTournamentRaceIsUnderWay) {
    const Leaving& c = GetParam();
    player.name = "Alice";
    player.score = 2500;
    game.state = c.state;
    game.race_mode = c.mode;
    game.race_start_time = 1000.0;
    game.current_time = 1000.0 + c.since_start_ms;
    race.player_laps = c.laps;
    act_back_to_menu();
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(player.score, c.score_after);
    EXPECT_EQ(Read("prf/Alice"), c.score_after == 2500 ? std::string("\0\r\n", 3) : std::string("\0\r\n1500\r\n", 9));
}

INSTANTIATE_TEST_SUITE_P(Ways, LeavingARace,
                         ::testing::Values(Leaving{"PausedTournamentRace", STATE_PAUSED, 0, 9000, 1, 1500},
                                           Leaving{"RacingTournamentRace", STATE_RACE, 0, 4000, 0, 1500},
                                           Leaving{"DuringTheCountdown", STATE_RACE, 0, 3999, 0, 2500},
                                           Leaving{"FreeRace", STATE_PAUSED, 1, 9000, 1, 2500},
                                           Leaving{"AfterTheFourthLap", STATE_RACE, 0, 90000, 4, 2500},
                                           Leaving{"FinishedRace", STATE_FINISHED, 0, 90000, 4, 2500}),
                         [](const ::testing::TestParamInfo<Leaving>& info) { return std::string(info.param.name); });

// Every way out of a tournament race under way costs the defeat and saves it:
// the pause window's button, F11, F12 and closing the game. The pause window
// says so beforehand.
TEST_F(ScreenTicks, EveryWayOutOfARaceUnderWayCountsAsLost) {
    auto key = [this](int32_t code) {
        oe::Input_Key(code, true);
        Tick();
        oe::Input_Key(code, false);
    };
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"ExitToMenu", [] { act_back_to_menu(); }},
        {"F11", [&] { key(OE_KEY_F11); }},
        {"F12", [&] { key(OE_KEY_F12); }},
        {"ClosingTheGame", [] { ExitCallback(); }},
    };
    for (const auto& [name, leave] : ways) {
        SCOPED_TRACE(name);
        WriteFile("prf/Alice", std::string("\0\r\n2500\r\n", 9));
        player.name = "Alice";
        Profile_Load();   // 2500 points
        game.state = STATE_PAUSED;
        game.race_mode = 0;
        game.race_start_time = 1000.0;
        game.current_time = 11000.0;
        race.player_laps = 1;
        oe::Recorder_Clear();
        DrawLeaveWarning();
        const auto& calls = oe::Recorder_Calls();
        EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [](const oe::RecordedCall& c) {
            return c.text == "Exit to Menu now and the race counts as lost: -1000 points";
        }));
        leave();
        EXPECT_EQ(player.score, 1500);
        EXPECT_EQ(Read("prf/Alice"), std::string("\0\r\n1500\r\n", 9));
    }
    game.state = STATE_PAUSED;
    game.current_time = 4999.0;   // still the countdown: nothing to tell
    oe::Recorder_Clear();
    DrawLeaveWarning();
    EXPECT_TRUE(oe::Recorder_Calls().empty());
}

// The result window says what happened: the cup won after the last race, the
// place after a lost one.
struct Result {
    const char* name;
    uint8_t mode;
    bool won;
    int32_t progress;
    const char* second_label;
    const char* second_line;
    const char* third_label;
    const char* third_line;
};

class ResultTexts : public ScreenTicks, public ::testing::WithParamInterface<Result> {};

TEST_P(ResultTexts, SayWhatHappened) {
    const Result& c = GetParam();
    World_Clear(world_map);
    World_AddObject(world_map, "jeep", 0, 0, 1, 1, 0);   // a computer car finished first
    World_AddObject(world_map, "jeep", 50, 0, 0, 1, 0);
    race.finish_order[0] = 0;
    race.finish_order[1] = 1;
    race.finishers = 2;
    game.race_mode = c.mode;
    player.progress = c.progress;
    ResultTexts_Set(world_map, c.won);
    EXPECT_EQ(Named(c.second_label).caption, c.second_line);
    EXPECT_EQ(Named(c.third_label).caption, c.third_line);
}

INSTANTIATE_TEST_SUITE_P(
    Races, ResultTexts,
    ::testing::Values(Result{"TournamentWon", 0, true, 5, "lb_c2", "Now you can advance", "lb_c3", "to the next race!"},
                      Result{"CupWon", 0, true, PROGRESS_CUP_WON, "lb_c2", "You have won", "lb_c3", "the whole cup!"},
                      Result{"TournamentSecond", 0, false, 5, "lb_c2a", "You finished 2nd.", "lb_c3a",
                             "Only a win takes you on."},
                      Result{"LastTournamentRaceSecond", 0, false, PROGRESS_CUP_WON - 1, "lb_c2a",
                             "You finished 2nd.", "lb_c3a", "Only a win takes you on."},
                      Result{"FreeRaceWon", 1, true, 5, "lb_c22", "You have finished", "lb_c32", "first!"},
                      Result{"FreeRaceSecond", 1, false, 5, "lb_c2a2", "You have finished", "lb_c3a2", "2nd."}),
    [](const ::testing::TestParamInfo<Result>& info) { return std::string(info.param.name); });

}  // namespace
