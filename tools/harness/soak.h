// soak.h: the real game run headless for many ticks under seeded random input
// (clicks on the interface and anywhere, the game's keys, typing), watching
// that it keeps running, visits its states and does not grow in memory.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace harness {

struct SoakOptions {
    std::string data;         // the game's data folder; the run works in a scratch copy
    uint64_t seed = 1;
    int64_t ticks = 100000;
    int frame_every = 4;      // a frame is drawn after every this many ticks
};

struct SoakResult {
    int64_t ticks = 0;
    std::array<int64_t, 12> ticks_in_state{};   // by game_state
    int64_t races_started = 0;
    int64_t starts = 0;         // how often the game was started ("Quit" ends a run)
    int64_t rss_kib_warm = 0;   // resident memory once the run has warmed up
    int64_t rss_kib_end = 0;
    double seconds = 0.0;
};

// Runs the game; false with a message when the data folder cannot be used.
bool Soak_Run(const SoakOptions& options, SoakResult& result, std::string& error);

}  // namespace harness
