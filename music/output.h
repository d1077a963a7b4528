// output.h: the player's wave output: a looping ring of sixteen blocks that the
// engine's audio device plays, the worker thread that renders new blocks
// behind the play position, and the level ring the queries read.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>

#include "music/arena.h"
#include "music/block.h"
#include "music/song.h"

constexpr int kRingBlocks = 16;
constexpr int kBlockBytes = kBlockFrames * 4;            // 1024 stereo frames of 16 bits
constexpr int kRingBytes = kRingBlocks * kBlockBytes;    // 65536, about 341 ms

struct TWaveOutput {
    alignas(16) std::array<int16_t, kRingBytes / 2> ring{};   // left then right, little-endian
    std::array<float, 2 * kBlockFrames> acc{};                // the block being rendered
    int32_t fill = 0;                                         // next block of the ring to render
    // Per block: the song time after it (slot k for block k) and its level
    // (slot k + 1); the queries read the slot at the level index.
    std::array<std::atomic<uint32_t>, kRingBlocks> times{};
    std::array<std::atomic<uint32_t>, kRingBlocks> levels{};
    std::atomic<int32_t> level_index{0};
    std::atomic<bool> stop{false};                            // asks the worker to end
    std::atomic<uint8_t> paused{0};                           // non-zero: silence, the song holds
    std::atomic<int32_t> divisor{0};                          // 16 is full volume; 0 never set
    bool device_open = false;
    std::thread worker;

    TWaveOutput() = default;
    TWaveOutput(const TWaveOutput&) = delete;
    TWaveOutput& operator=(const TWaveOutput&) = delete;
    // A worker still running at exit is stopped, never left to terminate the program.
    ~TWaveOutput();
};

// Renders the whole ring from `song`, opens the device on it and starts the
// worker, which renders on until stopped or, once the song has ended (with its
// no-loop flag), closes the device, frees `arena` and clears the level ring
// itself. False when the device cannot be opened, the thread cannot be made or
// the song ends before the ring is full; nothing is left running then.
bool Output_Start(TWaveOutput& out, TSong& song, TArena& arena);

// Waits for the worker to end, then closes the device and clears the level
// ring. The song and its arena are the caller's to release afterwards.
void Output_Stop(TWaveOutput& out);

uint32_t Output_Level(const TWaveOutput& out);   // 0 when stopped
uint32_t Output_Time(const TWaveOutput& out);    // milliseconds; 0 when stopped
