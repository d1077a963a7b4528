// The game tick in the racing, finished and paused states.
#include "app/tick.h"
#include "core/state.h"
#include "race_fixture.h"
#include "ui/display_widgets.h"
#include "ui/screens.h"

namespace {

class RaceTick : public RaceTest {
protected:
    void SetUp() override {
        RaceTest::SetUp();
        LoadSounds({"amb", "get"});
        Element_Add(std::make_unique<Iwindow>("wnd_pause", 0, 0, 400, 300, "", 0));
        Screens_Resolve();
        car_ = AddCar("car", 0, 0, 1);
        World_AddWaypoint(world_map, 0, -5000);
        game.state = STATE_RACE;
        game.race_start_time = 0.0;
    }

    void TearDown() override {
        element_list.clear();
        RaceTest::TearDown();
    }

    // Sets the virtual clock and runs one tick.
    void TickAt(double ms) {
        backend_->Advance(ms - U_GetTime());
        GameTick();
    }

    int32_t car_ = 0;
};

TEST_F(RaceTick, TheCarsWaitUntilMoreThan4000MillisecondsHavePassed) {
    TickAt(3990);
    TickAt(4000);
    EXPECT_EQ(At(car_).speed, 0.0f);
    EXPECT_EQ(game.current_time, 4000.0);
    TickAt(4001);
    EXPECT_FLOAT_EQ(At(car_).speed, 0.0001f);
    EXPECT_EQ(game.current_time, 4001.0);
}

TEST_F(RaceTick, EscapePausesAtOnceButThisTickStillRaces) {
    oe::Recorder_Enable(true);
    oe::Input_Key(OE_KEY_ESCAPE, true);
    TickAt(5000);
    EXPECT_EQ(game.state, STATE_PAUSED);
    EXPECT_EQ(Element_Named("wnd_pause").visible, 1);
    EXPECT_EQ(CountCalls("Snd_Stop"), 1);
    EXPECT_FLOAT_EQ(At(car_).speed, 0.0001f);
    // Paused: nothing moves, the particles freeze, the world is still drawn.
    oe::Input_Key(OE_KEY_ESCAPE, false);
    Particles_Emit(particle_system, "smoke", 4, 0, 0, 1, 1, 10, 0);
    const int32_t y = At(car_).y;
    for (int t = 1; t <= 10; ++t) TickAt(5000 + 30 * t);
    EXPECT_FLOAT_EQ(At(car_).speed, 0.0001f);
    EXPECT_EQ(At(car_).y, y);
    EXPECT_EQ(particle_system.items[particle_system.count - 1].alpha, 255);
    EXPECT_GT(draw_list.count, 0);
}

TEST_F(RaceTick, TheRaceStepsTheParticlesAndPlaysTheAmbientSoundUnlessItIsOff) {
    oe::Recorder_Enable(true);
    particle_system.count = 0;
    Particles_Emit(particle_system, "light", 4, 0, 0, 0, 0, 10, 0);
    TickAt(100);
    EXPECT_EQ(particle_system.items[0].alpha, 251);
    EXPECT_EQ(PlaysOf("amb").size(), 1u);
    EXPECT_EQ(PlaysOf("amb")[0].args.back(), 0);   // not looping
    options.ambient_off = 1;
    oe::Recorder_Clear();
    TickAt(130);
    EXPECT_EQ(PlaysOf("amb").size(), 0u);
    options.ambient_off = 0;
}

TEST_F(RaceTick, BonusesAppearAlreadyDuringTheCountdown) {
    int bonuses = 0;
    for (int t = 1; t <= 100 && bonuses == 0; ++t) {
        TickAt(30.0 * t);
        for (int i = 0; i < world_map.count; ++i) bonuses += At(i).kind.starts_with("bn");
    }
    EXPECT_EQ(bonuses, 1);
    EXPECT_LT(U_GetTime(), 4000.0);
}

TEST_F(RaceTick, TheFinishEndsTheRaceAndTheFinishedStateStopsTheAmbientSound) {
    const int32_t player = AddCar("jeep", 2000, 2000, 0);
    race.player_laps = 4;
    At(player).speed = 1.0f;
    TickAt(4100);
    EXPECT_EQ(game.state, STATE_FINISHED);
    oe::Recorder_Enable(true);
    const int32_t y = At(car_).y;
    TickAt(4130);
    EXPECT_EQ(CountCalls("Snd_Stop"), 1);
    EXPECT_EQ(At(car_).y, y);   // the race no longer moves
}

}  // namespace
