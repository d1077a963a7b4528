// Voice updates: final volume and panning, key-off and fade-out, and the
// cross-fade of a retriggered note over the voice pair.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "music/replay.h"
#include "music/voices.h"
#include "tests/music/xm_builder.h"

namespace {

LoadedSong Load(const XmSong& s) {
    LoadedSong l;
    Xm_Load(l, Xm_Build(s));
    EXPECT_TRUE(l.ok);
    return l;
}

const TVoice& Current(const TSong& song, int channel) {
    return song.voices[2 * channel + song.channels[channel].voice];
}

TEST(Voices, FullVolumeAtCentreGivesGains63And64) {
    XmSong s = Xm_ToneSong();
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0, 0};
    LoadedSong l = Load(s);
    Xm_RenderTick(l.song);
    const TVoice& v = Current(l.song, 0);
    EXPECT_EQ(v.final_volume, 128);
    EXPECT_EQ(v.final_panning, 128);
    EXPECT_EQ(v.gain_left, 128 * 127 / 255);
    EXPECT_EQ(v.gain_right, 128 * 128 / 255);
}

TEST(Voices, FinalVolumeMultipliesVolumeEnvelopeFadeoutAndGlobalVolume) {
    XmSong s = Xm_ToneSong();
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0x30, 0x10, 0x20};   // volume 32, global 32
    LoadedSong l = Load(s);
    Xm_RenderTick(l.song);
    EXPECT_EQ(Current(l.song, 0).final_volume, 32);   // 128 x 1/2 x 1/2
}

TEST(Voices, HardPanningSilencesTheOtherSide) {
    XmSong s = Xm_ToneSong();
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0x8, 0x00};
    Xm_Cell(s.patterns[0], 2, 0, 1) = TCell{49, 1, 0, 0x8, 0xFF};
    LoadedSong l = Load(s);
    Xm_RenderTick(l.song);
    EXPECT_EQ(Current(l.song, 0).gain_right, 0);
    EXPECT_EQ(Current(l.song, 0).gain_left, 128);
    EXPECT_EQ(Current(l.song, 1).gain_left, 0);
    EXPECT_EQ(Current(l.song, 1).gain_right, 128);
}

TEST(Voices, TremoloCannotPushTheFinalVolumeOutOf0To128) {
    // Full volume with a deep tremolo, and a quiet note under the same: the
    // sum of volume and tremolo is held within 0..64, so gains never exceed
    // 128 nor turn negative (which would play the note with inverted phase).
    XmSong s = Xm_ToneSong(4, 2);
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0x7, 0x4F};
    Xm_Cell(s.patterns[0], 2, 0, 1) = TCell{49, 1, 0x1A, 0x7, 0x4F};
    for (int row = 1; row < 4; ++row)
        for (int c = 0; c < 2; ++c) Xm_Cell(s.patterns[0], 2, row, c).effect = 0x7;
    LoadedSong l = Load(s);
    int loudest = 0, quietest = 128;
    for (int t = 0; t < 24; ++t) {
        Xm_RenderTick(l.song);
        for (int c = 0; c < 2; ++c) {
            const TVoice& v = Current(l.song, c);
            loudest = std::max(loudest, v.final_volume);
            quietest = std::min(quietest, v.final_volume);
            EXPECT_GE(std::min(v.gain_left, v.gain_right), 0);
            EXPECT_LE(std::max(v.gain_left, v.gain_right), 128);
        }
    }
    EXPECT_EQ(loudest, 128);
    EXPECT_EQ(quietest, 0);
}

TEST(Voices, PanningEnvelopeSwingsAroundTheChannelPanning) {
    XmSong s = Xm_ToneSong();
    s.instruments[0].panning_envelope = {{{0, 64}, {10, 64}}, 0, 0, 0, ENV_ON};
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0x8, 0x80};
    LoadedSong l = Load(s);
    Xm_RenderTick(l.song);
    // 128 + (64 - 32) x ((128 - 0) >> 5), held at 255.
    EXPECT_EQ(Current(l.song, 0).final_panning, 255);
}

TEST(Voices, KeyOffWithoutVolumeEnvelopeSilencesAtOnce) {
    XmSong s = Xm_ToneSong();
    s.instruments[0].fadeout = 100;
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0, 0};
    Xm_Cell(s.patterns[0], 2, 1, 0) = TCell{97, 0, 0, 0, 0};
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 6);
    EXPECT_EQ(Current(l.song, 0).final_volume, 128);
    Xm_RenderTick(l.song);
    EXPECT_EQ(l.song.channels[0].volume_env.output, 0);
    EXPECT_EQ(Current(l.song, 0).final_volume, 0);
}

TEST(Voices, KeyOffWithAVolumeEnvelopeReleasesTheSustainAndFadesOut) {
    XmSong s = Xm_ToneSong();
    s.instruments[0].fadeout = 4096;   // 8192 per tick
    s.instruments[0].volume_envelope = {{{0, 64}, {2, 64}, {40, 32}}, 1, 0, 0, ENV_ON | ENV_SUSTAIN};
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0, 0};
    Xm_Cell(s.patterns[0], 2, 1, 0) = TCell{97, 0, 0, 0, 0};
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 6);
    EXPECT_EQ(l.song.channels[0].volume_env.output, 64);   // held on the sustain point
    EXPECT_EQ(l.song.channels[0].fadeout_volume, 65536);
    std::vector<int> fade;
    for (int t = 0; t < 9; ++t) {
        Xm_RenderTick(l.song);
        fade.push_back(l.song.channels[0].fadeout_volume);
    }
    EXPECT_EQ(fade, (std::vector<int>{57344, 49152, 40960, 32768, 24576, 16384, 8192, 0, 0}));
    EXPECT_LT(l.song.channels[0].volume_env.output, 64);   // the envelope moved past its sustain
    EXPECT_EQ(Current(l.song, 0).final_volume, 0);
}

TEST(Voices, ARetriggeredNoteCrossFadesOver139Frames) {
    XmSong s = Xm_ToneSong(4, 1);
    Xm_Cell(s.patterns[0], 1, 0, 0) = TCell{49, 1, 0, 0, 0};
    Xm_Cell(s.patterns[0], 1, 1, 0) = TCell{49, 1, 0, 0, 0};
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 6);
    ASSERT_EQ(l.song.channels[0].voice, 0);
    const TVoice& old_voice = l.song.voices[0];
    const TVoice& new_voice = l.song.voices[1];
    ASSERT_NE(old_voice.sample, nullptr);
    EXPECT_FLOAT_EQ(old_voice.right, 64 / 255.0f);

    Xm_Render(l.song, 1);   // the row tick retriggers
    EXPECT_EQ(l.song.channels[0].voice, 1);
    EXPECT_EQ(new_voice.sample, old_voice.sample);
    EXPECT_EQ(old_voice.gain_right, 0);
    EXPECT_TRUE(old_voice.fading);
    EXPECT_NEAR(old_voice.right, 64 / 255.0f * 138 / 139, 1e-5);
    EXPECT_NEAR(new_voice.right, 64 / 255.0f * 1 / 139, 1e-5);

    Xm_Render(l.song, 137);
    EXPECT_NEAR(old_voice.right, 64 / 255.0f * 1 / 139, 1e-5);
    EXPECT_NEAR(new_voice.right, 64 / 255.0f * 138 / 139, 1e-5);
    Xm_Render(l.song, 1);
    EXPECT_EQ(new_voice.right, 64 / 255.0f);
    EXPECT_EQ(old_voice.right, 0.0f);
    Xm_Render(l.song, 1);
    EXPECT_EQ(old_voice.sample, nullptr);   // faded out: it lets go of its sample
    EXPECT_NE(new_voice.sample, nullptr);
}

TEST(Voices, TheCrossFadeKeepsTheSumSteady) {
    // A constant sample: the outgoing and incoming voices add up to the same level.
    XmSong s = Xm_ToneSong(4, 1);
    s.instruments[0].samples[0] = Xm_Sample8(std::vector<int8_t>(64, 50), LOOP_FORWARD, 0, 64);
    Xm_Cell(s.patterns[0], 1, 0, 0) = TCell{49, 1, 0, 0x8, 0xFF};
    Xm_Cell(s.patterns[0], 1, 1, 0) = TCell{49, 1, 0, 0x8, 0xFF};
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 6);
    const std::vector<float> out = Xm_Render(l.song, 200);
    for (size_t f = 0; f < 200; ++f) EXPECT_NEAR(out[2 * f + 1], 50 * 256 * 128 / 255.0f, 1.0f) << f;
}

TEST(Voices, ANoteOnAnEmptySampleFadesThePreviousNoteOut) {
    XmSong s = Xm_ToneSong(4, 1);
    s.instruments[0].note_map[60] = 5;   // no sample 5: notes from C-5 play nothing
    Xm_Cell(s.patterns[0], 1, 0, 0) = TCell{49, 1, 0, 0, 0};
    Xm_Cell(s.patterns[0], 1, 1, 0) = TCell{61, 0, 0, 0, 0};
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 6);
    Xm_Render(l.song, 300);
    EXPECT_EQ(Current(l.song, 0).sample, nullptr);
    for (const TVoice* v : {&l.song.voices[0], &l.song.voices[1]}) EXPECT_EQ(v->sample, nullptr);
}

}  // namespace
