// fresh_start.h: what a new process would hold before the game's start-up,
// for runners that start the game more than once in one process.
#pragma once

namespace harness {

// Empties the registries, the interface and the particles. A fresh engine
// (a new backend) has already freed what they pointed at.
void ForgetEarlierRuns();

}  // namespace harness
