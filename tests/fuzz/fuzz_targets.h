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

// Reads the bytes as "main.cfg", as a profile file and as a records file; true
// when the values are in range and what was read survives a write and a re-read.
bool Fuzz_Persist(const uint8_t* data, size_t size);

// Decodes the bytes as a TGA or JPG image; true when the result is empty or its
// pixels match its size within the side limit.
bool Fuzz_Image(const uint8_t* data, size_t size);

// Decodes the bytes as a WAV file; true when the result is nothing or a sound with
// one or two channels, a sane rate, at most the frame limit and samples in -1..1.
bool Fuzz_Wav(const uint8_t* data, size_t size);

// Parses the bytes as font metrics and lays out text with them; true when every
// glyph lies inside the atlas and the layout stays finite.
bool Fuzz_FontMetrics(const uint8_t* data, size_t size);

// Reads the bytes as a name list; true when the list fits its capacity and each
// name is one line of the text, in order.
bool Fuzz_NameList(const uint8_t* data, size_t size);
