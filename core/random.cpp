#include "core/random.h"

#include <chrono>
#include <optional>
#include <random>

namespace {
std::mt19937_64 generator;
std::optional<uint64_t> forced_seed;
}  // namespace

int random(int n) {
    if (n <= 0) return 0;
    return static_cast<int>(std::uniform_int_distribution<int64_t>(0, n - 1)(generator));
}

void Random_SeedFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    generator.seed(forced_seed.value_or(static_cast<uint64_t>(ticks)));
}

void Random_ForceSeed(uint64_t seed) { forced_seed = seed; }
