// The navigation actions: which windows each control shows and hides, the
// states they set, the link files, quitting, the options and the editor's
// map buttons. Each runs through its control's action, as a click would.
#include <memory>

#include "core/notice.h"
#include "core/state.h"
#include "engine/fs.h"
#include "persist/settings.h"
#include "tests/ui/screens_fixture.h"
#include "ui/actions.h"
#include "ui/actions_race.h"
#include "ui/player_profile.h"
#include "world/mapfile.h"
#include "world/particles.h"
#include "world/tournament.h"

namespace {

class Actions : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        WriteFile("prf/Alice", std::string("\0\r\n", 3));
        player.name = "Alice";
        Screens_Build();
        opened.clear();
        OE_SetLinkOpener(RememberUrl);
    }
    void TearDown() override {
        OE_SetLinkOpener(nullptr);
        ScreensTest::TearDown();
    }

    // The menu as the game shows it after start-up, in full screen.
    void OpenMenu() {
        OE_SetScreenOptions(800, 600, 16, 0, true, true);
        act_back_to_menu();
        ASSERT_EQ(game.state, STATE_MENU);
    }

    static bool RememberUrl(const std::string& url) {
        opened.push_back(url);
        return true;
    }
    static inline std::vector<std::string> opened;
};

using Windows = std::vector<std::string>;

TEST_F(Actions, BackToMenuShowsOnlyTheMenuAndForgetsTheChoices) {
    for (const char* w : {"wnd_tour", "wnd_pause", "wnd_main", "wnd_opt", "wnd_help", "wnd_sr", "wnd_pr_cr",
                          "wnd_pr_ld", "wnd_fin_bad"})
        Named(w).visible = 1;
    player.car_kind = 2;
    player.car_colour = 5;
    player.free_track = 7;
    race.first_finisher = 3;
    race.player_laps = 2;
    Click("btn_bk");
    // The result windows are left to their own "Continue".
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_menu", "wnd_fin_bad"}));
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(player.car_kind, 0);
    EXPECT_EQ(player.car_colour, 0);
    EXPECT_EQ(player.free_track, 0);
    EXPECT_EQ(race.first_finisher, -1);
    EXPECT_EQ(race.player_laps, 0);
}

TEST_F(Actions, BackToMenuWithoutAnyProfileKeepsTheCurrentScreen) {
    std::filesystem::remove(dir_ / "prf" / "Alice");
    game.state = STATE_PROFILES;
    player.car_kind = 2;
    for (const char* control : {"btn_prbb", "btn_coa2", "btn_bk"}) {
        Click(control);
        EXPECT_EQ(ShownWindows(), (Windows{"wnd_pr"})) << control;
        EXPECT_EQ(game.state, STATE_PROFILES) << control;
        EXPECT_EQ(player.car_kind, 2) << control;
    }
}

TEST_F(Actions, BackToMenuListsTheProfilesAfresh) {
    WriteFile("prf/Zed", std::string("\0\r\n", 3));
    Click("btn_prbb");
    const Ilist& profiles = Element_As<Ilist>(Element_Find("lst_pr"));
    ASSERT_EQ(profiles.items.count, 2);
    EXPECT_EQ(profiles.items.names[1], "Zed");
}

TEST_F(Actions, TournamentShowsTheNextTrackAndSavesTheProfile) {
    OpenMenu();
    player.progress = 5;
    player.score = 1234;
    race.player_laps = 3;
    Particles_Emit(particle_system, "light", 4, 100, 100, 0, -1, 8, 0xFFFFFF);   // a menu spark
    Click("btn_tr");
    EXPECT_EQ(particle_system.count, 0);   // left in the menu
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_tour"}));
    EXPECT_EQ(game.state, STATE_TOURNAMENT);
    EXPECT_EQ(Element_As<Iimage>(Element_Find("img_track")).texture, TexBase_Find(share_registry, "tr_forest2"));
    EXPECT_EQ(Named("btn_start_tr").visible, 1);
    EXPECT_EQ(Named("btn_send").visible, 0);
    EXPECT_EQ(race.player_laps, 0);
    EXPECT_EQ(race.first_finisher, -1);
    EXPECT_EQ(ReadFile("prf/Alice"), std::string("\x05\r\n1234\r\n"));
}

// Saves that fail say so at the foot of the screen and leave the old files.
TEST_F(Actions, FailedSavesAreToldAndKeepTheOldFiles) {
    OpenMenu();
    const std::string profile = ReadFile("prf/Alice");
    Fs_InjectFault(FsFault::Write);
    Click("btn_tr");
    EXPECT_EQ(Notice_Current(U_GetTime()), "Could not save the profile: input/output error");
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_tour"}));
    game.notice.clear();
    Settings_Save();
    Fs_InjectFault(FsFault::None);
    EXPECT_EQ(Notice_Current(U_GetTime()), "Could not save the settings: input/output error");
    EXPECT_EQ(ReadFile("prf/Alice"), profile);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "main.cfg"));
}

TEST_F(Actions, TournamentWithTheCupWonOffersMoreGamesInsteadOfARace) {
    OpenMenu();
    player.progress = 16;
    Click("btn_tr");
    EXPECT_EQ(Element_As<Iimage>(Element_Find("img_track")).texture, TexBase_Find(share_registry, "g_tr"));
    EXPECT_EQ(Named("btn_start_tr").visible, 0);
    EXPECT_EQ(Named("btn_send").visible, 1);
}

TEST_F(Actions, ContinueAfterATournamentRaceReturnsToTheTournamentScreen) {
    for (const char* control : {"btn_co", "btn_coa"}) {
        game.state = STATE_FINISHED;
        Named("wnd_pr").visible = 0;
        Named("wnd_fin_good").visible = 1;
        Named("wnd_fin_bad").visible = 1;
        Click(control);
        EXPECT_EQ(ShownWindows(), (Windows{"wnd_tour"})) << control;
        EXPECT_EQ(game.state, STATE_TOURNAMENT);
    }
}

TEST_F(Actions, ContinueAfterAFreeRaceReturnsToTheFreeRaceScreenWithoutSaving) {
    std::filesystem::remove(dir_ / "prf" / "Alice");
    player.progress = 3;
    for (const char* window : {"wnd_fin_good2", "wnd_fin_bad2"}) {
        Named("wnd_pr").visible = 0;
        Named("wnd_fin_good2").visible = 1;
        Named("wnd_fin_bad2").visible = 1;
        race.player_laps = 4;
        Control(window, "Continue").action();
        EXPECT_EQ(ShownWindows(), (Windows{"wnd_sr"})) << window;
        EXPECT_EQ(game.state, STATE_FREE_RACE);
        EXPECT_EQ(race.player_laps, 0);
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "prf" / "Alice"));
}

TEST_F(Actions, MenuButtonsOpenTheirScreens) {
    const std::pair<const char*, std::pair<uint8_t, const char*>> cases[] = {
        {"btn_sr", {STATE_FREE_RACE, "wnd_sr"}},
        {"btn_op", {STATE_OPTIONS, "wnd_opt"}},
        {"btn_hlp", {STATE_HELP, "wnd_help"}},
    };
    for (const auto& [control, expected] : cases) {
        OpenMenu();
        Click(control);
        EXPECT_EQ(game.state, expected.first) << control;
        EXPECT_EQ(ShownWindows(), (Windows{expected.second})) << control;
    }
}

TEST_F(Actions, HelpPagesShowOneAtATimeAndNeverTheThird) {
    Click("btn_ctr");
    EXPECT_EQ(Named("img_h1").visible, 0);
    EXPECT_EQ(Named("img_h2").visible, 1);
    Named("img_h3").visible = 1;
    Click("btn_ov");
    EXPECT_EQ(Named("img_h1").visible, 1);
    EXPECT_EQ(Named("img_h2").visible, 0);
    EXPECT_EQ(Named("img_h3").visible, 0);
}

TEST_F(Actions, ResumeReturnsToTheRace) {
    game.state = STATE_PAUSED;
    Named("wnd_pause").visible = 1;
    Click("btn_res");
    EXPECT_EQ(game.state, STATE_RACE);
    EXPECT_EQ(Named("wnd_pause").visible, 0);
}

TEST_F(Actions, ExitToMenuFromThePauseWindowGoesToTheMenu) {
    game.state = STATE_PAUSED;
    Named("wnd_pause").visible = 1;
    Click("btn_coa2");
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_menu"}));
}

TEST_F(Actions, LinkButtonsOpenTheAddressOfTheirFileWhenItExists) {
    const std::pair<const char*, const char*> links[] = {
        {"moregames.url", "https://example.org/more"},   {"tellafriend.url", "https://example.org/tell"},
        {"subscribe.url", "https://example.org/news"},   {"website.url", "https://example.org/"},
    };
    for (const auto& [file, url] : links) WriteFile(file, std::string("[InternetShortcut]\r\nURL=") + url + "\r\n");
    // "btn_tell" finds "Subscribe"; "Tell a Friend" shares its name.
    Click("btn_more");
    Control("wnd_menu", "Tell a Friend").action();
    Control("wnd_menu", "Subscribe").action();
    Click("img_logo");
    Click("btn_send");
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org/more", "https://example.org/tell",
                                                "https://example.org/news", "https://example.org/",
                                                "https://example.org/more"}));
}

// Only web pages and mail open; file: addresses and custom handlers do not.
TEST_F(Actions, LinkFilesOpenOnlyWebAndMailAddresses) {
    const std::vector<std::pair<std::string, bool>> addresses = {
        {"https://example.org/", true}, {"HTTP://example.org/", true},  {"mailto:team@example.org", true},
        {"file:///etc/passwd", false},  {"steam://run/1", false},        {"javascript:alert(1)", false},
        {"example.org", false},         {"/usr/bin/xterm", false},
    };
    for (const auto& [url, opens] : addresses) {
        opened.clear();
        WriteFile("website.url", "[InternetShortcut]\r\nURL=" + url + "\r\n");
        EXPECT_EQ(OE_OpenLinkFile("website.url"), opens) << url;
        EXPECT_EQ(opened.size(), opens ? 1u : 0u) << url;
    }
}

TEST_F(Actions, MissingLinkFilesOpenNothing) {
    for (const char* control : {"btn_more", "btn_tell", "img_logo", "btn_send"}) Click(control);
    EXPECT_TRUE(opened.empty());
}

// The loop runs until the driver stops it; counts its passes.
int PassesUntilTheLoopEnds(oe::VirtualBackend& backend) {
    int passes = 0;
    backend.SetDriver([&] { return ++passes < 50; });
    OE_RegProcedure(OE_PROC_DRAW, act_quit);
    OE_Init(16, 0);
    return passes;
}

TEST_F(Actions, QuitEndsTheLoopAndOpensPlayUrlWhenPresent) {
    WriteFile("play.url", "[InternetShortcut]\nURL=https://example.org/play\n");
    EXPECT_EQ(PassesUntilTheLoopEnds(*backend_), 1);
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org/play"}));
}

TEST_F(Actions, QuitEndsTheLoopWithoutPlayUrl) {
    EXPECT_EQ(PassesUntilTheLoopEnds(*backend_), 1);
    EXPECT_TRUE(opened.empty());
}

TEST_F(Actions, OptionBoxesWorkAsRadioPairs) {
    const std::pair<const char*, const char*> pairs[] = {
        {"chk_fs", "chk_wd"}, {"chk_wd", "chk_fs"}, {"chk_ame", "chk_amd"},
        {"chk_amd", "chk_ame"}, {"chk_mme", "chk_mmd"}, {"chk_mmd", "chk_mme"},
    };
    for (const auto& [box, partner] : pairs) {
        Named(box).ticked = 0;
        Named(partner).ticked = 1;
        Click(box);
        EXPECT_EQ(Named(box).ticked, 1) << box;
        EXPECT_EQ(Named(partner).ticked, 0) << box;
    }
}

TEST_F(Actions, ClickingATickedOptionBoxLeavesItTicked) {
    OpenMenu();
    Click("btn_op");
    Named("chk_wd").ticked = 1;
    // A real click through the interface: the box flips itself, then its action ticks it again.
    oe::Input_MouseMove(480 + 90, 140 + 20);
    oe::Input_MouseButton(OE_MOUSE_LEFT, true, false);
    oe::Input_SetReader(oe::InputReader::Frame);
    Gui_UpdateAll();
    oe::Input_EndTurn(oe::InputReader::Frame);
    oe::Input_MouseButton(OE_MOUSE_LEFT, false, false);
    EXPECT_EQ(Named("chk_wd").ticked, 1);
    EXPECT_EQ(Named("chk_fs").ticked, 0);
}

TEST_F(Actions, AcceptOptionsWritesTheSettingsSwitchesTheWindowAndReturnsToTheMenu) {
    OpenMenu();
    Click("btn_op");
    ASSERT_NE(OE_GetOptions()->fullscreen, 0);
    Click("chk_wd");
    Click("chk_amd");
    oe::Recorder_Clear();
    Click("btn_acc");
    EXPECT_EQ(ReadFile("main.cfg"), std::string("\x01\r\n\x00\r\n\x01\r\n\r\nAlice\r\n", 18));
    EXPECT_EQ(OE_GetOptions()->fullscreen, 0);
    EXPECT_EQ(options.windowed, 1);
    EXPECT_EQ(options.ambient_off, 1);
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_menu"}));
    // A second Accept changes nothing on the screen.
    Click("btn_op");
    oe::Recorder_Clear();
    Click("btn_acc");
    for (const auto& c : oe::Recorder_Calls()) EXPECT_NE(c.name, "OE_ChangeScreenOptions");
}

TEST_F(Actions, BackFromTheOptionsWritesNothing) {
    OpenMenu();
    Click("btn_op");
    Click("chk_wd");
    Click("btn_bk22");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "main.cfg"));
    EXPECT_EQ(Named("chk_wd").ticked, 1);
    EXPECT_NE(OE_GetOptions()->fullscreen, 0);
}

TEST_F(Actions, EditorSavesAndLoadsTheMapNamedInItsEditBoxes) {
    std::filesystem::remove_all(dir_ / "wld");   // the link (or linked tree), not the tracks
    std::filesystem::create_directory(dir_ / "wld");
    World_Clear(world_map);
    world_map.waypoint_count = 0;
    World_AddObject(world_map, "lamp", 100, 200, 0, 0, 0xFFFFFF);
    World_AddWaypoint(world_map, 10, 20);
    Named("edt_save").caption = "mine";
    Click("btn_save");
    ASSERT_TRUE(std::filesystem::exists(dir_ / "wld" / "mine.wld"));
    EXPECT_EQ(Fs_ReadFile("wld\\mine.wld").value(), MapFile_Encode(world_map));
    World_AddObject(world_map, "tree", 300, 300, 0, 0, 0xFFFFFF);
    // A missing file leaves the map as it is; the saved one replaces it.
    Named("edt_load").caption = "missing";
    Click("btn_load");
    EXPECT_EQ(world_map.count, 2);
    Named("edt_load").caption = "mine";
    Click("btn_load");
    ASSERT_EQ(world_map.count, 1);
    EXPECT_EQ(world_map.objects[0].kind, "lamp");
    EXPECT_EQ(world_map.waypoint_count, 1);
}

TEST_F(Actions, EditorMapNamesThatLeaveTheTrackFolderDoNothing) {
    std::filesystem::remove_all(dir_ / "wld");   // the link (or linked tree), not the tracks
    std::filesystem::create_directory(dir_ / "wld");
    const std::string outside = "1\r\nlamp\r\n5\r\n5\r\n0\r\n0\r\n0\r\n0\r\n";
    WriteFile("outside.wld", outside);
    World_Clear(world_map);
    World_AddObject(world_map, "tree", 300, 300, 0, 0, 0xFFFFFF);
    for (const char* name : {"../outside", "a/b", "..", ""}) {
        Named("edt_save").caption = name;
        Click("btn_save");
        Named("edt_load").caption = name;
        Click("btn_load");
        ASSERT_EQ(world_map.count, 1) << name;
        EXPECT_EQ(world_map.objects[0].kind, "tree") << name;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "wld"));
    EXPECT_EQ(ReadFile("outside.wld"), outside);
}

TEST_F(Actions, UndoWaypointTakesTheLastOneAndStopsAtNone) {
    world_map.waypoint_count = 2;
    Click("btn_dwp");
    EXPECT_EQ(world_map.waypoint_count, 1);
    Click("btn_dwp");
    Click("btn_dwp");
    EXPECT_EQ(world_map.waypoint_count, 0);
}

}  // namespace
