// The volume column and the effect commands, tick by tick on one channel.
#include <gtest/gtest.h>

#include <vector>

#include "music/channel.h"
#include "music/effects.h"
#include "tests/music/xm_builder.h"

namespace {

// A tone song whose first channel plays note 49 (C-4) from row 0; `cells`
// adds cells on channel 0 from row 1 on.
struct Channel0 {
    LoadedSong l;
    TChannel& ch() { return l.song.channels[0]; }
    TVoice& voice() { return l.song.voices[ch().voice]; }
};

void Load(Channel0& c, const std::vector<TCell>& cells, bool linear = true) {
    XmSong s = Xm_ToneSong();
    s.flags = linear ? 1 : 0;
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0, 0};
    for (size_t i = 0; i < cells.size(); ++i) Xm_Cell(s.patterns[0], 2, int(i) + 1, 0) = cells[i];
    Xm_Load(c.l, Xm_Build(s));
    ASSERT_TRUE(c.l.ok);
    Xm_RenderTicks(c.l.song, 6);   // row 0
}

// Runs the next row's ticks and returns what `read` gives after each.
template <typename Read>
std::vector<int> Row(Channel0& c, Read read, int ticks = 6) {
    std::vector<int> out;
    for (int t = 0; t < ticks; ++t) {
        Xm_RenderTick(c.l.song);
        out.push_back(read(c.ch()));
    }
    return out;
}

int Period(const TChannel& ch) { return ch.period; }
int PeriodDelta(const TChannel& ch) { return ch.period_delta; }
int Volume(const TChannel& ch) { return ch.volume; }
int VolumeDelta(const TChannel& ch) { return ch.volume_delta; }
int Panning(const TChannel& ch) { return ch.panning; }

TEST(Waveforms, SineAndSquareSpan127) {
    EXPECT_EQ(Effects_Waveform(0, 0), 0);
    EXPECT_EQ(Effects_Waveform(0, 16), 127);
    EXPECT_EQ(Effects_Waveform(0, 48), -127);
    EXPECT_EQ(Effects_Waveform(2, 0), 127);
    EXPECT_EQ(Effects_Waveform(2, 31), 127);
    EXPECT_EQ(Effects_Waveform(3, 32), -127);
}

TEST(Waveforms, RampFallsEvenlyWithinTheRangeOfTheOthers) {
    for (int p = 0; p < 64; ++p) {
        EXPECT_LE(std::abs(Effects_Waveform(1, p)), 127) << p;
        if (p > 0) {
            EXPECT_EQ(Effects_Waveform(1, p) - Effects_Waveform(1, p - 1), -4) << p;
        }
    }
    EXPECT_GT(Effects_Waveform(1, 31), 0);
    EXPECT_LT(Effects_Waveform(1, 32), 0);
}

TEST(Effects, VibratoStepsOnEveryTickWithSpeedAndDepthMemory) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0x4, 0x84}, TCell{0, 0, 0, 0x4, 0x00}});
    // Positions 0, 8, 16, ...: sine x depth 4, shifted right 6.
    const std::vector<int> want = {0, (90 * 4) >> 6, (127 * 4) >> 6, (90 * 4) >> 6, 0, (-90 * 4) >> 6};
    EXPECT_EQ(Row(c, PeriodDelta), want);
    EXPECT_EQ(Row(c, PeriodDelta).size(), 6u);
    EXPECT_EQ(c.ch().vibrato_speed, 8);
    EXPECT_EQ(c.ch().vibrato_depth, 4);
}

TEST(Effects, TremoloChangesTheVolumeDeltaOnLaterTicks) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0x7, 0x8F}});
    const std::vector<int> want = {0, 0, (90 * 15) >> 5, (127 * 15) >> 5, (90 * 15) >> 5, 0};
    EXPECT_EQ(Row(c, VolumeDelta), want);
}

TEST(Effects, TheLastTremoloOffsetStaysWhenTremoloStops) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0x30, 0x7, 0x41}, TCell{}});
    Row(c, Volume);
    const int last = c.ch().volume_delta;   // position 16: 127 x 1 >> 5
    EXPECT_EQ(last, 3);
    EXPECT_EQ(c.ch().volume, 32);
    Row(c, Volume, 1);
    EXPECT_EQ(c.ch().volume, 32 + last);
}

TEST(Effects, TremorSoundsForOnPlusOneAndPausesForOffPlusOneTicks) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0x1D, 0x12}, TCell{0, 0, 0, 0x1D, 0x00}});
    std::vector<int> silent;
    for (int v : Row(c, VolumeDelta)) silent.push_back(v != 0);
    for (int v : Row(c, VolumeDelta)) silent.push_back(v != 0);
    // k = 0, 1 sound; k = 2, 3, 4 silent; then again.
    EXPECT_EQ(silent, (std::vector<int>{0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0}));
}

TEST(Effects, ArpeggioOnTheLinearTableAdds64PerSemitone) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0x0, 0x37}});
    EXPECT_EQ(Row(c, PeriodDelta), (std::vector<int>{0, 192, 448, 0, 192, 448}));
}

TEST(Effects, ArpeggioOnTheAmigaTableUsesNotePeriods) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0x0, 0x37}}, false);
    const int n = c.ch().note_number;
    const int base = Channel_NotePeriod(false, n, 0);
    const std::vector<int> got = Row(c, PeriodDelta, 3);
    EXPECT_EQ(got[1], Channel_NotePeriod(false, n + 3, 0) - base);
    EXPECT_EQ(got[2], Channel_NotePeriod(false, n + 7, 0) - base);
}

TEST(Effects, PortamentoUpStopsAt56AndRemembersItsSpeed) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0x1, 0x10}, TCell{0, 0, 0, 0x1, 0x00}, TCell{0, 0, 0, 0x1, 0xFF}});
    const int p = c.ch().period;
    EXPECT_EQ(Row(c, Period), (std::vector<int>{p, p - 64, p - 128, p - 192, p - 256, p - 320}));
    EXPECT_EQ(Row(c, Period)[1], p - 384);
    Row(c, Period);
    EXPECT_EQ(c.ch().period, 56);
}

TEST(Effects, PortamentoDownHasItsOwnMemory) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0x1, 0x01}, TCell{0, 0, 0, 0x2, 0x02}, TCell{0, 0, 0, 0x2, 0x00}});
    const int p = c.ch().period;
    Row(c, Period);
    EXPECT_EQ(c.ch().period, p - 20);
    Row(c, Period);
    EXPECT_EQ(c.ch().period, p - 20 + 40);
    Row(c, Period);
    EXPECT_EQ(c.ch().period, p + 60);
}

TEST(Effects, TonePortamentoSlidesToTheNoteWithoutRetriggering) {
    Channel0 c;
    Load(c, {TCell{61, 0, 0, 0x3, 0x40}});
    const TVoice* before = &c.voice();
    const int from = c.ch().period;
    const int target = from - 12 * 64;
    EXPECT_EQ(Row(c, Period), (std::vector<int>{from, from - 256, from - 512, target, target, target}));
    EXPECT_EQ(&c.voice(), before);   // the same voice played on
}

TEST(Effects, VolumeSlideUsesItsMemoryOnLaterTicks) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0x30, 0xA, 0x02}, TCell{0, 0, 0, 0xA, 0x00}, TCell{0, 0, 0, 0xA, 0x30}});
    EXPECT_EQ(Row(c, Volume), (std::vector<int>{32, 30, 28, 26, 24, 22}));
    EXPECT_EQ(Row(c, Volume).back(), 12);
    EXPECT_EQ(Row(c, Volume).back(), 27);
}

TEST(Effects, VolumeStaysWithin0To64) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0xA, 0xF0}, TCell{0, 0, 0, 0xC, 0xFF}, TCell{0, 0, 0, 0xA, 0x0F}});
    EXPECT_EQ(Row(c, Volume).back(), 64);
    EXPECT_EQ(Row(c, Volume).back(), 64);
    EXPECT_EQ(Row(c, Volume).back(), 0);
}

TEST(Effects, PanningSetAndSlides) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0x8, 0x10}, TCell{0, 0, 0, 0x19, 0x03}, TCell{0, 0, 0, 0xE, 0x8F}, TCell{0, 0, 0, 0x19, 0x70}});
    EXPECT_EQ(Row(c, Panning).back(), 0x10);
    EXPECT_EQ(Row(c, Panning).back(), 1);     // 16 - 5 x 3, held at 0 from there
    EXPECT_EQ(Row(c, Panning).back(), 240);
    EXPECT_EQ(Row(c, Panning).back(), 255);
}

TEST(Effects, FineAndExtraFinePortamentoActOnceWithOwnMemories) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0xE, 0x12}, TCell{0, 0, 0, 0xE, 0x10}, TCell{0, 0, 0, 0x21, 0x13},
             TCell{0, 0, 0, 0x21, 0x20}});
    const int p = c.ch().period;
    EXPECT_EQ(Row(c, Period), std::vector<int>(6, p - 8));
    EXPECT_EQ(Row(c, Period).back(), p - 16);
    EXPECT_EQ(Row(c, Period).back(), p - 19);
    EXPECT_EQ(Row(c, Period).back(), p - 19);   // extra-fine down has no memory yet
}

TEST(Effects, FineVolumeSlidesShareASignedMemory) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0x30, 0xE, 0xA4}, TCell{0, 0, 0, 0xE, 0xA0}, TCell{0, 0, 0, 0xE, 0xB0},
             TCell{0, 0, 0, 0xE, 0xB2}});
    EXPECT_EQ(Row(c, Volume), std::vector<int>(6, 36));
    EXPECT_EQ(Row(c, Volume).back(), 40);
    EXPECT_EQ(Row(c, Volume).back(), 44);   // EB0 takes the memory, which is an up-slide
    EXPECT_EQ(Row(c, Volume).back(), 42);
}

TEST(Effects, NoteCutSilencesAtItsTick) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0xE, 0xC3}});
    EXPECT_EQ(Row(c, Volume), (std::vector<int>{64, 64, 64, 0, 0, 0}));
}

TEST(Effects, NoteDelayStartsTheNoteAtItsTick) {
    Channel0 c;
    Load(c, {TCell{61, 1, 0x20, 0xE, 0xD2}});
    const int old_period = c.ch().period;
    const TVoice* first = &c.voice();
    std::vector<int> periods = Row(c, Period, 3);
    EXPECT_EQ(periods[0], old_period);
    EXPECT_EQ(periods[1], old_period);
    EXPECT_EQ(periods[2], old_period - 12 * 64);
    EXPECT_NE(&c.voice(), first);          // the new note took the other voice
    EXPECT_EQ(c.ch().volume, 0x20 - 16);   // the volume column applied again
}

TEST(Effects, NoteDelayZeroStartsTheNoteOnTheRowTick) {
    Channel0 c;
    Load(c, {TCell{61, 1, 0, 0xE, 0xD0}});
    const int old_period = c.ch().period;
    const TVoice* first = &c.voice();
    EXPECT_EQ(Row(c, Period, 1), (std::vector<int>{old_period - 12 * 64}));
    EXPECT_NE(&c.voice(), first);
}

// A channel that has not played yet pans hard left (0); its first note, even
// a delayed one, takes the centred sample's panning.
TEST(Effects, ADelayedNoteTakesItsSamplesPanning) {
    XmSong s = Xm_ToneSong();
    Xm_Cell(s.patterns[0], 2, 0, 1) = TCell{49, 1, 0, 0xE, 0xD2};
    LoadedSong l;
    Xm_Load(l, Xm_Build(s));
    ASSERT_TRUE(l.ok);
    Xm_RenderTicks(l.song, 2);
    EXPECT_EQ(l.song.channels[1].panning, 0);
    Xm_RenderTick(l.song);
    EXPECT_EQ(l.song.channels[1].panning, 128);
}

TEST(Effects, RetriggerStartsTheSampleAgainEveryYTicks) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0xE, 0x92}});
    std::vector<int> voices;
    for (int t = 0; t < 6; ++t) {
        Xm_RenderTick(c.l.song);
        voices.push_back(c.ch().voice);
    }
    EXPECT_EQ(voices, (std::vector<int>{0, 0, 1, 1, 0, 0}));
}

TEST(Effects, MultiRetrigChangesVolumeByItsTable) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0x30, 0x1B, 0x21}, TCell{0, 0, 0x30, 0x1B, 0xE3}, TCell{0, 0, 0x30, 0x1B, 0x63}});
    EXPECT_EQ(Row(c, Volume), (std::vector<int>{32, 30, 28, 26, 24, 22}));
    EXPECT_EQ(Row(c, Volume), (std::vector<int>{32, 32, 32, 48, 48, 48}));
    EXPECT_EQ(Row(c, Volume), (std::vector<int>{32, 32, 32, 21, 21, 21}));
}

TEST(Effects, SampleOffsetStartsTheVoiceLaterAndRemembers) {
    XmSong s = Xm_ToneSong();
    s.instruments[0].samples[0] = Xm_Sample8(std::vector<int8_t>(2000, 10), LOOP_NONE);
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0x9, 0x03};
    Xm_Cell(s.patterns[0], 2, 1, 0) = TCell{49, 0, 0, 0x9, 0x00};
    LoadedSong l;
    Xm_Load(l, Xm_Build(s));
    ASSERT_TRUE(l.ok);
    Xm_Render(l.song, 1);
    const TVoice& v = l.song.voices[l.song.channels[0].voice];
    EXPECT_EQ(v.position >> 32, 768);
    Xm_Render(l.song, 6 * 960 - 1);
    Xm_Render(l.song, 1);
    EXPECT_EQ(l.song.voices[l.song.channels[0].voice].position >> 32, 768);
}

TEST(Effects, AnOffsetBeyondTheSampleRestartsThePlayingVoiceInstead) {
    XmSong s = Xm_ToneSong();
    s.instruments[0].samples[0] = Xm_Sample8(std::vector<int8_t>(300, 10), LOOP_NONE);
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0, 0};
    Xm_Cell(s.patterns[0], 2, 1, 0) = TCell{49, 0, 0, 0x9, 0x02};
    LoadedSong l;
    Xm_Load(l, Xm_Build(s));
    ASSERT_TRUE(l.ok);
    Xm_Render(l.song, 6 * 960 - 100);
    const int voice = l.song.channels[0].voice;
    EXPECT_GT(l.song.voices[voice].position >> 32, 0);
    Xm_Render(l.song, 100);
    Xm_Render(l.song, 1);
    EXPECT_EQ(l.song.channels[0].voice, voice);   // no new note
    EXPECT_EQ(l.song.voices[voice].position >> 32, 0);
}

TEST(Effects, SetFinetuneChangesTheSampleForLaterNotes) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0xE, 0x5F}, TCell{49, 0, 0, 0, 0}});
    Row(c, Period);
    EXPECT_EQ(c.l.song.instruments[0].samples[0]->finetune, 15);
    EXPECT_EQ(Row(c, Period)[0], 4608 - 7);
}

TEST(Effects, WaveformBitsKeepTheVibratoPositionOnNewNotes) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0xE, 0x44}, TCell{0, 0, 0, 0x4, 0x44}, TCell{49, 1, 0, 0, 0}});
    Row(c, PeriodDelta);
    Row(c, PeriodDelta);
    const int pos = c.ch().vibrato_pos;
    EXPECT_NE(pos, 0);
    Row(c, PeriodDelta, 1);
    EXPECT_EQ(c.ch().vibrato_pos, pos);   // bit 2 of the waveform byte keeps it
    EXPECT_EQ(c.ch().waveform & 0x0F, 4);
}

TEST(Effects, VolumeColumnCommands) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0x20, 0, 0}, TCell{0, 0, 0x83, 0, 0}, TCell{0, 0, 0x92, 0, 0}, TCell{0, 0, 0xC4, 0, 0},
             TCell{0, 0, 0xD2, 0, 0}, TCell{0, 0, 0xE1, 0, 0}, TCell{0, 0, 0xA5, 0, 0}, TCell{0, 0, 0xB3, 0, 0}});
    EXPECT_EQ(Row(c, Volume), std::vector<int>(6, 16));
    EXPECT_EQ(Row(c, Volume), std::vector<int>(6, 13));   // fine slides: the row tick only
    EXPECT_EQ(Row(c, Volume), std::vector<int>(6, 15));
    EXPECT_EQ(Row(c, Panning), std::vector<int>(6, 64));
    EXPECT_EQ(Row(c, Panning), (std::vector<int>{62, 60, 58, 56, 54, 52}));
    EXPECT_EQ(Row(c, Panning), (std::vector<int>{53, 54, 55, 56, 57, 58}));
    Row(c, Volume);
    EXPECT_EQ(c.ch().vibrato_speed, 5);
    const std::vector<int> deltas = Row(c, PeriodDelta);
    EXPECT_EQ(c.ch().vibrato_depth, 3);
    EXPECT_EQ(deltas[0], 0);   // depth set on the row tick, stepping after it
    EXPECT_NE(deltas[2], 0);
}

TEST(Effects, VolumeColumnTonePortamentoDoesNotRetrigger) {
    Channel0 c;
    Load(c, {TCell{61, 0, 0xF4, 0, 0}});
    const TVoice* before = &c.voice();
    Row(c, Period);
    EXPECT_EQ(&c.voice(), before);
    EXPECT_EQ(c.ch().tone_porta_speed, 0x40);
    EXPECT_EQ(c.ch().period, c.ch().note_period);
}

TEST(Effects, KeyOffEffectKeysOffOnTheRowTick) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0, 0x14, 0x05}});
    Row(c, Volume, 1);
    EXPECT_NE(c.ch().keyoff, 0);
}

TEST(Effects, InstrumentByteResetsVolumePanningAndEnvelopes) {
    Channel0 c;
    Load(c, {TCell{0, 0, 0x20, 0x8, 0x40}, TCell{0, 1, 0, 0, 0}});
    Row(c, Volume);
    EXPECT_EQ(c.ch().volume, 16);
    Row(c, Volume, 1);
    EXPECT_EQ(c.ch().volume, 64);
    EXPECT_EQ(c.ch().panning, 128);
    EXPECT_EQ(c.ch().volume_env.output, 64);
    EXPECT_EQ(c.ch().panning_env.output, 32);
    EXPECT_EQ(c.ch().fadeout_volume, 65536);
}

TEST(Effects, RelativeNoteShiftsTheNoteNumber) {
    XmSong s = Xm_ToneSong();
    s.instruments[0].samples[0].relative_note = -12;
    s.instruments[0].samples[0].finetune = -10;
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0, 0};
    LoadedSong l;
    Xm_Load(l, Xm_Build(s));
    ASSERT_TRUE(l.ok);
    Xm_RenderTick(l.song);
    EXPECT_EQ(l.song.channels[0].note_number, 36);
    EXPECT_EQ(l.song.channels[0].period, 7680 - 64 * 36 + 5);
}

}  // namespace
