#include "core/random.h"

#include <chrono>
#include <optional>
#include <random>

namespace {

struct Source {
    std::mt19937_64 generator;
    std::optional<uint64_t> forced_seed;   // set by a headless run so it repeats exactly
};
Source source;

}  // namespace

int random(int n) {
    if (n <= 0) return 0;
    return static_cast<int>(std::uniform_int_distribution<int64_t>(0, n - 1)(source.generator));
}

void Random_SeedFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    source.generator.seed(source.forced_seed.value_or(static_cast<uint64_t>(ticks)));
}

void Random_ForceSeed(uint64_t seed) { source.forced_seed = seed; }
