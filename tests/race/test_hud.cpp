// The race HUD and what each state's frame draws, on the recording backend.
#include "app/frame.h"
#include "app/hud.h"
#include "app/results.h"
#include "core/notice.h"
#include "core/state.h"
#include "race_fixture.h"
#include "ui/display_widgets.h"
#include "ui/screens.h"
#include "world/race_rules.h"
#include "world/view.h"

namespace {

class Hud : public RaceTest {
protected:
    void SetUp() override {
        RaceTest::SetUp();
        game.main_font = Text_LoadFontFromFile(std::string(KORVAMO_TEST_DATA) + "/fnt/font.tga",
                                          std::string(KORVAMO_TEST_DATA) + "/fnt/font.ofi", 0xFFFFFFFF, 266);
        ASSERT_NE(game.main_font, nullptr);
        badge_ = AddTexture(share_registry, "for", 128, 128);
        LoadSounds({"start"});
    }

    void TearDown() override {
        element_list.clear();
        game.main_font = nullptr;
        RaceTest::TearDown();
    }

    // The countdown at e milliseconds after the race start.
    static std::vector<std::string> CountdownAt(double e) {
        game.race_start_time = 1000.0;
        game.current_time = 1000.0 + e;
        oe::Recorder_Enable(true);
        DrawCountdown(world_map);
        std::vector<std::string> calls = CallsWithout();
        oe::Recorder_Enable(false);
        return calls;
    }

    static std::string Texts() {
        std::string texts;
        for (const oe::RecordedCall& c : oe::Recorder_Calls())
            if (c.name == "Text_Draw") texts += "[" + c.text + "]";
        return texts;
    }

    OE_Texture badge_ = nullptr;
};

TEST_F(Hud, TheCountdownShows3211GoAtTheirTimesAndNothingBetween) {
    const struct {
        double e;
        const char* text;   // empty: nothing drawn
        int32_t colour;
        bool beep;
    } table[] = {
        {0, "3", 0x0000FF, false},      {500, "3", 0x0000FF, false},   {900, "3", 0x0000FF, false},
        {901, "3", 0x0000FF, true},     {999, "3", 0x0000FF, true},    {1000, "", 0, false},
        {1001, "2", 0x00AAFF, false},   {1950, "2", 0x00AAFF, true},   {2000, "", 0, false},
        {2500, "1", 0x00FFAA, false},   {2999, "1", 0x00FFAA, true},   {3000, "", 0, false},
        {3001, "GO!!!", 0x00FF00, false}, {3900, "GO!!!", 0x00FF00, false}, {3950, "GO!!!", 0x00FF00, true},
        {4000, "", 0, false},           {4030, "", 0, false},          {60000, "", 0, false},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.e);
        const std::vector<std::string> calls = CountdownAt(row.e);
        if (!*row.text) {
            EXPECT_TRUE(calls.empty());
            continue;
        }
        const int w = Text_GetWidth(game.main_font, row.text, 1.0f, 0);
        std::vector<std::string> expected;
        if (row.beep) expected.push_back("Snd_Play 0 0 0 0");
        for (const std::string& call :
             {"FX_SetColorMix " + std::to_string(row.colour), std::string("SSprite_Draw 336 236 128 128 255 0 9"),
              "Text_GetWidth '" + std::string(row.text) + "' 1 0",
              "Text_Draw '" + std::string(row.text) + "' " + std::to_string(404 - w) + " 272 2 0 255 139264",
              "Text_Draw '" + std::string(row.text) + "' " + std::to_string(400 - w) + " 268 2 0 255 1048575"})
            expected.push_back(call);
        EXPECT_EQ(calls, expected);
    }
}

TEST_F(Hud, TheBeepIsTheStartSoundAndTheBadgeTheCountdownTexture) {
    game.race_start_time = 0.0;
    game.current_time = 950.0;
    oe::Recorder_Enable(true);
    DrawCountdown(world_map);
    EXPECT_EQ(PlaysOf("start").size(), 1u);
    int badges = 0;
    for (const oe::RecordedCall& c : oe::Recorder_Calls()) badges += c.name == "SSprite_Draw" && c.handle == badge_;
    EXPECT_EQ(badges, 1);
}

TEST_F(Hud, TheCountdownBadgeNeverCoversThePlayersCar) {
    game.main_camera->x = 1000;
    game.main_camera->y = 2000;
    const int32_t car = AddCar("jeep", 0, 0, 0);
    for (int32_t sx = 300; sx <= 500; sx += 20)
        for (int32_t sy = 40; sy <= 600; sy += 10) {
            At(car).x = 1000 + sx;   // the car's base point on screen at (sx, sy)
            At(car).y = 2000 + sy;
            const int32_t top = CountdownBadgeTop(world_map);
            const bool apart = sx + 32 <= 336 || sx - 32 >= 464 || sy <= top || sy - 64 >= top + 128;
            EXPECT_TRUE(apart) << "car at " << sx << ", " << sy << ", badge at " << top;
        }
    At(car).x = 1000 + 100;   // far to the left: the badge stays in the middle
    EXPECT_EQ(CountdownBadgeTop(world_map), 236);
}

TEST_F(Hud, TheLapCounterShowsTheLapBeingDrivenWithItsShadow) {
    oe::Recorder_Enable(true);
    DrawLapCounter();
    EXPECT_EQ(CallsWithout(), (std::vector<std::string>{"Pr2D_Rect 116 32 116 64 0 64 1",
                                                        "Text_Draw '1/4 Laps' 130 50 1 0 255 139264",
                                                        "Text_Draw '1/4 Laps' 128 48 1 0 255 16777215"}));
    race.player_laps = 3;
    oe::Recorder_Clear();
    DrawLapCounter();
    EXPECT_EQ(Texts(), "[4/4 Laps][4/4 Laps]");
}

// Beside the result window: the placings and the player's race, after a win
// and after a lost tournament race.
TEST_F(Hud, TheResultsTellThePlacingsTimesAndPoints) {
    for (const bool won : {true, false}) {
        SCOPED_TRACE(won ? "won" : "lost");
        World_Clear(world_map);
        Race_ClearResult();
        world_map.waypoint_count = 0;
        for (int32_t k = 0; k < 4; ++k) World_AddWaypoint(world_map, k * 500, 0);
        const int32_t rival = AddCar("tank", 0, 0, 1);
        const int32_t you = AddCar("jeep", 0, 0, 0);
        const int32_t lapped = AddCar("car", 0, 0, 1);
        At(rival).laps = 4;
        At(rival).waypoint = 1;
        race.player_laps = 4;
        At(lapped).laps = 2;   // 10 waypoints against the finishers' 16
        At(lapped).waypoint = 3;
        game.race_start_time = 0.0;
        game.current_time = 4000.0 + 140000.0;
        Race_RecordFinisher(won ? you : rival);
        game.current_time += 1500.0;
        Race_RecordFinisher(won ? rival : you);
        race.race_ms = 143800;
        race.best_lap_ms = 35600;
        race.bonus_points = 640;
        race.points_lost = won ? 0 : 1000;
        oe::Recorder_Enable(true);
        DrawResults(world_map);
        // Each driver by name, the winner's time, the next finisher's time and
        // gap to the winner, and the car still racing a lap down.
        const std::string first = won ? "You" : "Aino", second = won ? "Aino" : "You";
        const std::string placings = "[1st  " + first + "][1st  " + first + "][2:20.0][2:20.0][2nd  " + second +
                                     "][2nd  " + second + "][2:21.5  +1.5][2:21.5  +1.5][3rd  Veikko][3rd  Veikko]"
                                     "[+1 lap][+1 lap]";
        const std::string texts = Texts();
        EXPECT_NE(texts.find(placings), std::string::npos) << texts;
        EXPECT_NE(texts.find("[Time  2:23.8][Time  2:23.8][Best  0:35.6][Best  0:35.6][Bonus  +640][Bonus  +640]"),
                  std::string::npos) << texts;
        EXPECT_EQ(texts.find("[Lost  -1000]") != std::string::npos, !won) << texts;
        oe::Recorder_Enable(false);
    }
}

// The place and the times: "2nd / 3" at the top, the lap, best lap and race time at the bottom left.
TEST_F(Hud, ThePlaceAndTheTimesFollowTheRace) {
    World_AddWaypoint(world_map, 0, 0);
    World_AddWaypoint(world_map, 1000, 0);
    At(AddCar("car", 900, 0, 1)).waypoint = 1;   // past the line, driving to waypoint 1
    AddCar("jeep", -300, 0, 0);
    AddCar("car", -600, 0, 1);
    game.race_start_time = 0;
    game.current_time = 3000;   // the countdown: no race time yet
    oe::Recorder_Enable(true);
    DrawPosition(world_map);
    DrawTimes();
    EXPECT_EQ(Texts(), "[2nd / 3][2nd / 3][Lap  0:00.0][Lap  0:00.0][Best -:--.-][Best -:--.-][Race -:--.-][Race -:--.-]");
    oe::Recorder_Clear();
    game.current_time = 65300;   // a minute into the race, on the first lap
    DrawTimes();
    EXPECT_EQ(Texts(), "[Lap  1:01.3][Lap  1:01.3][Best -:--.-][Best -:--.-][Race 1:01.3][Race 1:01.3]");
    oe::Recorder_Enable(false);
}

TEST_F(Hud, TheScoreIsCentredUnderTheBonusIcons) {
    for (const int32_t value : {0, 12345}) {
        player.score = value;
        const std::string text = "Score: " + std::to_string(value);
        const int w = Text_GetWidth(game.main_font, text, 1.0f, 0);
        oe::Recorder_Enable(true);
        DrawScore();
        EXPECT_EQ(CallsWithout(), (std::vector<std::string>{
                                      "Text_GetWidth '" + text + "' 1 0",
                                      "Text_Draw '" + text + "' " + std::to_string(674 - w / 2) + " 58 1 0 255 139264",
                                      "Text_Draw '" + text + "' " + std::to_string(672 - w / 2) + " 56 1 0 255 16777215"}));
        oe::Recorder_Enable(false);
    }
}

TEST_F(Hud, TheBonusPanelAlwaysShowsTheThreeIcons) {
    const OE_Texture icons[] = {AddTexture(object_registry, "bn_slw1", 32, 32),
                                AddTexture(object_registry, "bn_spd1", 32, 32),
                                AddTexture(object_registry, "bn_oil1", 32, 32)};
    oe::Recorder_Enable(true);
    DrawBonusPanel();
    EXPECT_EQ(CallsWithout(), (std::vector<std::string>{"Pr2D_Rect 578 20 180 80 0 64 1",
                                                        "SSprite_Draw 620 32 32 32 255 0 1",
                                                        "SSprite_Draw 652 32 32 32 255 0 1",
                                                        "SSprite_Draw 684 32 32 32 255 0 1"}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(oe::Recorder_Calls()[1 + i].handle, icons[i]);
}

class Frame : public Hud {
protected:
    // What one frame drew, as a sequence of named pieces.
    std::vector<std::string> Pieces() {
        oe::Recorder_Enable(true);
        DrawFrame();
        std::vector<std::string> pieces;
        auto add = [&](const std::string& piece) {
            if (pieces.empty() || pieces.back() != piece) pieces.push_back(piece);
        };
        for (const oe::RecordedCall& c : oe::Recorder_Calls()) {
            const auto is = [&](const char* name, int size) {
                return c.name == "SSprite_Draw" && c.handle == TexBase_Find(share_registry, name) && c.args[2] == size;
            };
            if (c.name == "Pr2D_Rect" && c.args[2] == 800) add("background");
            if (c.name == "SSprite_Draw" && c.handle == tree_ && c.args[6] == 65) add("world");
            if (is("light", 20)) add("particles");
            if (is("g_wh", 128)) add("corner");
            if (c.name == "Pr2D_Rect" && c.args[0] + c.args[2] == 784) add("minimap");
            if (c.handle == badge_) add("countdown");
            if (c.name == "Text_Draw" && c.text.ends_with("/4 Laps")) add("laps");
            if (c.name == "Pr2D_Rect" && c.args[0] == 578) add("panel");
            if (c.name == "Text_Draw" && c.text.starts_with("Score: ")) add("score");
            if (is("g_cur", 64)) add("cursor");
            if (c.name == "Pr2D_Rect" && c.args[0] == 7) add("interface");
        }
        oe::Recorder_Enable(false);
        return pieces;
    }

    void SetUp() override {
        Hud::SetUp();
        tree_ = AddTexture(object_registry, "tree1", 64, 64);
        AddTexture(share_registry, "light", 16, 16);
        AddTexture(share_registry, "g_wh", 128, 128);
        AddTexture(share_registry, "g_cur", 64, 64);
        tminimal tree = Object("tree", 100, 100);
        tree.width = tree.height = 64;
        tree.frame = 1.0f;
        World_Append(world_map, tree);
        World_AddWaypoint(world_map, 0, 0);
        World_RefreshDrawList();
        Particles_Emit(particle_system, "light", 4, 10, 10, 0, 0, 20, 0xFFFF);
        game.race_start_time = 0.0;
        game.current_time = 500.0;
        // A visible element whose frame draws something recognisable.
        Element_Add(std::make_unique<Iwindow>("wnd_test", 7, 7, 100, 100, "T", 1));
    }

    OE_Texture tree_ = nullptr;
};

TEST_F(Frame, TheRaceDrawsWorldParticlesMinimapAndHudButNoInterfaceOrCursor) {
    game.state = STATE_RACE;
    EXPECT_EQ(Pieces(), (std::vector<std::string>{"background", "world", "particles", "corner", "minimap", "countdown",
                                                  "laps", "panel", "score"}));
    game.current_time = 4500.0;   // the countdown is over
    EXPECT_EQ(Pieces(), (std::vector<std::string>{"background", "world", "particles", "corner", "minimap", "laps",
                                                  "panel", "score"}));
}

TEST_F(Frame, MenusDrawTheInterfaceThenTheParticlesThenTheCursor) {
    for (uint8_t state : {STATE_MENU, STATE_TOURNAMENT}) {
        game.state = state;
        EXPECT_EQ(Pieces(), (std::vector<std::string>{"interface", "particles", "cursor"})) << int(state);
    }
    for (uint8_t state : {STATE_FREE_RACE, STATE_OPTIONS, STATE_HELP}) {
        game.state = state;
        EXPECT_EQ(Pieces(), (std::vector<std::string>{"interface", "cursor"})) << int(state);
    }
}

TEST_F(Frame, TheEditorShowsTheWorldAndItsParticles) {
    game.state = STATE_EDITOR;
    EXPECT_EQ(Pieces(), (std::vector<std::string>{"background", "world", "particles", "interface", "cursor"}));
}

TEST_F(Frame, FinishedAndPausedShowTheFrozenWorldUnderTheInterface) {
    for (uint8_t state : {STATE_FINISHED, STATE_PAUSED}) {
        game.state = state;
        EXPECT_EQ(Pieces(), (std::vector<std::string>{"world", "interface", "cursor"})) << int(state);
    }
}

TEST_F(Frame, States3And4DrawNothingAtAll) {
    for (uint8_t state : {uint8_t{3}, uint8_t{4}, uint8_t{200}}) {
        game.state = state;
        oe::Recorder_Enable(true);
        DrawFrame();
        EXPECT_TRUE(oe::Recorder_Calls().empty()) << int(state);
        oe::Recorder_Enable(false);
    }
}

// A notice shows last, in every state that draws, until its time is up.
TEST_F(Frame, ANoticeShowsOverEveryScreenForItsTime) {
    Notice_Post("Could not save the profile: permission denied");
    const auto notices = [] {
        oe::Recorder_Enable(true);
        DrawFrame();
        const auto& calls = oe::Recorder_Calls();
        const bool last = !calls.empty() && calls.back().text == "Could not save the profile: permission denied";
        oe::Recorder_Enable(false);
        return last;
    };
    for (uint8_t state : {STATE_RACE, STATE_MENU, STATE_EDITOR, STATE_PROFILES, STATE_PAUSED, STATE_HELP}) {
        game.state = state;
        EXPECT_TRUE(notices()) << int(state);
    }
    backend_->Advance(NOTICE_MS);
    EXPECT_FALSE(notices());
}

TEST_F(Frame, TheMainMenuTurnsItsPicturesAfterTheInterfacePass) {
    for (const char* name : {"img_sh1", "img_sh2", "img_sh3"})
        Element_Add(std::make_unique<Iimage>(name, 0, 0, 10, 10, "", 1));
    Screens_Resolve();
    game.menu_counter = 8;
    game.state = STATE_MENU;
    DrawFrame();
    EXPECT_EQ(Element_As<Iimage>(Element_Find("img_sh1")).angle, 8);
    EXPECT_EQ(Element_As<Iimage>(Element_Find("img_sh3")).angle, 53);
    EXPECT_EQ(Element_As<Iimage>(Element_Find("img_sh2")).angle, 87);
}

}  // namespace
