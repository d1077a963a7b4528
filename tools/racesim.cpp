// racesim: a headless race on one track with the autopilot driving the
// player's car, until the finish check ends it or 10 minutes of racing pass.
//
//   racesim TRACK [--seed N] [--difficulty 0|1|2] [--kind 0..3] [--data DIR] [--computer-only]
//
// --computer-only takes the player's car off the grid and lets the computer
// cars race alone until each has its four laps.
// Prints the winner, every car's laps with each lap's time, the winner's
// margin over the second car, the race time, the order changes and overtakes
// after the first 10 s, how far apart in time each pair of cars drove, the
// player's bonuses, the cars that stood still for more than 10 s and the
// tick's cost, and ends with one "result:" line for scripts. Exit status: 0 the race ran, 2 bad
// arguments or no such track.
#include <charconv>
#include <cstdio>
#include <string>

#include "tools/harness/race_sim.h"

namespace {

const char* const kKinds[] = {"jeep", "car", "tank", "turbo"};
const char* const kDifficulties[] = {"easy", "medium", "hard"};

int Usage() {
    std::fprintf(stderr, "usage: racesim TRACK [--seed N] [--difficulty 0|1|2] [--kind 0..3] [--data DIR] [--computer-only]\n");
    return 2;
}

template <class T>
bool ToNumber(const char* text, T& value) {
    const std::string s = text;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

bool ParseArgs(int argc, char** argv, harness::RaceSimOptions& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        bool ok = true;
        if (arg == "--seed" && has_value)
            ok = ToNumber(argv[++i], o.seed);
        else if (arg == "--difficulty" && has_value)
            ok = ToNumber(argv[++i], o.difficulty) && o.difficulty >= 0 && o.difficulty <= 2;
        else if (arg == "--kind" && has_value)
            ok = ToNumber(argv[++i], o.kind) && o.kind >= 0 && o.kind <= 3;
        else if (arg == "--data" && has_value)
            o.data = argv[++i];
        else if (arg == "--computer-only")
            o.computer_only = true;
        else if (o.track.empty() && !arg.starts_with("--"))
            o.track = arg;
        else
            ok = false;
        if (!ok) return false;
    }
    return !o.track.empty();
}

// "  laps: 44.1 42.0 42.7 42.5 (best 42.0, average 42.8)"
void PrintLaps(const harness::RaceSimCar& car, bool with_average) {
    if (car.lap_done_s.empty()) return;
    std::printf("  laps:");
    for (double lap : harness::RaceSim_LapTimes(car)) std::printf(" %.1f", lap);
    std::printf(" (best %.1f", car.best_lap_s);
    if (with_average) std::printf(", average %.1f", car.average_lap_s);
    std::printf(")\n");
}

void Report(const harness::RaceSimOptions& o, const harness::RaceSimResult& r) {
    std::printf("track %s, seed %llu, difficulty %s, player's car %s\n", o.track.c_str(),
                static_cast<unsigned long long>(o.seed), kDifficulties[o.difficulty], kKinds[o.kind]);
    if (r.winner >= 0)
        std::printf("winner: car %d (%s, %s)\n", r.winner, r.cars[r.winner].kind.c_str(),
                    r.cars[r.winner].player ? "the player" : "computer");
    else
        std::printf("winner: none\n");
    for (size_t k = 0; k < r.cars.size(); ++k) {
        const harness::RaceSimCar& car = r.cars[k];
        std::printf("car %zu %-5s %-8s laps %d", k, car.kind.c_str(), car.player ? "player" : "computer", car.laps);
        if (car.four_laps_s >= 0) std::printf(", four laps at %.1f s", car.four_laps_s);
        std::printf(", longest standstill %.1f s\n", car.longest_still_s);
        PrintLaps(car, car.player || static_cast<int>(k) == r.winner);
    }
    if (r.second >= 0 && r.gap.s >= 0)
        std::printf("gap to the second car (car %d): %.1f s (%s)\n", r.second, r.gap.s,
                    r.gap.at_line ? "at the line" : "behind at the same place");
    std::printf("race time: %.1f s (%s)\n", r.race_s, r.finished ? "finished" : "not finished");
    std::printf("computer cars within 100 px of each other: %.0f %% of the race\n", 100.0 * r.computer_cars_bunched);
    std::printf("order changes after the first 10 s: %d, overtakes: %d\n", r.battles.order_changes, r.battles.overtakes);
    for (const harness::PairGap& pair : r.battles.pairs)
        std::printf("  cars %d and %d: %.1f s apart on average, within 1 s %.0f %% of the time\n", pair.a, pair.b,
                    pair.mean_s, 100.0 * pair.close_share);
    std::printf("bonuses taken by the player: %d (%d points)\n", r.bonuses, r.bonus_points);
    std::printf("stuck (stood still for more than 10 s):");
    for (size_t k = 0; k < r.cars.size(); ++k)
        if (r.cars[k].stuck) std::printf(" car %zu", k);
    std::printf("%s\n", r.stuck ? "" : " none");
    std::printf("tick: median %.0f us, p99 %.0f us, max %.0f us\n", r.tick_us_median, r.tick_us_p99,
                r.tick_us_max);
    std::printf("%s\n", harness::RaceSim_ResultLine(r).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    harness::RaceSimOptions options;
    options.data = KORVAMO_DEFAULT_DATA;
    if (!ParseArgs(argc, argv, options)) return Usage();
    harness::RaceSimResult result;
    std::string error;
    if (!harness::RaceSim_Run(options, result, error)) {
        std::fprintf(stderr, "racesim: %s\n", error.c_str());
        return 2;
    }
    Report(options, result);
    return 0;
}
