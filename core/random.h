// random.h: the game's one uniform integer generator.
#pragma once

#include <cstdint>

// An integer from 0 to n - 1 (0 when n <= 0).
int random(int n);

// Seeds the generator from the high-resolution clock, or with the seed forced
// by Random_ForceSeed so a headless run repeats exactly.
void Random_SeedFromClock();
void Random_ForceSeed(uint64_t seed);
