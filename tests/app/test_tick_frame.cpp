// The tick's global keys and race steps, and what each frame draws by state.
#include <algorithm>

#include "app/frame.h"
#include "app/tick.h"
#include "core/state.h"
#include "engine/input.h"
#include "engine/record.h"
#include "tests/app/game_fixture.h"

namespace {

class TickAndFrame : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        UseGeneratedData();
        RunGame(0);   // assets loaded; the loop ends at once
        oe::Recorder_Clear();
    }

    // One tick as the loop runs it: the tick reads its own input latch.
    void Tick() {
        oe::Input_SetReader(oe::InputReader::Tick);
        GameTick();
        oe::Input_EndTurn(oe::InputReader::Tick);
        oe::Input_SetReader(oe::InputReader::Frame);
    }

    std::vector<oe::RecordedCall> Calls(const std::string& name) {
        std::vector<oe::RecordedCall> out;
        for (const auto& c : oe::Recorder_Calls())
            if (c.name == name) out.push_back(c);
        return out;
    }
};

TEST_F(TickAndFrame, F12OpensTheEditorFromAnyStateAndF11ReturnsToTheMenu) {
    for (uint8_t state : {STATE_RACE, STATE_MENU, STATE_PROFILES, STATE_PAUSED, STATE_HELP}) {
        game.state = state;
        oe::Input_Key(OE_KEY_F12, true);
        Tick();
        EXPECT_EQ(game.state, STATE_EDITOR);
        oe::Input_Key(OE_KEY_F12, false);
        oe::Input_Key(OE_KEY_F11, true);
        Tick();
        EXPECT_EQ(game.state, STATE_MENU);
        oe::Input_Key(OE_KEY_F11, false);
    }
}

TEST_F(TickAndFrame, TheTickCachesTheMouse) {
    oe::Input_MouseMove(123, 456);
    Tick();
    EXPECT_EQ(game.mouse_x, 123);
    EXPECT_EQ(game.mouse_y, 456);
}

TEST_F(TickAndFrame, EscapeInTheRaceStopsTheAmbientSoundAndPauses) {
    game.state = STATE_RACE;
    options.ambient_off = 0;
    oe::Input_Key(OE_KEY_ESCAPE, true);
    Tick();
    oe::Input_Key(OE_KEY_ESCAPE, false);
    EXPECT_EQ(game.state, STATE_PAUSED);
    const OE_Sound amb = SndBase_Find(sound_registry, "amb");
    ASSERT_NE(amb, nullptr);
    ASSERT_EQ(Calls("Snd_Play").size(), 1u);
    ASSERT_EQ(Calls("Snd_Stop").size(), 1u);
    EXPECT_EQ(Calls("Snd_Stop")[0].handle, amb);
}

TEST_F(TickAndFrame, AmbientSoundIsRequestedEveryRacingTickUnlessSwitchedOff) {
    game.state = STATE_RACE;
    options.ambient_off = 0;
    for (int i = 0; i < 3; ++i) Tick();
    EXPECT_EQ(Calls("Snd_Play").size(), 3u);
    oe::Recorder_Clear();
    options.ambient_off = 1;
    Tick();
    EXPECT_TRUE(Calls("Snd_Play").empty());
    options.ambient_off = 0;
}

TEST_F(TickAndFrame, RacingTickTakesTheTime) {
    game.state = STATE_RACE;
    options.ambient_off = 1;
    Tick();
    EXPECT_DOUBLE_EQ(game.current_time, U_GetTime());
    options.ambient_off = 0;
}

TEST_F(TickAndFrame, MenuCounterGrowsByFourPerMenuTick) {
    game.state = STATE_MENU;
    game.menu_counter = 0;
    Tick();
    Tick();
    EXPECT_EQ(game.menu_counter, 8);
}

TEST_F(TickAndFrame, ProfileScreensDrawTheBackdropThenTheCursor) {
    game.state = STATE_PROFILES;
    game.mouse_x = 100;
    game.mouse_y = 50;
    DrawFrame();
    const auto sprites = Calls("SSprite_Draw");
    // The backdrop, the profile choice dialog over it, its three buttons, the cursor.
    ASSERT_EQ(sprites.size(), 6u);
    EXPECT_EQ(sprites[0].handle, TexBase_Find(share_registry, "g_wnd"));
    EXPECT_EQ(sprites[0].args, (std::vector<double>{0, 0, 800, 600, 64, 0, 1}));
    EXPECT_EQ(sprites[1].handle, TexBase_Find(share_registry, "g_wnd"));
    EXPECT_EQ(sprites[1].args, (std::vector<double>{200, 150, 400, 300, 255, 0, 1}));
    for (int i = 2; i < 5; ++i) EXPECT_EQ(sprites[i].handle, TexBase_Find(share_registry, "g_but"));
    EXPECT_EQ(sprites[5].handle, TexBase_Find(share_registry, "g_cur"));
    EXPECT_EQ(sprites[5].args, (std::vector<double>{84, 42, 64, 64, 255, 0, 1}));
}

TEST_F(TickAndFrame, RaceFrameFillsTheBackgroundAndHasNoCursor) {
    game.state = STATE_RACE;
    DrawFrame();
    const auto rects = Calls("Pr2D_Rect");
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects[0].args, (std::vector<double>{0, 0, 800, 600, 0x444422, 255, 1}));
    for (const auto& s : Calls("SSprite_Draw"))
        EXPECT_NE(s.handle, TexBase_Find(share_registry, "g_cur"));
}

TEST_F(TickAndFrame, StatesThreeAndFourDrawNothing) {
    for (uint8_t state : {3, 4, 200}) {
        game.state = state;
        DrawFrame();
    }
    EXPECT_TRUE(oe::Recorder_Calls().empty());
}

}  // namespace
