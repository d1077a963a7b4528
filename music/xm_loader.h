// xm_loader.h: reading an XM song into its private arena.
#pragma once

#include <string>

#include "music/arena.h"
#include "music/song.h"
#include "music/source.h"

// Reads the whole song from `source` into `arena` and prepares `song` to render
// from order 0, row 0, with the first render starting on a tick. False when the
// data is rejected (no "Extended Module: " signature, a version other than
// 1.04, song length not 1..256, no patterns, channel count not 1..64, a stored
// pattern of 0 or more than 256 rows, an instrument with more than 16 samples
// or sample headers of 41 bytes or more, a sample of 4194304 frames or more)
// or an allocation fails, with the reason in `why` when given; the arena then
// holds whatever was allocated and the caller frees it. Every read stays
// inside the source: bytes past its end read as zeros.
bool Song_Load(TSong& song, ByteSource& source, TArena& arena, std::string* why = nullptr);
