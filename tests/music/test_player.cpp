// The module player's public operations over the engine's audio: on SDL's
// dummy device (its own thread consumes the ring in real time) and, where the
// output itself is inspected, with the test mixing the ring as the device would.
#include <SDL.h>
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#include <tlhelp32.h>
#else
#include <malloc.h>
#endif

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/audio.h"
#include "engine/oe.h"
#include "music/block.h"
#include "music/modplayer.h"
#include "tests/music/xm_builder.h"

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kFullLevel = (32767u << 16) | 32767u;

#ifdef _WIN32
size_t Threads() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    size_t n = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        n += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return n;
}
// Every handle the process holds: files, threads, events.
size_t OpenFiles() {
    DWORD n = 0;
    GetProcessHandleCount(GetCurrentProcess(), &n);
    return n;
}
size_t HeapInUse() { return 0; }   // not measured here
#else
size_t Entries(const char* folder) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}
size_t Threads() { return Entries("/proc/self/task"); }
size_t OpenFiles() { return Entries("/proc/self/fd"); }
size_t HeapInUse() { return mallinfo2().uordblks; }
#endif

// Polls `done` for up to `limit`; true once it holds.
bool Eventually(const std::function<bool()>& done, std::chrono::milliseconds limit = 3000ms) {
    const auto give_up = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

// A join returns once the thread has ended, a moment before the system drops
// it from the process's thread list; a worker that was never ended stays.
bool ThreadsSettleAt(size_t n) {
    return Eventually([n] { return Threads() == n; }, 1000ms);
}

// A long 16-bit square wave of +-32767 on five channels at C-4 (8363 Hz, so
// one half lasts 92 blocks). Sample volume 60 under global volume 55 gives
// each channel gains of 51 / 255 on both sides: the five sum to exactly
// +-32767. `sign` chooses which half comes first.
std::vector<uint8_t> SquareSong(int sign) {
    constexpr uint16_t kChannels = 5;
    constexpr int kHalf = 16384;
    XmSong s;
    s.channels = kChannels;
    s.patterns = {Xm_Pattern(64, kChannels)};
    for (int c = 0; c < kChannels; ++c) {
        TCell& cell = Xm_Cell(s.patterns[0], kChannels, 0, c);
        cell.note = 49;
        cell.instrument = 1;
    }
    Xm_Cell(s.patterns[0], kChannels, 0, 0).effect = 0x10;
    Xm_Cell(s.patterns[0], kChannels, 0, 0).param = 55;
    std::vector<int16_t> wave(2 * kHalf);
    for (int i = 0; i < 2 * kHalf; ++i) wave[size_t(i)] = int16_t(sign * (i < kHalf ? 32767 : -32767));
    XmSample sample;
    sample.data = Xm_Delta16(wave);
    sample.length = sample.loop_length = uint32_t(wave.size() * 2);
    sample.type = 0x10 | LOOP_FORWARD;
    sample.volume = 60;
    XmInstrument ins;
    ins.samples = {sample};
    s.instruments = {ins};
    return Xm_Build(s);
}

// The tone song with a note on row 0 of channel 0; `rows` rows at 20 ms a tick.
std::vector<uint8_t> ToneSong(uint16_t rows) {
    XmSong s = Xm_ToneSong(rows, 2);
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{49, 1, 0, 0, 0};
    return Xm_Build(s);
}

int32_t PlayMemory(const std::vector<uint8_t>& song, uint32_t flags = 0) {
    return Music_Play(song.data(), uint32_t(song.size()), flags | MUSIC_MEMORY);
}

// The engine's audio on SDL's dummy driver, whose thread plays the ring.
class PlayerOnDevice : public ::testing::Test {
protected:
    void SetUp() override {
        oe::Audio_ReleaseAll();
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
        const bool opened = oe::Audio_OpenDevice();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        ASSERT_TRUE(opened) << SDL_GetError();
        Music_SetVolume(64);
    }
    void TearDown() override {
        Music_Stop();
        Music_SetVolume(64);
        oe::Audio_ReleaseAll();
    }
};

TEST_F(PlayerOnDevice, ASongStartsAndItsLevelAndTimeMoveOn) {
    const std::vector<uint8_t> song = ToneSong(64);
    ASSERT_NE(PlayMemory(song), 0);
    EXPECT_STREQ(Music_Title(), "test song");
    EXPECT_NE(Music_Level(), 0u) << "the ring is rendered before the device starts";
    EXPECT_TRUE(Eventually([] { return WaveOut_GetPosition() >= 4u * 4096; })) << "the device plays the ring";
    EXPECT_TRUE(Eventually([] { return Music_Time() > 341; })) << "time " << Music_Time();
    EXPECT_NE(Music_Level(), 0u);
}

TEST_F(PlayerOnDevice, PlaysTheMenuSongFromItsFile) {
    const std::string file = std::string(KORVAMO_TEST_DATA) + "/sfx/menu.xm";
    ASSERT_NE(Music_Play(file.c_str(), 0, MUSIC_FILE), 0);
    EXPECT_STREQ(Music_Title(), "Korvamo menu");
    EXPECT_NE(Music_Level(), 0u);
    EXPECT_TRUE(Eventually([] { return Music_Time() > 400; }));
    EXPECT_NE(Music_Level(), 0u);
}

TEST_F(PlayerOnDevice, StopBringsLevelAndTimeToZeroAndEndsTheWorker) {
    const size_t threads = Threads();
    const std::vector<uint8_t> song = ToneSong(64);
    ASSERT_NE(PlayMemory(song), 0);
    EXPECT_EQ(Threads(), threads + 1);
    ASSERT_TRUE(Eventually([] { return Music_Time() > 0; }));
    Music_Stop();
    EXPECT_EQ(Music_Level(), 0u);
    EXPECT_EQ(Music_Time(), 0u);
    EXPECT_TRUE(ThreadsSettleAt(threads)) << Threads();
    const uint64_t position = WaveOut_GetPosition();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(WaveOut_GetPosition(), position) << "the device no longer plays the ring";
    Music_Stop();
    EXPECT_EQ(Music_Level(), 0u) << "stopping twice is harmless";
}

TEST_F(PlayerOnDevice, NullSourceStopsAPlayingSong) {
    const std::vector<uint8_t> song = ToneSong(64);
    ASSERT_NE(PlayMemory(song), 0);
    ASSERT_NE(Music_Level(), 0u);
    const size_t threads = Threads();
    EXPECT_EQ(Music_Play(nullptr, 0, 0), 0);
    EXPECT_EQ(Music_Level(), 0u);
    EXPECT_EQ(Music_Time(), 0u);
    EXPECT_TRUE(ThreadsSettleAt(threads - 1)) << Threads();
}

TEST_F(PlayerOnDevice, MissingFileReturns0LeavesNothingOpenAndLeaksNothing) {
    const size_t threads = Threads();
    const size_t files = OpenFiles();
    EXPECT_EQ(Music_Play("sfx\\no-such-song.xm", 0, MUSIC_FILE), 0);
    EXPECT_EQ(Music_Level(), 0u);
    EXPECT_EQ(Threads(), threads);
    EXPECT_EQ(OpenFiles(), files);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(WaveOut_GetPosition(), 0u) << "no ring was given to the device";
    // A minute of the game's retries, one every 30 ms tick.
    const size_t heap = HeapInUse();
    for (int i = 0; i < 2000; ++i) Music_Play("sfx\\no-such-song.xm", 0, MUSIC_FILE);
    EXPECT_LE(HeapInUse(), heap + 4096);
    EXPECT_EQ(Threads(), threads);
    EXPECT_EQ(OpenFiles(), files);
}

TEST_F(PlayerOnDevice, RejectedDataAndResourcesReturn0) {
    const std::vector<uint8_t> whole = SquareSong(1);
    const std::vector<uint8_t> truncated(whole.begin(), whole.begin() + 60);
    const std::string text = "Extended Module: twelve orders, sixty rows, no numbers here at all";
    const size_t threads = Threads();
    EXPECT_EQ(PlayMemory(truncated), 0);
    EXPECT_EQ(Music_Play(text.data(), uint32_t(text.size()), MUSIC_MEMORY), 0);
    EXPECT_EQ(Music_Play("menu", 0, 0), 0) << "no resources to read on this platform";
    EXPECT_EQ(Music_Level(), 0u);
    EXPECT_EQ(Threads(), threads);
}

TEST_F(PlayerOnDevice, FullScaleSquareWaveHasLevel32767OnBothSides) {
    for (int sign : {1, -1}) {
        const std::vector<uint8_t> song = SquareSong(sign);
        ASSERT_NE(PlayMemory(song), 0);
        EXPECT_EQ(Music_Level(), kFullLevel) << "sign " << sign;
        Music_Stop();
    }
}

TEST_F(PlayerOnDevice, VolumeScalesTheBlocksAndSurvivesAStop) {
    const std::vector<uint8_t> song = SquareSong(1);
    ASSERT_NE(PlayMemory(song), 0);
    EXPECT_EQ(Music_Level(), kFullLevel) << "64 leaves the samples as they are";
    Music_SetVolume(32);
    Music_Stop();
    ASSERT_NE(PlayMemory(song), 0);
    EXPECT_EQ(Music_Level(), (10922u << 16) | 10922u) << "32 divides them by 3";
    Music_SetVolume(0);
    Music_Stop();
    ASSERT_NE(PlayMemory(song), 0);
    EXPECT_EQ(Music_Level(), 0u) << "0 silences them";
    Music_SetVolume(200);
    Music_Stop();
    ASSERT_NE(PlayMemory(song), 0);
    EXPECT_EQ(Music_Level(), kFullLevel) << "above 64 is full volume";
}

TEST_F(PlayerOnDevice, VolumeChangesReachTheBlocksRenderedNext) {
    const std::vector<uint8_t> song = SquareSong(1);
    ASSERT_NE(PlayMemory(song), 0);
    Music_SetVolume(32);
    EXPECT_TRUE(Eventually([] { return Music_Level() == ((10922u << 16) | 10922u); }));
}

TEST_F(PlayerOnDevice, NoLoopSongEndsByItselfAndReleasesEverything) {
    const size_t threads = Threads();
    const std::vector<uint8_t> song = ToneSong(8);   // 960 ms
    ASSERT_NE(PlayMemory(song, MUSIC_NO_LOOP), 0);
    EXPECT_NE(Music_Level(), 0u);
    // Silence also holds the song while the device waits for the ring (seen
    // under Wine on a busy machine), so the end is silence with the time back at 0.
    EXPECT_TRUE(Eventually([] { return Music_Level() == 0 && Music_Time() == 0; }, 5000ms));
    EXPECT_TRUE(Eventually([&] { return Threads() == threads; }));
    const uint64_t position = WaveOut_GetPosition();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(WaveOut_GetPosition(), position) << "the device was released";
    Music_Stop();
    ASSERT_NE(PlayMemory(song), 0) << "and the player starts again";
}

TEST_F(PlayerOnDevice, SongShorterThanTheRingWithoutLoopDoesNotStart) {
    const std::vector<uint8_t> song = ToneSong(2);   // 240 ms
    EXPECT_EQ(PlayMemory(song, MUSIC_NO_LOOP), 0);
    EXPECT_EQ(Music_Level(), 0u);
}

TEST_F(PlayerOnDevice, JumpToOrderMovesTheSongOn) {
    XmSong s = Xm_ToneSong(64, 2);
    s.patterns.push_back(Xm_Pattern(64, 2));
    Xm_Cell(s.patterns[0], 2, 0, 0) = TCell{97, 0, 0, 0, 0};   // key-off: silence
    Xm_Cell(s.patterns[1], 2, 0, 0) = TCell{49, 1, 0, 0, 0};
    s.orders = {0, 1};
    const std::vector<uint8_t> song = Xm_Build(s);
    ASSERT_NE(PlayMemory(song), 0);
    EXPECT_EQ(Music_Level(), 0u) << "order 0 is silent";
    Music_JumpToOrder(1);
    EXPECT_TRUE(Eventually([] { return Music_Level() != 0; }));
    Music_JumpToOrder(0x10000);   // the low 16 bits: order 0
    EXPECT_TRUE(Eventually([] { return Music_Level() == 0; }, 5000ms)) << "back on the silent order";
}

// No device: the test mixes the ring itself, a block at a time, faster than a
// device would (a block lasts 21.3 ms) but slower than the worker's polls.
constexpr auto kMixPace = 12ms;

class PlayerOutput : public ::testing::Test {
protected:
    void SetUp() override {
        oe::Audio_ReleaseAll();
        Music_SetVolume(64);
    }
    void TearDown() override {
        Music_Stop();
        oe::Audio_ReleaseAll();
    }
    // Mixes `blocks` blocks; true when every sample of them was 0.
    static bool MixSilent(int blocks) {
        std::vector<int16_t> out(2 * kBlockFrames);
        bool silent = true;
        for (int b = 0; b < blocks; ++b) {
            oe::Audio_Mix(out.data(), kBlockFrames);
            for (int16_t v : out) silent = silent && v == 0;
            std::this_thread::sleep_for(kMixPace);
        }
        return silent;
    }
};

TEST_F(PlayerOutput, PausedStartIsSilentAndHoldsTheSongUntilResume) {
    const std::vector<uint8_t> song = SquareSong(1);
    ASSERT_NE(PlayMemory(song, MUSIC_PAUSED), 0);
    EXPECT_TRUE(MixSilent(40)) << "more than two rings' worth";
    EXPECT_EQ(Music_Time(), 0u) << "the song stays at its start";
    EXPECT_EQ(Music_Level(), 0u);
    Music_Resume();
    EXPECT_FALSE(MixSilent(40));
    EXPECT_GT(Music_Time(), 0u);
    EXPECT_EQ(Music_Level(), kFullLevel);
}

TEST_F(PlayerOutput, PauseSilencesThePlayingSong) {
    const std::vector<uint8_t> song = SquareSong(1);
    ASSERT_NE(PlayMemory(song), 0);
    EXPECT_FALSE(MixSilent(4));
    Music_Pause();
    MixSilent(24);   // the ring's lead plays out
    const uint32_t held = Music_Time();
    EXPECT_TRUE(MixSilent(20));
    EXPECT_EQ(Music_Time(), held);
    Music_Resume();
    EXPECT_FALSE(MixSilent(40));
}

TEST_F(PlayerOutput, TheDeviceHearsTheRenderedSamples) {
    const std::vector<uint8_t> song = SquareSong(-1);
    ASSERT_NE(PlayMemory(song), 0);
    std::vector<int16_t> out(2 * kBlockFrames);
    oe::Audio_Mix(out.data(), kBlockFrames);   // block 0 holds the note's start ramp
    oe::Audio_Mix(out.data(), kBlockFrames);
    for (int16_t v : out) ASSERT_EQ(v, -32767);
}

TEST_F(PlayerOutput, TheDeviceHearsTheVolumeOfTheBlocksTheWorkerRenders) {
    Music_SetVolume(32);
    const std::vector<uint8_t> song = SquareSong(-1);
    ASSERT_NE(PlayMemory(song), 0);
    std::vector<int16_t> out(2 * kBlockFrames);
    oe::Audio_Mix(out.data(), kBlockFrames);
    // Two rings' worth: most of these blocks come from the worker.
    for (int b = 1; b < 2 * 16; ++b) {
        std::this_thread::sleep_for(kMixPace);
        oe::Audio_Mix(out.data(), kBlockFrames);
        for (int16_t v : out) ASSERT_EQ(v, -10922) << "block " << b;
    }
}

}  // namespace
