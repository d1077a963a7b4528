// loudness.h: comparing a rendering with a reference loudness envelope, as the
// shared XM folder's xmcheck.py and loudness.py do, with the same thresholds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// RMS of each channel per hop of frames (16-bit units, truncated to integers).
struct LoudnessEnvelope {
    std::vector<double> left;
    std::vector<double> right;
};

constexpr int kLoudnessHop = 240;        // frames per 5 ms hop at 48000 Hz

// The RMS hops of interleaved stereo 16-bit samples.
LoudnessEnvelope Loudness_Measure(const std::vector<int16_t>& stereo, int hop = kLoudnessHop);

// Reads a reference .env file: its frame count and its hops. False when the
// file cannot be read.
bool Loudness_ReadReference(const std::string& path, int64_t& frames, LoudnessEnvelope& env);

struct LoudnessComparison {
    double corr_left = 0.0;
    double corr_right = 0.0;
    double off6 = 0.0;              // share of 20 ms windows off by more than 6 dB
    double gain_offset_db = 0.0;
    bool has_lag = false;           // false when no 2 s stretch could be aligned
    double max_lag_ms = 0.0;
    double max_lag_at_s = 0.0;
};

LoudnessComparison Loudness_Compare(const LoudnessEnvelope& ref, const LoudnessEnvelope& ours);

// The verdict of xmcheck.py for a song ("song_" names use the song
// thresholds, others the test thresholds): the failed thresholds, one line
// each, empty when all hold. `summary` receives the figures.
std::vector<std::string> Loudness_Check(const std::string& name, int64_t ref_frames, const LoudnessEnvelope& ref,
                                        int64_t our_frames, const LoudnessEnvelope& ours, std::string& summary);
