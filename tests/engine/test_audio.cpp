#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "engine/audio.h"
#include "engine/oe.h"
#include "engine/record.h"
#include "tests/engine/wav_fixture.h"

using wavtest::Constant;
using wavtest::MakeWav;
using wavtest::Ramp;

namespace {

using Frames = std::vector<int16_t>;

int Left(const Frames& out, int frame) { return out[2 * static_cast<size_t>(frame)]; }
int Right(const Frames& out, int frame) { return out[2 * static_cast<size_t>(frame) + 1]; }

// Frames at the start of `out` that are not silent, after which all are.
int SoundingFrames(const Frames& out) {
    int last = -1;
    for (size_t i = 0; i < out.size(); ++i)
        if (out[i] != 0) last = static_cast<int>(i / 2);
    return last + 1;
}

int Scaled(int value, int hundredths) {
    return static_cast<int>(std::lround(value * std::pow(10.0, hundredths / 2000.0)));
}

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override { oe::Audio_ReleaseAll(); }
    void TearDown() override {
        oe::Audio_ReleaseAll();
        oe::Recorder_Enable(false);
    }

    OE_Sound Load(const std::vector<uint8_t>& bytes, int voices = 1) {
        const std::string path = dir_.Write("s" + std::to_string(serial_++) + ".wav", bytes);
        OE_Sound sound = Snd_LoadFromFile(path, voices);
        EXPECT_NE(sound, nullptr);
        return sound;
    }
    // Mono 16-bit at the output rate, so output frame i is source frame i.
    OE_Sound LoadConstant(int frames, int value, int voices = 1) {
        return Load(MakeWav(48000, 1, 16, Constant(frames, 1, value)), voices);
    }

    static Frames Mix(int frames) {
        Frames out(2 * static_cast<size_t>(frames), 12345);
        oe::Audio_Mix(out.data(), frames);
        return out;
    }

    wavtest::ScratchDir dir_;
    int serial_ = 0;
};

// ---------------------------------------------------------------------------
// Volume and pan
// ---------------------------------------------------------------------------

TEST_F(AudioTest, FullVolumeReproducesTheSamples) {
    OE_Sound s = LoadConstant(100, 10000);
    EXPECT_EQ(SoundingFrames(Mix(50)), 0) << "nothing plays before Snd_Play";
    Snd_Play(s, 0, 0, 0, false);
    const Frames out = Mix(200);
    EXPECT_EQ(Left(out, 0), 10000);
    EXPECT_EQ(Right(out, 0), 10000);
    EXPECT_EQ(Left(out, 99), 10000);
    EXPECT_EQ(SoundingFrames(out), 100);
}

TEST_F(AudioTest, VolumeIsInHundredthsOfADecibel) {
    OE_Sound s = LoadConstant(100, 10000);
    Snd_Play(s, 0, -600, 0, false);
    Frames out = Mix(10);
    EXPECT_NEAR(Left(out, 5), Scaled(10000, -600), 1);
    EXPECT_NEAR(Left(out, 5), 5000, 30) << "6 dB is about half the amplitude";
    EXPECT_EQ(Left(out, 5), Right(out, 5));
    Snd_Stop(s);
    Snd_Play(s, 0, -1000, 0, false);
    out = Mix(10);
    EXPECT_NEAR(Left(out, 5), 3162, 1);
}

TEST_F(AudioTest, PositiveVolumeClampsToFull) {
    OE_Sound s = LoadConstant(100, 10000);
    Snd_Play(s, 0, 600, 0, false);
    const Frames out = Mix(10);
    EXPECT_EQ(Left(out, 3), 10000);
    EXPECT_EQ(Right(out, 3), 10000);
}

TEST_F(AudioTest, PanQuietensTheFarSide) {
    OE_Sound s = LoadConstant(100, 10000, 2);
    Snd_Play(s, 1000, 0, 0, false);   // source right of centre
    Frames out = Mix(10);
    EXPECT_NEAR(Left(out, 2), 3162, 1);
    EXPECT_EQ(Right(out, 2), 10000);
    Snd_Stop(s);
    Snd_Play(s, -600, -600, 0, false);   // left of centre, and quieter overall
    out = Mix(10);
    EXPECT_NEAR(Left(out, 2), Scaled(10000, -600), 1);
    EXPECT_NEAR(Right(out, 2), Scaled(10000, -1200), 1);
}

TEST_F(AudioTest, StereoSoundKeepsItsChannels) {
    // 8-bit: 192 is +0.5, 64 is -0.5 of full scale.
    OE_Sound s = Load(MakeWav(48000, 2, 8, {192, 64, 192, 64, 192, 64}));
    Snd_Play(s, 0, 0, 0, false);
    const Frames out = Mix(4);
    EXPECT_EQ(Left(out, 1), 16384);
    EXPECT_EQ(Right(out, 1), -16384);
}

// ---------------------------------------------------------------------------
// Rates
// ---------------------------------------------------------------------------

TEST_F(AudioTest, OwnRateAndRequestedFrequency) {
    OE_Sound s = Load(MakeWav(24000, 1, 16, Constant(1000, 1, 8000)));
    Snd_Play(s, 0, 0, 0, false);
    EXPECT_EQ(SoundingFrames(Mix(3000)), 2000) << "24000 Hz on a 48000 Hz output lasts twice as long";
    Snd_Play(s, 0, 0, 48000, false);
    EXPECT_EQ(SoundingFrames(Mix(3000)), 1000);
    Snd_Play(s, 0, 0, 12000, false);
    EXPECT_EQ(SoundingFrames(Mix(5000)), 4000);
}

TEST_F(AudioTest, ResamplingInterpolatesLinearly) {
    OE_Sound s = Load(MakeWav(24000, 1, 16, Ramp(100, 100)));
    Snd_Play(s, 0, 0, 0, false);
    const Frames out = Mix(8);
    EXPECT_EQ(Left(out, 0), 0);
    EXPECT_EQ(Left(out, 1), 50);
    EXPECT_EQ(Left(out, 2), 100);
    EXPECT_EQ(Left(out, 7), 350);
}

TEST_F(AudioTest, LastFrameLeadsIntoSilenceOrTheLoopStart) {
    OE_Sound s = Load(MakeWav(24000, 1, 16, {4000, 2000}));
    Snd_Play(s, 0, 0, 0, false);
    Frames out = Mix(6);
    EXPECT_EQ(Left(out, 2), 2000);
    EXPECT_EQ(Left(out, 3), 1000);
    EXPECT_EQ(SoundingFrames(out), 4);
    Snd_Play(s, 0, 0, 0, true);
    out = Mix(6);
    EXPECT_EQ(Left(out, 3), 3000);
    EXPECT_EQ(Left(out, 4), 4000);
    EXPECT_EQ(Left(out, 5), 3000);
}

TEST_F(AudioTest, CdRateSoundLastsItsTimeOnTheOutput) {
    OE_Sound s = Load(MakeWav(44100, 2, 16, Constant(4410, 2, 3000)));
    Snd_Play(s, 0, 0, 0, false);
    EXPECT_NEAR(SoundingFrames(Mix(6000)), 4800, 1) << "a tenth of a second";
}

// ---------------------------------------------------------------------------
// Voices
// ---------------------------------------------------------------------------

TEST_F(AudioTest, OneVoiceSoundPlaysOneCopy) {
    OE_Sound s = LoadConstant(1000, 1000, 1);
    Snd_Play(s, 0, 0, 0, false);
    Snd_Play(s, 0, 0, 0, false);
    EXPECT_EQ(Left(Mix(10), 5), 1000);
}

TEST_F(AudioTest, FourVoiceSoundPlaysFourCopies) {
    OE_Sound s = LoadConstant(1000, 1000, 4);
    for (int i = 0; i < 4; ++i) Snd_Play(s, 0, 0, 0, false);
    EXPECT_EQ(Left(Mix(10), 5), 4000);
    Snd_Play(s, 0, 0, 0, false);
    EXPECT_EQ(Left(Mix(10), 5), 4000) << "a fifth request finds no free voice";
}

TEST_F(AudioTest, BusySoundIsNotRestarted) {
    OE_Sound s = Load(MakeWav(48000, 1, 16, Ramp(1000, 10)));
    Snd_Play(s, 0, 0, 0, false);
    Mix(100);
    Snd_Play(s, 0, 0, 0, false);
    EXPECT_EQ(Left(Mix(1), 0), 1000) << "still at frame 100, not back at 0";
}

TEST_F(AudioTest, FinishedVoiceIsFreeAgain) {
    OE_Sound s = LoadConstant(100, 1000, 1);
    Snd_Play(s, 0, 0, 0, false);
    Mix(100);
    Snd_Play(s, 0, 0, 0, false);
    EXPECT_EQ(SoundingFrames(Mix(200)), 100);
}

TEST_F(AudioTest, BuffersCountSetsVoicesWithinLimits) {
    OE_Sound s = LoadConstant(1000, 500, 1);
    Snd_SetBuffersCount(s, 3);
    for (int i = 0; i < 5; ++i) Snd_Play(s, 0, 0, 0, false);
    EXPECT_EQ(Left(Mix(1), 0), 1500);
    Snd_Stop(s);

    Snd_SetBuffersCount(s, 0);
    Snd_Play(s, 0, 0, 0, false);
    EXPECT_EQ(Left(Mix(1), 0), 500) << "at least one voice";
    Snd_Stop(s);

    Snd_SetBuffersCount(s, 1000);
    for (int i = 0; i < 40; ++i) Snd_Play(s, 0, 0, 0, false);
    EXPECT_EQ(Left(Mix(1), 0), 500 * oe::kMaxSoundVoices);
}

TEST_F(AudioTest, FewerVoicesLetBusyCopiesFinish) {
    OE_Sound s = LoadConstant(100, 500, 3);
    for (int i = 0; i < 3; ++i) Snd_Play(s, 0, 0, 0, false);
    Snd_SetBuffersCount(s, 1);
    const Frames out = Mix(200);
    EXPECT_EQ(Left(out, 0), 1500);
    EXPECT_EQ(SoundingFrames(out), 100);
}

// ---------------------------------------------------------------------------
// Loop and stop
// ---------------------------------------------------------------------------

TEST_F(AudioTest, LoopRepeatsUntilStopped) {
    OE_Sound s = Load(MakeWav(48000, 1, 16, Ramp(100, 10)));
    Snd_Play(s, 0, 0, 0, true);
    const Frames out = Mix(5000);
    EXPECT_EQ(Left(out, 0), 0);
    EXPECT_EQ(Left(out, 99), 990);
    EXPECT_EQ(Left(out, 100), 0) << "wraps to the start";
    EXPECT_EQ(Left(out, 4999), 990);
    EXPECT_EQ(Left(Mix(1), 0), 0);
    EXPECT_EQ(Left(Mix(1), 0), 10);
    Snd_Stop(s);
    EXPECT_EQ(SoundingFrames(Mix(1000)), 0);
}

TEST_F(AudioTest, StopSilencesEveryVoice) {
    OE_Sound s = LoadConstant(10000, 1000, 4);
    OE_Sound other = LoadConstant(10000, 7, 1);
    for (int i = 0; i < 3; ++i) Snd_Play(s, 0, 0, 0, i == 0);
    Snd_Play(other, 0, 0, 0, false);
    Snd_Stop(s);
    EXPECT_EQ(Left(Mix(10), 5), 7) << "only the other sound is left";
    Snd_Play(s, 0, 0, 0, false);
    EXPECT_EQ(Left(Mix(10), 5), 1007);
}

TEST_F(AudioTest, NullSoundIsLoggedAndIgnored) {
    oe::Recorder_Enable(true);
    Snd_Play(nullptr, 0, 0, 0, false);
    Snd_Stop(nullptr);
    Snd_SetBuffersCount(nullptr, 4);
    EXPECT_EQ(SoundingFrames(Mix(100)), 0);
    ASSERT_EQ(oe::Recorder_Calls().size(), 3u);
    EXPECT_EQ(oe::Recorder_Calls()[0].ToString(), "Snd_Play 0 0 0 0");
    EXPECT_EQ(oe::Recorder_Calls()[1].ToString(), "Snd_Stop");
    EXPECT_EQ(oe::Recorder_Calls()[2].ToString(), "Snd_SetBuffersCount 4");
}

TEST_F(AudioTest, EveryRequestIsLoggedAsPassed) {
    const std::string path = dir_.Write("eng_e.wav", MakeWav(22050, 1, 16, Constant(100, 1, 1)));
    oe::Recorder_Enable(true);
    OE_Sound s = Snd_LoadFromFile(path, 4);
    ASSERT_NE(s, nullptr);
    Snd_SetBuffersCount(s, 40);
    Snd_Play(s, 750, 300, 22050, true);
    Snd_Stop(s);
    OE_Sound missing = Snd_LoadFromFile(dir_.Path("none.wav"), 2);
    const auto& calls = oe::Recorder_Calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].name, "Snd_LoadFromFile");
    EXPECT_EQ(calls[0].text, path);
    EXPECT_EQ(calls[0].handle, s);
    EXPECT_EQ(calls[0].args, std::vector<double>{4});
    EXPECT_EQ(calls[1].args, std::vector<double>{40}) << "as passed, not as clamped";
    EXPECT_EQ(calls[2].name, "Snd_Play");
    EXPECT_EQ(calls[2].handle, s);
    EXPECT_EQ(calls[2].args, (std::vector<double>{750, 300, 22050, 1}));
    EXPECT_EQ(calls[3].name, "Snd_Stop");
    EXPECT_EQ(calls[3].handle, s);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(calls[4].handle, nullptr);
    EXPECT_EQ(calls[4].text, dir_.Path("none.wav"));
}

// ---------------------------------------------------------------------------
// The music's wave stream
// ---------------------------------------------------------------------------

class WaveStreamTest : public AudioTest {
protected:
    static constexpr int kRingFrames = 16384;   // 16 blocks of 1024 frames
    WaveStreamTest() : ring_(4 * kRingFrames) {
        for (int k = 0; k < kRingFrames; ++k) {
            SetFrame(k, k % 2000, -(k % 3000));
        }
    }
    void SetFrame(int k, int left, int right) {
        const auto l = static_cast<uint16_t>(static_cast<int16_t>(left));
        const auto r = static_cast<uint16_t>(static_cast<int16_t>(right));
        ring_[4 * k] = static_cast<uint8_t>(l & 0xff);
        ring_[4 * k + 1] = static_cast<uint8_t>(l >> 8);
        ring_[4 * k + 2] = static_cast<uint8_t>(r & 0xff);
        ring_[4 * k + 3] = static_cast<uint8_t>(r >> 8);
    }
    std::vector<uint8_t> ring_;
};

TEST_F(WaveStreamTest, OpenRejectsBadRings) {
    EXPECT_FALSE(WaveOut_Open(nullptr, 65536));
    EXPECT_FALSE(WaveOut_Open(ring_.data(), 0));
    EXPECT_FALSE(WaveOut_Open(ring_.data(), 6));
    EXPECT_EQ(SoundingFrames(Mix(100)), 0);
    EXPECT_EQ(WaveOut_GetPosition(), 0u);
}

TEST_F(WaveStreamTest, RingIsPlayedInOrderAndPositionCountsBytes) {
    ASSERT_TRUE(WaveOut_Open(ring_.data(), ring_.size()));
    EXPECT_EQ(WaveOut_GetPosition(), 0u);
    const Frames out = Mix(1500);
    for (int k : {0, 1, 999, 1499}) {
        EXPECT_EQ(Left(out, k), k % 2000) << k;
        EXPECT_EQ(Right(out, k), -(k % 3000)) << k;
    }
    EXPECT_EQ(WaveOut_GetPosition(), 1500u * 4);
}

TEST_F(WaveStreamTest, RingWrapsAround) {
    ASSERT_TRUE(WaveOut_Open(ring_.data(), ring_.size()));
    Mix(kRingFrames - 10);
    const Frames out = Mix(20);
    EXPECT_EQ(Left(out, 9), (kRingFrames - 1) % 2000);
    EXPECT_EQ(Left(out, 10), 0) << "back at the ring's first frame";
    EXPECT_EQ(Left(out, 19), 9);
    EXPECT_EQ(WaveOut_GetPosition(), (kRingFrames + 10u) * 4);
    EXPECT_EQ(WaveOut_GetPosition() % ring_.size(), 40u);
}

TEST_F(WaveStreamTest, RewrittenBlocksAreHeardOnTheNextPass) {
    ASSERT_TRUE(WaveOut_Open(ring_.data(), ring_.size()));
    Mix(2048);
    for (int k = 0; k < 1024; ++k) SetFrame(k, 77, 88);
    Mix(kRingFrames - 2048);
    const Frames out = Mix(2);
    EXPECT_EQ(Left(out, 0), 77);
    EXPECT_EQ(Right(out, 1), 88);
}

TEST_F(WaveStreamTest, PauseHoldsThePosition) {
    ASSERT_TRUE(WaveOut_Open(ring_.data(), ring_.size()));
    Mix(100);
    WaveOut_SetPaused(true);
    EXPECT_EQ(SoundingFrames(Mix(500)), 0);
    EXPECT_EQ(WaveOut_GetPosition(), 400u);
    WaveOut_SetPaused(false);
    EXPECT_EQ(Left(Mix(1), 0), 100) << "resumes where it stopped";
    EXPECT_EQ(WaveOut_GetPosition(), 404u);
}

TEST_F(WaveStreamTest, ResetAndCloseStopAndRewind) {
    ASSERT_TRUE(WaveOut_Open(ring_.data(), ring_.size()));
    Mix(100);
    WaveOut_Reset();
    EXPECT_EQ(WaveOut_GetPosition(), 0u);
    EXPECT_EQ(SoundingFrames(Mix(100)), 0);
    EXPECT_EQ(WaveOut_GetPosition(), 0u);
    WaveOut_Close();
    EXPECT_EQ(WaveOut_GetPosition(), 0u);
    EXPECT_EQ(SoundingFrames(Mix(100)), 0);
    ASSERT_TRUE(WaveOut_Open(ring_.data(), ring_.size()));
    EXPECT_EQ(Left(Mix(3), 2), 2) << "a new open starts at the ring's start";
}

TEST_F(WaveStreamTest, MixesWithEffectsAndClips) {
    OE_Sound s = LoadConstant(1000, 1000);
    ASSERT_TRUE(WaveOut_Open(ring_.data(), ring_.size()));
    Snd_Play(s, 0, -2000, 0, false);
    Frames out = Mix(10);
    EXPECT_EQ(Left(out, 5), 5 + 100) << "the music keeps its own level beside a quiet effect";
    EXPECT_EQ(Right(out, 5), -5 + 100);

    WaveOut_Close();
    for (int k = 0; k < kRingFrames; ++k) SetFrame(k, 30000, -30000);
    OE_Sound loud = LoadConstant(1000, 10000);
    ASSERT_TRUE(WaveOut_Open(ring_.data(), ring_.size()));
    Snd_Play(loud, 0, 0, 0, false);
    out = Mix(10);
    EXPECT_EQ(Left(out, 5), 32767);
    EXPECT_EQ(Right(out, 5), -30000 + 10000 + 100);
}

// ---------------------------------------------------------------------------
// Running without a device
// ---------------------------------------------------------------------------

TEST_F(WaveStreamTest, AdvanceMovesVoicesAndTheRing) {
    ASSERT_FALSE(oe::Audio_HasDevice());
    OE_Sound s = Load(MakeWav(48000, 1, 16, Ramp(1000, 10)));
    Snd_Play(s, 0, 0, 0, false);
    ASSERT_TRUE(WaveOut_Open(ring_.data(), ring_.size()));
    oe::Audio_Advance(10.0);
    EXPECT_EQ(WaveOut_GetPosition(), 480u * 4);
    const Frames out = Mix(1);
    EXPECT_EQ(Left(out, 0), 4800 + 480 % 2000) << "ramp frame 480 plus ring frame 480";
    oe::Audio_Advance(20.0);
    EXPECT_EQ(Left(Mix(1), 0), 1441) << "the effect has ended; the ring goes on";
}

TEST_F(WaveStreamTest, AdvanceKeepsFractionsOfFrames) {
    ASSERT_TRUE(WaveOut_Open(ring_.data(), ring_.size()));
    for (int i = 0; i < 64; ++i) oe::Audio_Advance(1.0 / 64);   // 0.75 frames each
    EXPECT_EQ(WaveOut_GetPosition(), 48u * 4);
    oe::Audio_Advance(0.0);
    oe::Audio_Advance(-5.0);
    oe::Audio_Advance(std::nan(""));
    EXPECT_EQ(WaveOut_GetPosition(), 48u * 4);
    WaveOut_SetPaused(true);
    oe::Audio_Advance(100.0);
    EXPECT_EQ(WaveOut_GetPosition(), 48u * 4);
}

TEST_F(AudioTest, AdvanceEndsVoicesAndFreesThem) {
    OE_Sound slow = Load(MakeWav(24000, 1, 16, Constant(1000, 1, 800)));   // 2000 output frames
    Snd_Play(slow, 0, 0, 0, false);
    oe::Audio_Advance(41.0);   // 1968 frames
    EXPECT_EQ(SoundingFrames(Mix(100)), 32);

    OE_Sound s = LoadConstant(960, 800);   // 20 ms
    Snd_Play(s, 0, 0, 0, false);
    oe::Audio_Advance(19.9375);   // 957 frames
    EXPECT_EQ(SoundingFrames(Mix(10)), 3);
    Snd_Play(s, 0, 0, 0, false);
    oe::Audio_Advance(20.0);
    EXPECT_EQ(SoundingFrames(Mix(10)), 0) << "exactly at its end";
    Snd_Play(s, 0, 0, 0, false);
    EXPECT_EQ(Left(Mix(1), 0), 800) << "and its voice is free again";
}

TEST_F(AudioTest, AdvanceWrapsLoopsOverLongStalls) {
    OE_Sound s = Load(MakeWav(48000, 1, 16, Ramp(100, 10)));
    Snd_Play(s, 0, 0, 0, true);
    oe::Audio_Advance(1e9);   // 48e9 frames, a multiple of 100
    EXPECT_EQ(Left(Mix(1), 0), 0);
    oe::Audio_Advance(1.0);   // 48 more, after the 1 just mixed
    EXPECT_EQ(Left(Mix(1), 0), 490);
}

TEST_F(AudioTest, NoDeviceStillTakesRequests) {
    Snd_Init();
    OE_Sound s = LoadConstant(100, 2000);
    Snd_Play(s, 0, 0, 0, false);
    if (!oe::Audio_HasDevice()) {
        EXPECT_EQ(Left(Mix(1), 0), 2000);
    }
}

TEST_F(WaveStreamTest, DummyDeviceConsumesTheRingOnItsOwn) {
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    const bool opened = oe::Audio_OpenDevice();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!opened) GTEST_SKIP() << "SDL has no dummy audio driver here";
    EXPECT_TRUE(oe::Audio_HasDevice());
    ASSERT_TRUE(WaveOut_Open(ring_.data(), ring_.size()));
    oe::Audio_Advance(1000.0);
    EXPECT_LT(WaveOut_GetPosition(), 48000u * 4) << "the device, not the loop, moves it";
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (WaveOut_GetPosition() == 0 && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_GT(WaveOut_GetPosition(), 0u);
    EXPECT_EQ(WaveOut_GetPosition() % 4096, 0u) << "whole device buffers of 1024 frames";
    // Requests from the game thread while the device thread mixes.
    OE_Sound s = LoadConstant(480, 1000, 4);
    for (int i = 0; i < 200; ++i) {
        Snd_Play(s, i, -i, 0, i % 3 == 0);
        if (i % 7 == 0) Snd_Stop(s);
    }
    oe::Audio_CloseDevice();
    EXPECT_FALSE(oe::Audio_HasDevice());
    const uint64_t held = WaveOut_GetPosition();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(WaveOut_GetPosition(), held);
}

}  // namespace
