// The replay's timing and song flow: ticks, rows, speed and tempo, jumps,
// breaks, loops, delays and the end of the order list.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "music/replay.h"
#include "tests/music/xm_builder.h"

namespace {

LoadedSong Load(const XmSong& s) {
    LoadedSong l;
    Xm_Load(l, Xm_Build(s));
    EXPECT_TRUE(l.ok);
    return l;
}

// At the start of a row: the number of ticks the row plays.
int TicksOfRow(TSong& song) {
    int ticks = 0;
    do {
        Xm_RenderTick(song);
        ++ticks;
    } while (song.tick != 0 && ticks < 1000);
    return ticks;
}

TEST(Replay, ATickAt125BpmLasts960Frames) {
    LoadedSong l = Load(Xm_ToneSong());
    Xm_Render(l.song, 1);
    EXPECT_EQ(l.song.frames_left, 959);
    EXPECT_EQ(l.song.tick, 1);
    Xm_Render(l.song, 959);
    EXPECT_EQ(l.song.frames_left, 0);
    EXPECT_EQ(l.song.tick, 1);   // the next tick starts with the next frame
}

TEST(Replay, ATickAt32BpmLasts3750Frames) {
    XmSong s = Xm_ToneSong();
    s.bpm = 32;
    LoadedSong l = Load(s);
    EXPECT_EQ(l.song.frames_per_tick, 3750);
}

TEST(Replay, F20SetsBpm32FromTheTickItIsOn) {
    XmSong s = Xm_ToneSong();
    Xm_Cell(s.patterns[0], 2, 0, 0).effect = 0xF;
    Xm_Cell(s.patterns[0], 2, 0, 0).param = 0x20;
    LoadedSong l = Load(s);
    Xm_Render(l.song, 1);
    EXPECT_EQ(l.song.frames_per_tick, 3750);
    EXPECT_EQ(l.song.frames_left, 3749);
}

TEST(Replay, F1FSetsSpeed31) {
    XmSong s = Xm_ToneSong();
    Xm_Cell(s.patterns[0], 2, 0, 0).effect = 0xF;
    Xm_Cell(s.patterns[0], 2, 0, 0).param = 0x1F;
    LoadedSong l = Load(s);
    EXPECT_EQ(TicksOfRow(l.song), 31);
    EXPECT_EQ(l.song.speed, 31);
    EXPECT_EQ(l.song.next_row, 1);
}

TEST(Replay, SpeedZeroPlaysOneTickPerRow) {
    XmSong s = Xm_ToneSong();
    Xm_Cell(s.patterns[0], 2, 0, 0).effect = 0xF;
    LoadedSong l = Load(s);
    EXPECT_EQ(TicksOfRow(l.song), 1);
    EXPECT_EQ(TicksOfRow(l.song), 1);
}

TEST(Replay, SongTimeCountsMillisecondsPerPiece) {
    LoadedSong l = Load(Xm_ToneSong());
    Xm_Render(l.song, 9600);   // ten whole ticks
    EXPECT_EQ(l.song.time, 200u);
    Xm_Render(l.song, 47);     // a piece of 47 frames is under a millisecond
    EXPECT_EQ(l.song.time, 200u);
    Xm_Render(l.song, 48);
    EXPECT_EQ(l.song.time, 201u);
}

TEST(Replay, RowsAdvanceAndOrdersFollow) {
    XmSong s = Xm_ToneSong(2);
    s.patterns.push_back(Xm_Pattern(3, 2));
    s.orders = {0, 1};
    LoadedSong l = Load(s);
    std::vector<std::pair<int, int>> seen;
    for (int r = 0; r < 6; ++r) {
        Xm_RenderTicks(l.song, 6);
        seen.emplace_back(l.song.current_order, l.song.current_row);
    }
    const std::vector<std::pair<int, int>> want = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {1, 2}, {0, 0}};
    EXPECT_EQ(seen, want);
}

TEST(Replay, D25ContinuesAtRow25OfTheNextOrder) {
    XmSong s = Xm_ToneSong(64);
    s.patterns.push_back(Xm_Pattern(64, 2));
    s.orders = {0, 1};
    Xm_Cell(s.patterns[0], 2, 0, 1) = TCell{0, 0, 0, 0xD, 0x25};
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 7);
    EXPECT_EQ(l.song.current_order, 1);
    EXPECT_EQ(l.song.current_row, 25);
}

TEST(Replay, ABreakPastTheNextPatternsEndStartsItAtRow0) {
    XmSong s = Xm_ToneSong(64);
    s.patterns.push_back(Xm_Pattern(16, 2));
    s.orders = {0, 1};
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{0, 0, 0, 0xD, 0x20};   // row 20 of a 16-row pattern
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 7);
    EXPECT_EQ(l.song.current_order, 1);
    EXPECT_EQ(l.song.current_row, 0);
}

TEST(Replay, PositionJumpGoesToTheOrderAtRow0) {
    XmSong s = Xm_ToneSong(8);
    s.orders = {0, 0, 0};
    Xm_Cell(s.patterns[0], 2, 1, 0) = TCell{0, 0, 0, 0xB, 2};
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 13);
    EXPECT_EQ(l.song.current_order, 2);
    EXPECT_EQ(l.song.current_row, 0);
}

TEST(Replay, PositionJumpOutsideTheSongGoesToOrder0) {
    XmSong s = Xm_ToneSong(8);
    s.orders = {0, 0};
    Xm_Cell(s.patterns[0], 2, 1, 0) = TCell{0, 0, 0, 0xB, 9};
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 13);
    EXPECT_EQ(l.song.current_order, 0);
    EXPECT_EQ(l.song.current_row, 0);
}

TEST(Replay, JumpThenBreakOnOneRowTakesBothTargets) {
    XmSong s = Xm_ToneSong(8);
    s.orders = {0, 0, 0, 0};
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{0, 0, 0, 0xB, 3};
    Xm_Cell(s.patterns[0], 2, 0, 1) = TCell{0, 0, 0, 0xD, 0x05};
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 7);
    EXPECT_EQ(l.song.current_order, 3);
    EXPECT_EQ(l.song.current_row, 5);
}

TEST(Replay, PatternLoopPlaysTheStretchAgain) {
    XmSong s = Xm_ToneSong(8);
    Xm_Cell(s.patterns[0], 2, 1, 0) = TCell{0, 0, 0, 0xE, 0x60};
    Xm_Cell(s.patterns[0], 2, 2, 0) = TCell{0, 0, 0, 0xE, 0x62};
    LoadedSong l = Load(s);
    std::vector<int> rows;
    for (int r = 0; r < 9; ++r) {
        Xm_RenderTicks(l.song, 6);
        rows.push_back(l.song.current_row);
    }
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 1, 2, 1, 2, 3, 4}));
}

TEST(Replay, PatternDelayRepeatsTheRowsTicks) {
    XmSong s = Xm_ToneSong(8);
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{0, 0, 0, 0xE, 0xE2};
    LoadedSong l = Load(s);
    EXPECT_EQ(TicksOfRow(l.song), 18);
    EXPECT_EQ(TicksOfRow(l.song), 6);
}

TEST(Replay, VolumeColumn65LowersVolumeBy30OverASpeed6Row) {
    XmSong s = Xm_ToneSong();
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0, 0};
    Xm_Cell(s.patterns[0], 2, 1, 0) = TCell{0, 0, 0x65, 0, 0};
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 6);
    EXPECT_EQ(l.song.channels[0].volume, 64);
    std::vector<int> volumes;
    for (int t = 0; t < 6; ++t) {
        Xm_RenderTick(l.song);
        volumes.push_back(l.song.channels[0].volume);
    }
    EXPECT_EQ(volumes, (std::vector<int>{59, 54, 49, 44, 39, 34}));
}

TEST(Replay, RestartPositionContinuesTheSong) {
    XmSong s = Xm_ToneSong(2);
    s.orders = {0, 0, 0};
    s.restart = 1;
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 6 * 6);
    EXPECT_EQ(l.song.current_order, 2);
    Xm_RenderTicks(l.song, 6);
    EXPECT_EQ(l.song.current_order, 1);
    EXPECT_FALSE(l.song.ended);
}

TEST(Replay, WithNoLoopTheSongEndsAfterItsLastRow) {
    XmSong s = Xm_ToneSong(2);
    LoadedSong l = Load(s);
    l.song.no_loop = true;
    std::vector<float> out(2 * 20000, 0.0f);
    const int32_t rendered = Song_Render(l.song, out.data(), 20000);
    EXPECT_EQ(rendered, 2 * 6 * 960);   // both rows, every tick
    EXPECT_TRUE(l.song.ended);
    EXPECT_EQ(Song_Render(l.song, out.data(), 100), 0);
}

// Passes through the song: going on to an order already played in this pass
// starts the next one; with max_passes the song ends where one more would start.
struct PassCase {
    const char* name;
    std::vector<uint8_t> orders;
    uint16_t restart;
    std::vector<std::pair<int, TCell>> cells;   // (row, cell) on channel 0 of the one 2-row pattern
    int32_t max_passes;
    int rows;                                   // rows played before the end
};

class Passes : public ::testing::TestWithParam<PassCase> {};

TEST_P(Passes, EndWhereTheSongGoesBackOnceTheyAreDone) {
    XmSong s = Xm_ToneSong(2);
    s.orders = GetParam().orders;
    s.restart = GetParam().restart;
    for (const auto& [row, cell] : GetParam().cells) Xm_Cell(s.patterns[0], 2, row, 0) = cell;
    LoadedSong l = Load(s);
    l.song.max_passes = GetParam().max_passes;
    std::vector<float> out(2 * 6 * 960 * 32, 0.0f);
    const int32_t rendered = Song_Render(l.song, out.data(), 6 * 960 * 32);
    EXPECT_TRUE(l.song.ended);
    EXPECT_EQ(rendered, GetParam().rows * 6 * 960);
}

INSTANTIATE_TEST_SUITE_P(
    Replay, Passes,
    ::testing::Values(PassCase{"OnceThroughTheList", {0, 0, 0}, 1, {}, 1, 6},
                      PassCase{"TwiceFromTheRestartPosition", {0, 0, 0}, 1, {}, 2, 10},
                      PassCase{"AJumpBack", {0}, 0, {{1, TCell{0, 0, 0, 0xB, 0}}}, 2, 4},
                      PassCase{"APatternLoopStaysInThePass", {0}, 0,
                               {{0, TCell{0, 0, 0, 0xE, 0x60}}, {1, TCell{0, 0, 0, 0xE, 0x61}}}, 1, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Replay, ARequestedPositionIsTakenAtTheNextRow) {
    XmSong s = Xm_ToneSong(8);
    s.orders = {0, 0, 0};
    LoadedSong l = Load(s);
    Xm_RenderTicks(l.song, 2);
    // As the player's caller does from its own thread.
    std::atomic_ref<int32_t>(l.song.next_order).store(2);
    std::atomic_ref<int32_t>(l.song.next_row).store(0);
    Xm_RenderTicks(l.song, 5);
    EXPECT_EQ(l.song.current_order, 2);
    EXPECT_EQ(l.song.current_row, 0);
}

TEST(Replay, GlobalVolumeSetAndSlideStayIn0To64) {
    XmSong s = Xm_ToneSong();
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{0, 0, 0, 0x10, 0x50};
    Xm_Cell(s.patterns[0], 2, 1, 0) = TCell{0, 0, 0, 0x11, 0x0F};
    Xm_Cell(s.patterns[0], 2, 2, 0) = TCell{0, 0, 0, 0x11, 0x00};
    Xm_Cell(s.patterns[0], 2, 3, 0) = TCell{0, 0, 0, 0x11, 0xF0};
    LoadedSong l = Load(s);
    Xm_RenderTick(l.song);
    EXPECT_EQ(l.song.global_volume, 64);
    Xm_RenderTicks(l.song, 5 + 1 + 2);
    EXPECT_EQ(l.song.global_volume, 34);   // 64 - 2 x 15 on ticks 1 and 2 of row 1
    Xm_RenderTicks(l.song, 3 + 6);
    EXPECT_EQ(l.song.global_volume, 0);    // the memory goes on down
    Xm_RenderTicks(l.song, 6);
    EXPECT_EQ(l.song.global_volume, 64);
}

}  // namespace
