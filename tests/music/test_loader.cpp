// Loading XM songs: the header checks, patterns, instruments, sample data and
// what a damaged or truncated file turns into.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "music/replay.h"
#include "music/source.h"
#include "music/xm_loader.h"
#include "tests/music/xm_builder.h"

namespace {

XmSong OneNoteSong() {
    XmSong s;
    s.patterns = {Xm_Pattern(4, 2)};
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0, 0};
    XmInstrument ins;
    ins.samples = {Xm_Sample8({0, 40, 80, 40, 0, -40, -80, -40}, LOOP_FORWARD, 0, 8)};
    s.instruments = {ins};
    return s;
}

LoadedSong Load(const XmSong& s) {
    LoadedSong l;
    Xm_Load(l, Xm_Build(s));
    return l;
}

// Patching a built file where the builder has no knob.
void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    Put16(b, at, uint16_t(v));
    Put16(b, at + 2, uint16_t(v >> 16));
}

TEST(XmLoader, AValidSongLoadsAtItsStart) {
    LoadedSong l = Load(OneNoteSong());
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.channel_count, 2);
    EXPECT_EQ(l.song.song_length, 1);
    EXPECT_EQ(l.song.instrument_count, 1);
    EXPECT_TRUE(l.song.linear);
    EXPECT_EQ(l.song.speed, 6);
    EXPECT_EQ(l.song.frames_per_tick, 960);
    EXPECT_EQ(l.song.global_volume, 64);
    EXPECT_EQ(l.song.frames_left, 0);
    EXPECT_EQ(l.song.next_order, 0);
    EXPECT_EQ(l.song.next_row, 0);
    EXPECT_EQ(l.song.time, 0u);
}

TEST(XmLoader, TitleDropsControlBytes) {
    XmSong s = OneNoteSong();
    s.title = std::string("A\x01" "B\tC") + std::string(1, '\0') + "D";
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    EXPECT_STREQ(l.song.title.data(), "ABCD");
}

TEST(XmLoader, SongLengthMustBe1To256) {
    XmSong s = OneNoteSong();
    s.song_length = 0;
    EXPECT_FALSE(Load(s).ok);
    s.song_length = 257;
    EXPECT_FALSE(Load(s).ok);
    s.song_length = 256;
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.song_length, 256);
}

TEST(XmLoader, PatternCountMustBeAtLeastOne) {
    XmSong s = OneNoteSong();
    s.pattern_count = 0;
    EXPECT_FALSE(Load(s).ok);
}

TEST(XmLoader, ChannelCountLowByteMustBe1To64) {
    XmSong s = OneNoteSong();
    for (uint16_t bad : {uint16_t(0), uint16_t(65), uint16_t(0x100)}) {
        std::vector<uint8_t> b = Xm_Build(s);
        Put16(b, 68, bad);
        LoadedSong l;
        Xm_Load(l, b);
        EXPECT_FALSE(l.ok) << bad;
    }
    std::vector<uint8_t> b = Xm_Build(s);
    Put16(b, 68, 0x0102);   // only the low byte counts
    LoadedSong l;
    Xm_Load(l, b);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.channel_count, 2);
}

TEST(XmLoader, SixtyFourChannelsAreAccepted) {
    XmSong s;
    s.channels = 64;
    s.patterns = {Xm_Pattern(2, 64)};
    EXPECT_TRUE(Load(s).ok);
}

TEST(XmLoader, OrdersBeyondTheStoredPatternsPlay64EmptyRows) {
    XmSong s;
    s.patterns = {Xm_Pattern(8, 2), Xm_Pattern(8, 2), Xm_Pattern(8, 2)};
    s.orders = {0, 5};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    ASSERT_EQ(l.song.pattern_slots, 6);
    for (int p = 3; p <= 5; ++p) {
        EXPECT_EQ(l.song.patterns[p].rows, 64) << p;
        EXPECT_EQ(l.song.patterns[p].cells, nullptr) << p;
    }
    EXPECT_EQ(l.song.patterns[2].rows, 8);
}

TEST(XmLoader, PackedSizeZeroKeepsItsRowsWithEmptyCells) {
    XmSong s;
    s.patterns = {XmPattern{32, {}}};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.patterns[0].rows, 32);
    EXPECT_EQ(l.song.patterns[0].cells, nullptr);
    // Its 32 rows play through and the song comes back to row 0.
    for (int t = 0; t < 32 * 6; ++t) Xm_RenderTick(l.song);
    EXPECT_EQ(l.song.current_row, 31);
    Xm_RenderTick(l.song);
    EXPECT_EQ(l.song.current_row, 0);
}

TEST(XmLoader, AnEmptyPatternOfZeroRowsPlaysAs64) {
    XmSong s;
    s.patterns = {XmPattern{0, {}}};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.patterns[0].rows, 64);
}

TEST(XmLoader, StoredPatternsNeed1To256Rows) {
    for (uint16_t rows : {uint16_t(0), uint16_t(257)}) {
        XmSong s;
        XmPattern p = Xm_Pattern(1, 2);
        p.rows = rows;   // one stored row of cells, whatever the header says
        s.patterns = {p};
        EXPECT_FALSE(Load(s).ok) << rows;
    }
    XmSong s;
    s.patterns = {Xm_Pattern(256, 2)};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.patterns[0].rows, 256);
}

TEST(XmLoader, PackedCellsUnpackWithTheirFields) {
    XmSong s = OneNoteSong();
    Xm_Cell(s.patterns[0], 2, 1, 1) = TCell{97, 1, 0x40, 0x0C, 0x20};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    const TCell& c = l.song.patterns[0].cells[1 * 2 + 1];
    EXPECT_EQ(c.note, 97);
    EXPECT_EQ(c.instrument, 1);
    EXPECT_EQ(c.volume, 0x40);
    EXPECT_EQ(c.effect, 0x0C);
    EXPECT_EQ(c.param, 0x20);
}

TEST(XmLoader, InstrumentNumbersAboveTheCountBecomeNone) {
    XmSong s = OneNoteSong();
    Xm_Cell(s.patterns[0], 2, 1, 0) = TCell{49, 2, 0, 0, 0};
    Xm_Cell(s.patterns[0], 2, 2, 0) = TCell{49, 0x80, 0, 0, 0};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.patterns[0].cells[1 * 2].instrument, 0);
    EXPECT_EQ(l.song.patterns[0].cells[2 * 2].instrument, 0);
    EXPECT_EQ(l.song.patterns[0].cells[0].instrument, 1);
}

TEST(XmLoader, EightBitDeltasDecodeAndWiden) {
    XmSong s = OneNoteSong();
    XmSample smp;
    smp.data = {10, 5, 251};
    smp.length = 3;
    s.instruments[0].samples = {smp};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    const TSample* d = l.song.instruments[0].samples[0];
    ASSERT_EQ(d->length, 3u);
    EXPECT_EQ(d->data[0], 2560);
    EXPECT_EQ(d->data[1], 3840);
    EXPECT_EQ(d->data[2], 2560);
    EXPECT_EQ(d->data[3], 0);   // no loop: the guard stays 0
}

TEST(XmLoader, SixteenBitDeltasDecodeWithoutScaling) {
    XmSong s = OneNoteSong();
    XmSample smp;
    smp.data = Xm_Delta16({1000, 700, -32768, 32767});
    smp.length = 8;   // bytes
    smp.type = 0x10;
    s.instruments[0].samples = {smp};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    const TSample* d = l.song.instruments[0].samples[0];
    ASSERT_EQ(d->length, 4u);
    EXPECT_EQ(d->data[0], 1000);
    EXPECT_EQ(d->data[1], 700);
    EXPECT_EQ(d->data[2], -32768);
    EXPECT_EQ(d->data[3], 32767);
}

TEST(XmLoader, SixteenBitLengthsAndLoopsAreHalved) {
    XmSong s = OneNoteSong();
    XmSample smp;
    smp.data = Xm_Delta16(std::vector<int16_t>(10, 100));
    smp.length = 20;
    smp.loop_start = 4;
    smp.loop_length = 12;
    smp.type = 0x11;
    s.instruments[0].samples = {smp};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    const TSample* d = l.song.instruments[0].samples[0];
    EXPECT_EQ(d->length, 10u);
    EXPECT_EQ(d->loop_start, 2u);
    EXPECT_EQ(d->loop_length, 6u);
    EXPECT_EQ(d->loop_type, LOOP_FORWARD);
}

TEST(XmLoader, AdpcmNibblesAddTableDeltas) {
    XmSong s = OneNoteSong();
    XmSample smp;
    smp.packing = 0xAD;
    smp.length = 3;
    smp.data.assign(16, 0);
    smp.data[1] = 10;           // nibble 1: +10
    smp.data[2] = uint8_t(-3);  // nibble 2: -3
    smp.data.push_back(0x21);   // low nibble 1 first, then 2
    smp.data.push_back(0x01);   // nibble 1; the high nibble is past the end
    s.instruments[0].samples = {smp};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    const TSample* d = l.song.instruments[0].samples[0];
    EXPECT_EQ(d->data[0], 10 * 256);
    EXPECT_EQ(d->data[1], 7 * 256);
    EXPECT_EQ(d->data[2], 17 * 256);
}

TEST(XmLoader, ForwardLoopGuardRepeatsTheLoopStart) {
    std::vector<int8_t> v(200);
    for (int i = 0; i < 200; ++i) v[i] = int8_t(i - 100);
    XmSong s = OneNoteSong();
    s.instruments[0].samples = {Xm_Sample8(v, LOOP_FORWARD, 100, 50)};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    const TSample* d = l.song.instruments[0].samples[0];
    EXPECT_EQ(d->data[150], d->data[100]);
    EXPECT_EQ(d->data[100], 0);
}

TEST(XmLoader, PingPongLoopGuardRepeatsTheLastLoopFrame) {
    std::vector<int8_t> v(200);
    for (int i = 0; i < 200; ++i) v[i] = int8_t(i - 100);
    XmSong s = OneNoteSong();
    s.instruments[0].samples = {Xm_Sample8(v, LOOP_PINGPONG, 100, 50)};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    const TSample* d = l.song.instruments[0].samples[0];
    EXPECT_EQ(d->data[150], d->data[149]);
    EXPECT_EQ(d->data[149], 49 * 256);
}

TEST(XmLoader, LoopsAreClampedIntoTheSample) {
    XmSong s = OneNoteSong();
    s.instruments[0].samples = {Xm_Sample8(std::vector<int8_t>(10, 1), LOOP_FORWARD, 6, 100),
                                Xm_Sample8(std::vector<int8_t>(10, 1), LOOP_FORWARD, 50, 4),
                                Xm_Sample8(std::vector<int8_t>(10, 1), LOOP_PINGPONG, 3, 0)};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    const TSample* a = l.song.instruments[0].samples[0];
    EXPECT_EQ(a->loop_start, 6u);
    EXPECT_EQ(a->loop_length, 4u);
    // A loop starting past the end has no length left: no loop.
    for (int i : {1, 2}) {
        const TSample* b = l.song.instruments[0].samples[i];
        EXPECT_EQ(b->loop_type, LOOP_NONE) << i;
        EXPECT_EQ(b->loop_start, 0u) << i;
        EXPECT_EQ(b->loop_length, 10u) << i;
    }
}

TEST(XmLoader, FadeoutIsDoubledAndShortEnvelopesAreOff) {
    XmSong s = OneNoteSong();
    s.instruments[0].fadeout = 1000;
    s.instruments[0].volume_envelope = {{{0, 64}}, 0, 0, 0, ENV_ON};
    s.instruments[0].panning_envelope = {{{0, 32}, {10, 0}}, 0, 0, 0, ENV_ON};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    const TInstrument& ins = l.song.instruments[0];
    EXPECT_EQ(ins.fadeout, 2000u);
    EXPECT_EQ(ins.volume_envelope.type, 0);
    EXPECT_EQ(ins.panning_envelope.type, ENV_ON);
    EXPECT_EQ(ins.panning_envelope.count, 2);
}

TEST(XmLoader, EnvelopePointCountsAndValuesStayInRange) {
    XmSong s = OneNoteSong();
    std::vector<uint8_t> b = Xm_Build(s);
    // The instrument's body starts after the header, one pattern and 33 bytes.
    const size_t body = 60 + 276 + 9 + 4 * 2 * 6 + 33;
    b[body + 96 + 2] = 200;   // first volume point's y: 200
    b[body + 192] = 40;       // volume point count: 40
    b[body + 200] = ENV_ON;
    LoadedSong l;
    Xm_Load(l, b);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.instruments[0].volume_envelope.count, kEnvelopePoints);
    EXPECT_EQ(l.song.instruments[0].volume_envelope.points[0].y, 64);
}

TEST(XmLoader, SampleHeadersOf41BytesOrMoreAreRejected) {
    XmSong s = OneNoteSong();
    s.instruments[0].sample_header_size = 41;
    EXPECT_FALSE(Load(s).ok);
    s.instruments[0].sample_header_size = 40;
    EXPECT_TRUE(Load(s).ok);
}

TEST(XmLoader, MoreThan16SamplesAreRejected) {
    XmSong s = OneNoteSong();
    s.instruments[0].samples.assign(17, Xm_Sample8({1, 2}));
    EXPECT_FALSE(Load(s).ok);
    s.instruments[0].samples.resize(16);
    EXPECT_TRUE(Load(s).ok);
}

TEST(XmLoader, SamplesOf4194304FramesOrMoreAreRejected) {
    XmSong s = OneNoteSong();
    XmSample big;
    big.length = 4194304;   // its data is missing: the check comes first
    s.instruments[0].samples = {big};
    EXPECT_FALSE(Load(s).ok);
    big.length = 4194304 * 2 - 2;
    big.type = 0x10;        // halved: 4194303 frames, read as zeros
    s.instruments[0].samples = {big};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.instruments[0].samples[0]->length, 4194303u);
}

TEST(XmLoader, AllocationsBeyondTheArenaBudgetReject) {
    XmSong s = OneNoteSong();
    XmSample big;
    big.length = 1000000;
    s.instruments[0].samples = {big};
    const std::vector<uint8_t> bytes = Xm_Build(s);
    LoadedSong l;
    l.arena.budget = 1 << 20;
    ByteSource src = Source_OpenMemory(bytes.data(), uint32_t(bytes.size()));
    EXPECT_FALSE(Song_Load(l.song, src, l.arena));
}

// Each refusal says why, naming the limit the file exceeds.
struct RefusalCase {
    const char* name;
    void (*spoil)(XmSong& song, std::vector<uint8_t>& bytes);   // after a first build: patch `bytes`
    const char* reason;
};

class XmLoaderRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(XmLoaderRefusal, SaysWhy) {
    XmSong s = OneNoteSong();
    std::vector<uint8_t> bytes = Xm_Build(s);
    GetParam().spoil(s, bytes);
    LoadedSong l;
    ByteSource src = Source_OpenMemory(bytes.data(), uint32_t(bytes.size()));
    std::string why;
    EXPECT_FALSE(Song_Load(l.song, src, l.arena, &why));
    EXPECT_EQ(why, GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, XmLoaderRefusal,
    ::testing::Values(
        RefusalCase{"NoSignature", [](XmSong&, std::vector<uint8_t>& b) { b[0] = 'X'; },
                    "not an XM file (it does not begin with \"Extended Module: \")"},
        RefusalCase{"OldVersion", [](XmSong&, std::vector<uint8_t>& b) { Put16(b, 58, 0x0102); },
                    "XM version 1.02 is not supported (only 1.04)"},
        RefusalCase{"NoOrders", [](XmSong&, std::vector<uint8_t>& b) { Put16(b, 64, 0); },
                    "an order list of 0 entries (1 to 256 are allowed)"},
        RefusalCase{"NoPatterns", [](XmSong&, std::vector<uint8_t>& b) { Put16(b, 70, 0); }, "no patterns"},
        RefusalCase{"TooManyChannels", [](XmSong&, std::vector<uint8_t>& b) { Put16(b, 68, 65); },
                    "65 channels (1 to 64 are allowed)"},
        RefusalCase{"LongPattern",
                    [](XmSong& s, std::vector<uint8_t>& b) {
                        s.patterns = {Xm_Pattern(257, 2)};
                        b = Xm_Build(s);
                    },
                    "pattern 0 has 257 rows (1 to 256 are allowed)"},
        RefusalCase{"SeventeenSamples",
                    [](XmSong& s, std::vector<uint8_t>& b) {
                        s.instruments[0].samples.resize(17);
                        b = Xm_Build(s);
                    },
                    "instrument 1 has 17 samples (at most 16)"},
        RefusalCase{"HugeSample",
                    [](XmSong& s, std::vector<uint8_t>& b) {
                        s.instruments[0].samples[0].length = 4194304;
                        b = Xm_Build(s);
                    },
                    "instrument 1 refused: a sample has 4194304 frames (at most 4194303)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XmLoader, RestartPositionOutsideTheSongIsZero) {
    XmSong s = OneNoteSong();
    s.orders = {0, 0, 0};
    s.restart = 2;
    EXPECT_EQ(Load(s).song.restart_position, 2);
    s.restart = 3;
    EXPECT_EQ(Load(s).song.restart_position, 0);
}

TEST(XmLoader, TheFirstPatternStartsAfterTheHeaderSize) {
    std::vector<uint8_t> b = Xm_Build(OneNoteSong());
    // A header 16 bytes longer: junk between the order table and the patterns.
    Put32(b, 60, 276 + 16);
    b.insert(b.begin() + 336, 16, 0xEE);
    LoadedSong l;
    Xm_Load(l, b);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.patterns[0].cells[0].note, 49);
    EXPECT_EQ(l.song.instruments[0].samples[0]->length, 8u);
}

TEST(XmLoader, InstrumentsWithoutSamplesMayHaveShortHeaders) {
    XmSong s = OneNoteSong();
    s.instruments.insert(s.instruments.begin(), XmInstrument{});
    std::vector<uint8_t> b = Xm_Build(s);
    // The empty first instrument declares 29 header bytes: the loader goes
    // back 4 bytes to find the next one.
    const size_t first = 60 + 276 + 9 + 4 * 2 * 6;
    Put32(b, first, 29);
    b.erase(b.begin() + first + 29, b.begin() + first + 33);
    LoadedSong l;
    Xm_Load(l, b);
    ASSERT_TRUE(l.ok);
    ASSERT_NE(l.song.instruments[1].samples[0], nullptr);
    EXPECT_EQ(l.song.instruments[1].samples[0]->length, 8u);
}

TEST(XmLoader, ASongWithoutInstrumentsPlaysSilence) {
    XmSong s = OneNoteSong();
    s.instruments.clear();
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.instrument_count, 0);
    for (int t = 0; t < 24; ++t)
        for (float v : Xm_RenderTick(l.song)) ASSERT_EQ(v, 0.0f);
}

// Every prefix of a song, cut at each byte: loading never reads or writes
// outside what exists, and whatever loads renders.
TEST(XmLoader, TruncationAtEveryByteIsSafe) {
    XmSong s = OneNoteSong();
    s.instruments[0].volume_envelope = {{{0, 64}, {8, 32}, {16, 0}}, 1, 0, 1, ENV_ON | ENV_SUSTAIN | ENV_LOOP};
    XmSample adpcm;
    adpcm.packing = 0xAD;
    adpcm.length = 6;
    adpcm.data.assign(19, 0x11);
    s.instruments[0].samples.push_back(adpcm);
    const std::vector<uint8_t> full = Xm_Build(s);
    int loaded = 0;
    for (size_t cut = 0; cut <= full.size(); ++cut) {
        const std::vector<uint8_t> part(full.begin(), full.begin() + cut);
        LoadedSong l;
        Xm_Load(l, part);
        if (!l.ok) continue;
        ++loaded;
        ASSERT_GE(l.song.channel_count, 1) << cut;
        ASSERT_LE(l.song.channel_count, kMaxChannels) << cut;
        Xm_Render(l.song, 4096);
    }
    // Cut inside the header the song length or pattern count read as 0.
    LoadedSong header_only;
    Xm_Load(header_only, std::vector<uint8_t>(full.begin(), full.begin() + 70));
    EXPECT_FALSE(header_only.ok);
    // Cut anywhere after the counts, the missing bytes read as zeros and load.
    EXPECT_GT(loaded, int(full.size()) - 80);
}

TEST(XmLoader, OversizedCountsOnATinyFileLoadAsEmpty) {
    XmSong s;
    s.pattern_count = 65535;
    s.instrument_count = 255;
    s.patterns = {};
    LoadedSong l = Load(s);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.song.pattern_slots, 65535);
    EXPECT_EQ(l.song.patterns[65534].rows, 64);
    EXPECT_EQ(l.song.instrument_count, 255);
    for (float v : Xm_Render(l.song, 4096)) ASSERT_EQ(v, 0.0f);
}

TEST(XmLoader, GarbageIsRejectedOrPlaysSafely) {
    std::mt19937 rng(7);
    std::vector<uint8_t> base = Xm_Build(OneNoteSong());
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> b = base;
        const int flips = 1 + int(rng() % 40);
        for (int f = 0; f < flips; ++f) b[rng() % b.size()] = uint8_t(rng());
        if (round % 3 == 0) b.resize(rng() % b.size());
        LoadedSong l;
        l.arena.budget = 16u << 20;
        Xm_Load(l, b);
        if (!l.ok) continue;
        for (float v : Xm_Render(l.song, 2048)) ASSERT_TRUE(std::isfinite(v));
    }
    std::vector<uint8_t> noise(5000);
    for (uint8_t& v : noise) v = uint8_t(rng());
    LoadedSong l;
    l.arena.budget = 16u << 20;
    Xm_Load(l, noise);
    if (l.ok) Xm_Render(l.song, 2048);
}

}  // namespace
