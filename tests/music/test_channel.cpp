// Periods, frequencies and steps; envelopes; auto-vibrato.
#include <gtest/gtest.h>

#include <vector>

#include "music/channel.h"

namespace {

TEST(Periods, LinearNote48IsPeriod4608And8363Hz) {
    EXPECT_EQ(Channel_NotePeriod(true, 48, 0), 4608);
    EXPECT_EQ(Channel_Frequency(true, 4608, 0), 8363u);
}

TEST(Periods, LinearTableSteps64PerSemitoneAndHalvesFinetuneTowardZero) {
    EXPECT_EQ(Channel_NotePeriod(true, 49, 0), 4544);
    EXPECT_EQ(Channel_NotePeriod(true, 48, 127), 4608 - 63);
    EXPECT_EQ(Channel_NotePeriod(true, 48, -127), 4608 + 63);
    EXPECT_EQ(Channel_Frequency(true, 4608 - 768, 0), 16726u);   // an octave up
    EXPECT_EQ(Channel_Frequency(true, 4608, 768), 16726u);       // the delta raises the pitch
}

TEST(Periods, AmigaNote48IsPeriod1712) {
    EXPECT_EQ(Channel_NotePeriod(false, 48, 0), 1712);
    EXPECT_EQ(Channel_Frequency(false, 1712, 0), 14317056u / 1712);   // 8362, by integer division
    EXPECT_EQ(Channel_NotePeriod(false, 60, 0), 856);
}

TEST(Periods, AmigaFinetuneMovesTowardTheNeighbouringNote) {
    const int32_t up = Channel_NotePeriod(false, 49, 0);
    EXPECT_EQ(Channel_NotePeriod(false, 48, 64), 1712 + (64 * (up - 1712)) / 128);
    const int32_t down = Channel_NotePeriod(false, 47, 0);
    EXPECT_EQ(Channel_NotePeriod(false, 48, -64), 1712 + (64 * (down - 1712)) / 128);
}

TEST(Periods, OutOfRangeFrequenciesBecome100Hz) {
    EXPECT_EQ(Channel_Frequency(false, 14317056 / 99, 0), 100u);
    EXPECT_EQ(Channel_Frequency(false, 18, 0), 100u);          // 795392 Hz
    EXPECT_EQ(Channel_Frequency(false, -5, 0), 100u);
    EXPECT_EQ(Channel_Frequency(true, 20000, 0), 100u);
    EXPECT_EQ(Channel_Frequency(true, -30000, 0), 100u);
    EXPECT_EQ(Channel_Frequency(true, 1 << 24, 0), 100u);
}

TEST(Periods, AZeroSumKeepsTheFrequency) {
    EXPECT_EQ(Channel_Frequency(false, 100, -100), 0u);
    EXPECT_EQ(Channel_Frequency(true, 0, 0), 0u);
}

TEST(Periods, StepIsFrequencyOver48000In32Point32) {
    const int64_t step = Channel_Step(8363);
    EXPECT_EQ(step >> 32, 0);
    EXPECT_EQ(step, (int64_t(8363) << 32) / 48000);
    EXPECT_EQ(Channel_Step(96000), int64_t(2) << 32);
    EXPECT_EQ(Channel_Step(72000), (int64_t(3) << 31));
}

TEnvelope Env(std::vector<TEnvelopePoint> points, uint8_t type, uint8_t sustain = 0, uint8_t ls = 0, uint8_t le = 0) {
    TEnvelope e;
    for (size_t i = 0; i < points.size(); ++i) e.points[i] = points[i];
    e.count = uint8_t(points.size());
    e.type = type;
    e.sustain = sustain;
    e.loop_start = ls;
    e.loop_end = le;
    return e;
}

std::vector<int> Steps(TEnvelopeState& s, const TEnvelope& e, int ticks, bool keyed_off = false) {
    std::vector<int> out;
    for (int i = 0; i < ticks; ++i) {
        Envelope_Step(s, e, keyed_off);
        out.push_back(s.output);
    }
    return out;
}

TEST(Envelopes, InterpolateBetweenPointsAndEndOnTheLast) {
    const TEnvelope e = Env({{0, 0}, {4, 64}, {6, 32}}, ENV_ON);
    TEnvelopeState s;
    EXPECT_EQ(Steps(s, e, 9), (std::vector<int>{0, 16, 32, 48, 64, 48, 32, 32, 32}));
    EXPECT_TRUE(s.ended);
}

TEST(Envelopes, SustainHoldsUntilKeyOff) {
    const TEnvelope e = Env({{0, 64}, {2, 32}, {4, 0}}, ENV_ON | ENV_SUSTAIN, 1);
    TEnvelopeState s;
    EXPECT_EQ(Steps(s, e, 6), (std::vector<int>{64, 48, 32, 32, 32, 32}));
    EXPECT_EQ(Steps(s, e, 3, true), (std::vector<int>{32, 16, 0}));
    EXPECT_TRUE(s.ended);
}

TEST(Envelopes, LoopJumpsBackAndKeepsGoingAfterKeyOff) {
    const TEnvelope e = Env({{0, 0}, {2, 64}, {4, 0}, {8, 64}}, ENV_ON | ENV_LOOP, 0, 1, 2);
    TEnvelopeState s;
    EXPECT_EQ(Steps(s, e, 8), (std::vector<int>{0, 32, 64, 32, 64, 32, 64, 32}));
    EXPECT_EQ(Steps(s, e, 4, true), (std::vector<int>{64, 32, 64, 32}));
}

TEST(Envelopes, PointsWhoseTicksDoNotRiseStillMoveOn) {
    const TEnvelope e = Env({{0, 64}, {10, 0}, {3, 64}, {20, 10}}, ENV_ON);
    TEnvelopeState s;
    const std::vector<int> out = Steps(s, e, 40);
    EXPECT_TRUE(s.ended);
    for (int v : out) {
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 64);
    }
}

TEST(Envelopes, LoopIndicesBeyondThePointsAreHarmless) {
    const TEnvelope e = Env({{0, 64}, {4, 0}}, ENV_ON | ENV_LOOP | ENV_SUSTAIN, 200, 50, 1);
    TEnvelopeState s;
    const std::vector<int> out = Steps(s, e, 10);
    EXPECT_EQ(out.back(), 0);
    EXPECT_TRUE(s.ended);
}

TEST(Envelopes, SetTickInterpolatesBetweenThePointsAroundIt) {
    const TEnvelope e = Env({{0, 0}, {10, 40}, {20, 0}}, ENV_ON);
    TEnvelopeState s;
    Envelope_SetTick(s, e, 5, false);
    EXPECT_EQ(s.output, 20);
    EXPECT_EQ(Steps(s, e, 6), (std::vector<int>{24, 28, 32, 36, 40, 36}));
}

TEST(Envelopes, SetTickPastTheLastPointHoldsIt) {
    const TEnvelope e = Env({{0, 0}, {10, 40}, {20, 12}}, ENV_ON);
    TEnvelopeState s;
    Envelope_SetTick(s, e, 200, false);
    EXPECT_EQ(s.output, 12);
    EXPECT_EQ(Steps(s, e, 3), (std::vector<int>{12, 12, 12}));
}

TEST(Envelopes, SetTickOnTheLoopEndGoesOnPastIt) {
    const TEnvelope e = Env({{0, 64}, {12, 0}, {84, 36}}, ENV_ON | ENV_LOOP, 0, 0, 1);
    TEnvelopeState s;
    Envelope_SetTick(s, e, 12, false);
    EXPECT_EQ(s.output, 0);
    const std::vector<int> out = Steps(s, e, 4);
    EXPECT_EQ(out, (std::vector<int>{0, 1, 1, 2}));   // rising toward 36, not back at 64
}

TEST(Envelopes, SetTickOnTheSustainPointHolds) {
    const TEnvelope e = Env({{0, 64}, {12, 0}, {15, 4}, {16, 0}, {88, 36}}, ENV_ON | ENV_SUSTAIN, 2);
    TEnvelopeState s;
    Envelope_SetTick(s, e, 15, false);
    EXPECT_EQ(Steps(s, e, 3), (std::vector<int>{4, 4, 4}));
    EXPECT_EQ(Steps(s, e, 2, true), (std::vector<int>{4, 0}));
}

TEST(AutoVibrato, SineSweepsInAndMovesThePeriodDelta) {
    TInstrument ins;
    ins.vibrato_type = 0;
    ins.vibrato_depth = 16;
    ins.vibrato_rate = 64;    // a quarter turn per tick
    ins.vibrato_sweep = 2;
    TChannel ch;
    std::vector<int> deltas;
    for (int t = 0; t < 4; ++t) {
        ch.period_delta = 0;
        Channel_AutoVibrato(ch, ins);
        deltas.push_back(ch.period_delta);
    }
    // q = 0, 64, 128, 192: sine 0, 64, 0, -64; x 16, swept in by 0/2, 1/2, 2/2.
    EXPECT_EQ(deltas, (std::vector<int>{0, (64 * 16 * 1 / 2) >> 6, 0, (-64 * 16) >> 6}));
}

TEST(AutoVibrato, WaveformsStayWithin64) {
    for (uint8_t type = 0; type < 5; ++type) {
        TInstrument ins;
        ins.vibrato_type = type;
        ins.vibrato_depth = 64;
        ins.vibrato_rate = 1;
        TChannel ch;
        for (int q = 0; q < 256; ++q) {
            ch.period_delta = 0;
            Channel_AutoVibrato(ch, ins);
            EXPECT_LE(std::abs(ch.period_delta), 64) << int(type) << " " << q;
        }
    }
}

TEST(AutoVibrato, SquareIsPlus64ThenMinus64) {
    TInstrument ins;
    ins.vibrato_type = 1;
    ins.vibrato_depth = 64;
    ins.vibrato_rate = 128;
    TChannel ch;
    Channel_AutoVibrato(ch, ins);
    EXPECT_EQ(ch.period_delta, 64);
    ch.period_delta = 0;
    Channel_AutoVibrato(ch, ins);
    EXPECT_EQ(ch.period_delta, -64);
}

}  // namespace
