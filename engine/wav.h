// wav.h: WAV files decoded into the mixer's sample format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace oe {

// Decoded sound: float samples in -1..1 at the file's own rate, one or two
// channels interleaved (files with more channels are folded down to stereo).
struct WavSound {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples;
    size_t Frames() const { return channels > 0 ? samples.size() / channels : 0; }
};

// Rates outside this range are taken for a broken header.
constexpr int kWavMinRate = 1000;
constexpr int kWavMaxRate = 384000;
// Longest sound accepted (about six minutes at 44100 Hz); keeps a lying
// header from costing gigabytes.
constexpr size_t kWavMaxFrames = size_t{1} << 24;

// Decodes a whole WAV file held in memory. Anything truncated, corrupt,
// empty, of an unknown encoding or with absurd header values gives nothing.
std::optional<WavSound> Wav_Decode(const uint8_t* data, size_t size);

// Reads and decodes a file named as the game names it ("sfx\click.wav").
std::optional<WavSound> Wav_LoadFile(const std::string& path);

}  // namespace oe
