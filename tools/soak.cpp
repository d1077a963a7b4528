// soak: the real game, headless, for many ticks of seeded random input:
// clicks on the interface and anywhere, the game's keys (F11, F12, F5, Escape,
// arrows, Shift) and typing, through every state.
//
//   soak [--ticks N] [--seed N] [--data DIR] [--max-growth-kib N]
//
// Prints the ticks spent in each state, the races started and the resident
// memory once warmed up and at the end. Exit status: 0 the run ended normally
// and memory grew less than the limit (default 8192 KiB) after warming up,
// 1 it grew more, 2 bad arguments or an unusable data folder. A crash or a
// sanitizer report ends the process on its own.
#include <charconv>
#include <cstdio>
#include <string>

#include "tools/harness/soak.h"

namespace {

const char* const kStateNames[] = {"race", "menu", "tournament", "?", "?", "editor",
                                   "profiles", "finished", "paused", "free race", "options", "help"};

template <class T>
bool ToNumber(const std::string& text, T& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
    harness::SoakOptions options;
    options.data = KORVAMO_DEFAULT_DATA;
    int64_t max_growth_kib = 8192;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        bool ok = has_value;
        if (arg == "--ticks" && has_value)
            ok = ToNumber(argv[++i], options.ticks) && options.ticks > 0;
        else if (arg == "--seed" && has_value)
            ok = ToNumber(argv[++i], options.seed);
        else if (arg == "--data" && has_value)
            options.data = argv[++i];
        else if (arg == "--max-growth-kib" && has_value)
            ok = ToNumber(argv[++i], max_growth_kib);
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "usage: soak [--ticks N] [--seed N] [--data DIR] [--max-growth-kib N]\n");
            return 2;
        }
    }
    harness::SoakResult r;
    std::string error;
    if (!harness::Soak_Run(options, r, error)) {
        std::fprintf(stderr, "soak: %s\n", error.c_str());
        return 2;
    }
    std::printf("%lld ticks in %.1f s, seed %llu, %lld game starts, %lld races started\n",
                static_cast<long long>(r.ticks), r.seconds, static_cast<unsigned long long>(options.seed),
                static_cast<long long>(r.starts), static_cast<long long>(r.races_started));
    for (size_t s = 0; s < r.ticks_in_state.size(); ++s)
        if (r.ticks_in_state[s] > 0)
            std::printf("  state %2zu %-10s %lld ticks\n", s, kStateNames[s], static_cast<long long>(r.ticks_in_state[s]));
    const int64_t growth = r.rss_kib_end - r.rss_kib_warm;
    std::printf("resident memory: %lld KiB warm, %lld KiB at the end (%+lld KiB)\n", static_cast<long long>(r.rss_kib_warm),
                static_cast<long long>(r.rss_kib_end), static_cast<long long>(growth));
    if (growth > max_growth_kib) {
        std::printf("soak: memory grew by more than %lld KiB\n", static_cast<long long>(max_growth_kib));
        return 1;
    }
    return 0;
}
