// Start-up: the load callback's order, the first state, and a game that still
// starts when its assets are missing or broken.
#include <algorithm>

#include "core/state.h"
#include "ui/element.h"
#include "ui/screens.h"
#include "world/particles.h"
#include "world/race_setup.h"
#include "world/world.h"
#include "engine/record.h"
#include "tests/app/game_fixture.h"

namespace {

using StartUp = GameFixture;

TEST_F(StartUp, WithoutProfilesTheGameOpensTheProfileScreens) {
    UseGeneratedData();
    RunGame(10);
    EXPECT_EQ(game.state, STATE_PROFILES);
    EXPECT_EQ(player.name, "");
}

TEST_F(StartUp, WithAProfileTheGameOpensTheMainMenu) {
    UseGeneratedData();
    WriteFile("prf/Alice", std::string("\0\r\n", 3));
    RunGame(10);
    EXPECT_EQ(game.state, STATE_MENU);
}

TEST_F(StartUp, AFolderInsideProfilesIsNotAProfile) {
    UseGeneratedData();
    std::filesystem::create_directories(dir_ / "prf" / "old");
    RunGame(2);
    EXPECT_EQ(game.state, STATE_PROFILES);
}

TEST_F(StartUp, LoadsEveryGeneratedAssetIntoItsRegistry) {
    UseGeneratedData();
    RunGame(1);
    EXPECT_GT(share_registry.count, 20);
    EXPECT_GT(object_registry.count, 4 * 32);
    EXPECT_EQ(sound_registry.count, 10);
    EXPECT_NE(game.main_font, nullptr);
    EXPECT_NE(game.main_camera, nullptr);
    for (const char* name : {"g_cur", "g_wnd", "light", "smoke", "for"})
        EXPECT_NE(TexBase_Find(share_registry, name), nullptr) << name;
    for (const char* name : {"jeep_wh1", "tank_tp16", "bn_oil1", "lamp1", "lnd_start1"})
        EXPECT_NE(TexBase_Find(object_registry, name), nullptr) << name;
}

// A played game, then the one reset: everything as a new process holds it.
TEST_F(StartUp, TheResetForgetsAPlayedGame) {
    UseGeneratedData();
    WriteFile("prf/Alice", "\x05\r\n300\r\n");
    RunGame(3);
    World_StartRace("beach1");
    player.car_colour = 7;
    options.country = "FI";
    race.first_finisher = 2;
    ASSERT_GT(world_map.count, 0);
    Game_Reset();
    EXPECT_EQ(game.state, 0);
    EXPECT_EQ(game.main_camera, nullptr);
    EXPECT_EQ(player.name, "");
    EXPECT_EQ(player.progress, 0);
    EXPECT_EQ(player.car_colour, 0);
    EXPECT_EQ(player.difficulty, 1);
    EXPECT_EQ(options.country, "");
    EXPECT_EQ(race.first_finisher, -1);
    EXPECT_EQ(world_map.count, 0);
    EXPECT_EQ(world_map.waypoint_count, 0);
    EXPECT_EQ(world_map.objects[0].kind, "");
    EXPECT_EQ(draw_list.count, 0);
    EXPECT_EQ(particle_system.count, 0);
    EXPECT_EQ(share_registry.count, 0);
    EXPECT_EQ(sound_registry.count, 0);
    EXPECT_TRUE(element_list.empty());
    EXPECT_EQ(gui.font, nullptr);
    // The handles stand in for the screens no one has built.
    EXPECT_EQ(screens.wnd_menu->visible, 0);
}

TEST_F(StartUp, ScreenOptionsAndTitleAreSetBeforeTheLoop) {
    RunGame(1);
    EXPECT_NE(OE_GetOptions()->fullscreen, 0);
    EXPECT_EQ(OE_GetOptions()->width, 800);
    EXPECT_EQ(OE_GetOptions()->height, 600);
}

TEST_F(StartUp, MissingAssetFoldersLeaveEmptyRegistriesAndTheGameRuns) {
    RunGame(5);
    EXPECT_EQ(share_registry.count, 0);
    EXPECT_EQ(object_registry.count, 0);
    EXPECT_EQ(sound_registry.count, 0);
    EXPECT_EQ(game.main_font, nullptr);
    EXPECT_EQ(game.state, STATE_PROFILES);
    // Nothing to play: the pointer, in the middle of the screen until it
    // moves, hovers over a button, whose sound has no handle.
    for (const oe::RecordedCall& c : oe::Recorder_Calls())
        if (c.name == "Snd_Play") {
            EXPECT_EQ(c.handle, nullptr);
        }
}

TEST_F(StartUp, BrokenAssetsGiveNullHandlesAndTheGameRuns) {
    WriteFile("gfx/share/g_cur.tga", "not an image");
    WriteFile("gfx/obj/jeep_wh1.jpg", "\xff\xd8\xff\xe0 truncated");
    WriteFile("sfx/click.wav", "RIFF\x10\0\0\0WAVE");
    WriteFile("fnt/font.tga", "x");
    WriteFile("fnt/font.ofi", "korvamo-font 1\natlas ten ten\n");
    RunGame(5);
    ASSERT_EQ(share_registry.count, 1);
    EXPECT_EQ(share_registry.entries[0].name, "g_cur");
    EXPECT_EQ(TexBase_Find(share_registry, "g_cur"), nullptr);
    EXPECT_EQ(TexBase_Find(object_registry, "jeep_wh1"), nullptr);
    EXPECT_EQ(SndBase_Find(sound_registry, "click"), nullptr);
    EXPECT_EQ(game.main_font, nullptr);
    EXPECT_EQ(game.state, STATE_PROFILES);
}

// Each asset that does not load is named once on standard error, with why.
TEST_F(StartUp, BrokenAssetsAreNamedOnceWithTheReason) {
    WriteFile("gfx/share/g_cur.tga", "not an image");
    WriteFile("sfx/click.wav", "RIFF\x10\0\0\0WAVE");
    WriteFile("fnt/font.ofi", "korvamo-font 1\natlas ten ten\n");
    testing::internal::CaptureStderr();
    RunGame(5);
    const std::string said = testing::internal::GetCapturedStderr();
    for (const char* line : {"korvamo: cannot load gfx\\share\\g_cur.tga: not a TGA or JPG image that can be decoded\n",
                             "korvamo: cannot load sfx\\click.wav: missing, unreadable or not a WAV file that can be "
                             "played\n",
                             "korvamo: cannot load fnt\\font.tga and fnt\\font.ofi: its metrics file is damaged\n"}) {
        const size_t at = said.find(line);
        EXPECT_NE(at, std::string::npos) << line << "in:\n" << said;
        EXPECT_EQ(said.find(line, at + 1), std::string::npos) << line;
    }
}

}  // namespace
