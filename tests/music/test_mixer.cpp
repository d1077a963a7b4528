// The mixer on single voices: interpolation, loops, sample ends and ramps.
#include <gtest/gtest.h>

#include <vector>

#include "music/mixer.h"

namespace {

// A sample of the given values with the three spare values behind them.
struct Sample {
    std::vector<int16_t> values;
    TSample record;
    Sample(std::vector<int16_t> v, uint8_t loop_type, uint32_t loop_start, uint32_t loop_length)
        : values(std::move(v)) {
        record.length = uint32_t(values.size());
        record.loop_type = loop_type;
        record.loop_start = loop_type ? loop_start : 0;
        record.loop_length = loop_type ? loop_length : record.length;
        const size_t end = record.loop_start + record.loop_length;
        values.resize(values.size() + kSampleSpareValues, 0);
        if (loop_type == LOOP_FORWARD) values[end] = values[loop_start];
        if (loop_type == LOOP_PINGPONG) values[end] = values[end - 1];
        record.data = values.data();
    }
};

// A voice at full gain on the left only, already past its ramp.
TVoice Steady(const TSample& s, double step) {
    TVoice v;
    v.sample = &s;
    v.step = int64_t(step * 4294967296.0);
    v.gain_left = v.ramp_left = 255;
    v.gain_right = v.ramp_right = 0;
    v.left = 1.0f;
    return v;
}

std::vector<float> Left(TVoice& v, int frames) {
    std::vector<float> out(size_t(frames) * 2, 0.0f);
    Mixer_MixVoice(v, out.data(), frames);
    std::vector<float> left;
    for (int f = 0; f < frames; ++f) left.push_back(out[2 * f]);
    return left;
}

TEST(Mixer, InterpolatesLinearlyBetweenSampleValues) {
    Sample s({0, 100, 300, 300}, LOOP_NONE, 0, 0);
    TVoice v = Steady(s.record, 0.5);
    EXPECT_EQ(Left(v, 6), (std::vector<float>{0, 50, 100, 200, 300, 300}));
}

TEST(Mixer, AddsIntoTheBufferAndRespectsGains) {
    Sample s({1000, 1000}, LOOP_FORWARD, 0, 2);
    TVoice v = Steady(s.record, 1.0);
    v.gain_left = v.ramp_left = 51;
    v.gain_right = v.ramp_right = 102;
    v.left = 51 / 255.0f;
    v.right = 102 / 255.0f;
    std::vector<float> out(8, 1.0f);
    Mixer_MixVoice(v, out.data(), 4);
    for (int f = 0; f < 4; ++f) {
        EXPECT_NEAR(out[2 * f], 201.0f, 1e-3);
        EXPECT_NEAR(out[2 * f + 1], 401.0f, 1e-3);
    }
}

TEST(Mixer, AnUnloopedSampleEndsAndReleasesTheVoice) {
    Sample s({10, 20, 30}, LOOP_NONE, 0, 0);
    TVoice v = Steady(s.record, 1.0);
    EXPECT_EQ(Left(v, 5), (std::vector<float>{10, 20, 30, 0, 0}));
    EXPECT_EQ(v.sample, nullptr);
}

TEST(Mixer, AnUnloopedSampleInterpolatesToSilenceAtItsEnd) {
    Sample s({100, 100}, LOOP_NONE, 0, 0);
    TVoice v = Steady(s.record, 0.5);
    EXPECT_EQ(Left(v, 5), (std::vector<float>{100, 100, 100, 50, 0}));
}

TEST(Mixer, ForwardLoopWrapsWithTheOvershoot) {
    Sample s({0, 1, 2, 3, 4, 5}, LOOP_FORWARD, 2, 4);
    TVoice v = Steady(s.record, 1.5);
    // Positions 0, 1.5, 3, 4.5, 6 -> 2, 3.5, 5 -> 3 ...
    EXPECT_EQ(Left(v, 8), (std::vector<float>{0, 1.5f, 3, 4.5f, 2, 3.5f, 5, 2.5f}));
    EXPECT_NE(v.sample, nullptr);
}

TEST(Mixer, PingPongLoopReflectsAtBothEnds) {
    Sample s({0, 10, 20, 30, 40}, LOOP_PINGPONG, 1, 4);
    TVoice v = Steady(s.record, 1.0);
    const std::vector<float> got = Left(v, 12);
    // Forward to 40, back down to 10, forward again: the turn reflects about
    // the loop end and the loop start, so the last frame sounds three times and
    // the first once, as established players unfold it (the reference song
    // lx_bidi_sync cancels exactly against this).
    const std::vector<float> want = {0, 10, 20, 30, 40, 40, 40, 30, 20, 10, 20, 30};
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-3) << i;
}

TEST(Mixer, ALargeStepOnATinyLoopStaysInside) {
    Sample s({5, 7, 9}, LOOP_PINGPONG, 0, 2);
    TVoice v = Steady(s.record, 15.75);
    for (float x : Left(v, 1000)) {
        EXPECT_GE(x, 5.0f);
        EXPECT_LE(x, 7.0f);
    }
    Sample f({5, 7, 9}, LOOP_FORWARD, 1, 1);
    TVoice w = Steady(f.record, 15.75);
    w.position = int64_t(1) << 32;
    for (float x : Left(w, 1000)) EXPECT_EQ(x, 7.0f);
}

TEST(Mixer, RampsReachTheirTargetsIn139Frames) {
    Sample s({1000, 1000}, LOOP_FORWARD, 0, 2);
    TVoice v = Steady(s.record, 1.0);
    v.gain_left = 0;   // a new target: ramp from 1 down to 0
    const std::vector<float> out = Left(v, 200);
    EXPECT_NEAR(out[0], 1000.0f, 1e-2);
    EXPECT_NEAR(out[69], 1000.0f * (139 - 69) / 139, 0.5);
    EXPECT_NEAR(out[138], 1000.0f / 139, 0.5);
    EXPECT_EQ(out[139], 0.0f);
    EXPECT_EQ(v.left, 0.0f);
    EXPECT_EQ(v.ramp_frames, 0);
}

TEST(Mixer, ARampChangedHalfwayStartsFromWhereItIs) {
    Sample s({1000, 1000}, LOOP_FORWARD, 0, 2);
    TVoice v = Steady(s.record, 1.0);
    v.gain_left = 0;
    Left(v, 70);
    const float at = v.left;
    v.gain_left = 255;
    const std::vector<float> out = Left(v, 139);
    EXPECT_NEAR(out[0], 1000.0f * at, 0.5);
    EXPECT_EQ(v.left, 1.0f);
}

TEST(Mixer, ASilentVoiceStillMovesThroughItsSample) {
    Sample s(std::vector<int16_t>(100, 1), LOOP_NONE, 0, 0);
    TVoice v = Steady(s.record, 1.0);
    v.left = 0.0f;
    v.gain_left = v.ramp_left = 0;
    for (float x : Left(v, 60)) EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(v.position >> 32, 60);
    Left(v, 60);
    EXPECT_EQ(v.sample, nullptr);
}

TEST(Mixer, RunsSplitAtEveryBoundaryWithinOneCall) {
    // Many loop turns and a ramp inside one long call, mixed four frames side by
    // side, give the same result as frame-by-frame calls, in both directions.
    std::vector<int16_t> values(37);
    for (int i = 0; i < 37; ++i) values[i] = int16_t(i * 100 - 1800);
    const struct {
        uint8_t loop_type;
        double step;
    } cases[] = {{LOOP_PINGPONG, 2.37}, {LOOP_PINGPONG, 0.29}, {LOOP_FORWARD, 0.71}, {LOOP_FORWARD, 3.0},
                 {LOOP_NONE, 0.013}};
    for (const auto& c : cases) {
        Sample s(values, c.loop_type, 5, 30);
        TVoice a = Steady(s.record, c.step);
        TVoice b = a;
        a.gain_left = b.gain_left = 100;
        const std::vector<float> whole = Left(a, 3000);
        for (int f = 0; f < 3000; ++f) ASSERT_NEAR(Left(b, 1)[0], whole[f], 1e-2) << c.step << " frame " << f;
    }
}

TEST(Mixer, MixesEveryVoiceOfTheSong) {
    Sample s({100, 100}, LOOP_FORWARD, 0, 2);
    TSong song;
    std::vector<TVoice> voices = {Steady(s.record, 1.0), TVoice{}, Steady(s.record, 1.0), Steady(s.record, 1.0)};
    song.voices = voices.data();
    song.channel_count = 2;
    std::vector<float> out(4, 0.0f);
    Mixer_Mix(song, out.data(), 2);
    EXPECT_EQ(out[0], 300.0f);
    EXPECT_EQ(out[2], 300.0f);
}

}  // namespace
