// The particle system: emission, stepping, lifetimes, ordered removal, a full
// system, and drawing by kind.
#include "core/state.h"
#include "race_fixture.h"

namespace {

class Particles : public RaceTest {
protected:
    // Ticks until the first particle is gone (at most 1000).
    static int Lifetime(int fade) {
        particle_system.count = 0;
        Particles_Emit(particle_system, "light", fade, 0, 0, 0, 0, 10, 0);
        int ticks = 0;
        while (particle_system.count > 0 && ticks < 1000) {
            Particles_Update(particle_system);
            ++ticks;
        }
        return ticks;
    }

    static const TEffect2d& P(int i) { return particle_system.items[i]; }
};

TEST_F(Particles, EmitAppendsWithAlpha255AndNoFall) {
    Particles_Emit(particle_system, "blow", 14, 1.5f, 2.5f, -1, 3, 25, 0xFF00FF);
    ASSERT_EQ(particle_system.count, 1);
    EXPECT_EQ(P(0).kind, "blow");
    EXPECT_EQ(P(0).fade, 14);
    EXPECT_EQ(P(0).alpha, 255);
    EXPECT_EQ(P(0).fall, 0.0f);
    EXPECT_EQ(P(0).x, 1.5f);
    EXPECT_EQ(P(0).y, 2.5f);
    EXPECT_EQ(P(0).vx, -1.0f);
    EXPECT_EQ(P(0).vy, 3.0f);
    EXPECT_EQ(P(0).size, 25.0f);
    EXPECT_EQ(P(0).colour, 0xFF00FF);
}

TEST_F(Particles, LifetimesAre64TicksAtFade4And19At14And16At16) {
    EXPECT_EQ(Lifetime(4), 64);
    EXPECT_EQ(Lifetime(14), 19);
    EXPECT_EQ(Lifetime(16), 16);
}

TEST_F(Particles, SmokeMovesStraightWhileLightFallsFasterEveryTick) {
    Particles_Emit(particle_system, "smoke", 1, 0, 0, 2, -3, 10, 0);
    Particles_Emit(particle_system, "light", 1, 0, 0, 0, -3, 10, 0);
    for (int t = 1; t <= 5; ++t) {
        Particles_Update(particle_system);
        EXPECT_FLOAT_EQ(P(0).x, 2.0f * t);
        EXPECT_FLOAT_EQ(P(0).y, -3.0f * t);
        EXPECT_EQ(P(0).fall, 0.0f);
        // Fall 0.4, 0.8, ...: y = -3t + 0.4 (1 + 2 + ... + t).
        EXPECT_NEAR(P(1).y, -3.0 * t + 0.4 * t * (t + 1) / 2, 1e-4);
    }
    EXPECT_EQ(P(0).alpha, 250);
}

TEST_F(Particles, ExpiredParticlesGoInTheirTickAndTheRestKeepTheirOrder) {
    const int fades[] = {1, 128, 2, 128, 3};
    for (int i = 0; i < 5; ++i) Particles_Emit(particle_system, "smoke", fades[i], static_cast<float>(i), 0, 0, 0, 1, 0);
    Particles_Update(particle_system);
    EXPECT_EQ(particle_system.count, 5);   // 255 - 128 = 127
    Particles_Update(particle_system);     // 127 - 128 < 1: both go at once
    ASSERT_EQ(particle_system.count, 3);
    EXPECT_EQ(P(0).x, 0.0f);
    EXPECT_EQ(P(1).x, 2.0f);
    EXPECT_EQ(P(2).x, 4.0f);
    EXPECT_EQ(P(2).alpha, 255 - 6);
}

TEST_F(Particles, AFullSystemDropsNewParticles) {
    for (int i = 0; i < PARTICLE_CAPACITY; ++i) Particles_Emit(particle_system, "light", 4, 0, 0, 0, 0, 1, i);
    ASSERT_EQ(particle_system.count, PARTICLE_CAPACITY);
    Particles_Emit(particle_system, "light", 4, 0, 0, 0, 0, 1, -1);
    EXPECT_EQ(particle_system.count, PARTICLE_CAPACITY);
    EXPECT_EQ(P(PARTICLE_CAPACITY - 1).colour, PARTICLE_CAPACITY - 1);
    // A damaged count is not trusted either.
    particle_system.count = -3;
    Particles_Update(particle_system);
    Particles_Emit(particle_system, "light", 4, 0, 0, 0, 0, 1, 7);
    EXPECT_LE(particle_system.count, 1);
}

TEST_F(Particles, EachKindIsDrawnWithItsTextureBlendAndPlace) {
    const OE_Texture light = AddTexture(share_registry, "light", 16, 16);
    const OE_Texture smoke = AddTexture(share_registry, "smoke", 16, 16);
    game.main_camera->x = 100;
    game.main_camera->y = 200;
    Particles_Emit(particle_system, "light", 4, 50, 0, 0, 0, 21, 0x00FFFF);
    Particles_Emit(particle_system, "smoke", 16, 150, 260, 0, 0, 30, 0xAAAAAA);
    Particles_Emit(particle_system, "blow", 14, 150, 260, 0, 0, 20, 0xFFFF00);
    Particles_Emit(particle_system, "spark", 4, 0, 0, 0, 0, 20, 0);   // unknown: kept, never drawn
    particle_system.items[1].alpha = 256 + 40;   // only the low byte is drawn
    oe::Recorder_Enable(true);
    DrawParticles(particle_system);
    EXPECT_EQ(CallsWithout(), (std::vector<std::string>{
        "FX_SetBlendMode 1", "FX_SetColorMix 65535", "SSprite_Draw 40 0 21 21 255 0 9", "FX_SetBlendMode 0",
        "FX_SetBlendMode 0", "FX_SetColorMix 11184810", "SSprite_Draw 35 45 30 30 40 0 9", "FX_SetBlendMode 0",
        "FX_SetBlendMode 1", "FX_SetColorMix 16776960", "SSprite_Draw 40 50 20 20 255 0 9", "FX_SetBlendMode 0"}));
    const auto& calls = oe::Recorder_Calls();
    EXPECT_EQ(calls[2].handle, light);
    EXPECT_EQ(calls[6].handle, smoke);
    EXPECT_EQ(calls[10].handle, light);
    Particles_Update(particle_system);
    EXPECT_EQ(particle_system.count, 4);
}

// Between ticks a particle is drawn part way through its last step and fade.
TEST_F(Particles, BetweenTicksAParticleIsDrawnPartWayThroughItsLastStep) {
    AddTexture(share_registry, "light", 16, 16);
    Particles_Emit(particle_system, "light", 4, 100, 50, 10, -4, 8, 0);
    Particles_Update(particle_system);   // to (110, 46.4), alpha 251
    oe::Recorder_Enable(true);
    std::vector<std::string> draws;
    for (const float progress : {0.0f, 0.5f, 1.0f}) {
        oe::Recorder_Clear();
        DrawParticles(particle_system, progress);
        draws.push_back(CallsWithout()[2]);
    }
    EXPECT_EQ(draws, (std::vector<std::string>{"SSprite_Draw 96 50 8 8 255 0 9", "SSprite_Draw 101 48 8 8 253 0 9",
                                               "SSprite_Draw 106 46 8 8 251 0 9"}));
}

TEST_F(Particles, AlphaDropsByTheFadeEachTickDownTo3) {
    AddTexture(share_registry, "light", 16, 16);
    Particles_Emit(particle_system, "light", 4, 0, 0, 0, 0, 8, 0);
    std::vector<int> alphas;
    oe::Recorder_Enable(true);
    while (particle_system.count > 0) {
        oe::Recorder_Clear();
        DrawParticles(particle_system);
        for (const oe::RecordedCall& c : oe::Recorder_Calls())
            if (c.name == "SSprite_Draw") alphas.push_back(static_cast<int>(c.args[4]));
        Particles_Update(particle_system);
    }
    ASSERT_EQ(alphas.size(), 64u);
    EXPECT_EQ(alphas.front(), 255);
    EXPECT_EQ(alphas[1], 251);
    EXPECT_EQ(alphas.back(), 3);
}

}  // namespace
