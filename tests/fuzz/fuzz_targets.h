// fuzz_targets.h: the bodies of the fuzz targets, shared by the libFuzzer
// entries and the tests that replay their seed files.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads the bytes as a map file; true when the reader kept its promises (the
// counts within the arrays, and what it kept survives a save and a re-read).
bool Fuzz_MapFile(const uint8_t* data, size_t size);

// Loads the bytes as an XM song and renders a few blocks of it; true when the
// player kept its promises (counts and loops within range, finite output, no
// more frames than asked for).
bool Fuzz_Xm(const uint8_t* data, size_t size);
