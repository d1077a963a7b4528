// reference_songs.h: the shared XM folder's songs, the player's renders of
// them, the songs it renders differently from the established player on
// purpose, and the envelopes of its own earlier renders of those, which catch
// a change that moves such a render.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/music/loudness.h"

// The shared folder beside the clone, and where the regression envelopes live.
std::filesystem::path ReferenceSongs_Folder();
std::filesystem::path ReferenceSongs_EnvelopeFolder();

// Every song of the folder that has a reference envelope, sorted.
std::vector<std::string> ReferenceSongs_Names();

// Songs where this player follows its own rules on purpose, and why.
const std::map<std::string, std::string>& ReferenceSongs_Deviations();

// The song through the player's blocks at full volume, until it ends (the
// order list played once, no looping) or `limit` frames. Empty, with the
// loader's reason in `refused`, when the loader rejects it.
std::vector<int16_t> ReferenceSongs_Render(const std::string& name, int64_t limit, std::string& refused);

// The render's own envelope in 20 ms hops (960 frames), kept to check later
// renders against.
struct OwnEnvelope {
    int64_t frames = 0;
    LoudnessEnvelope hops;
};
constexpr int kOwnEnvelopeHop = 960;
OwnEnvelope OwnEnvelope_Measure(const std::vector<int16_t>& stereo);
bool OwnEnvelope_Write(const std::string& path, const std::string& song, const OwnEnvelope& env);
bool OwnEnvelope_Read(const std::string& path, OwnEnvelope& env);
// Empty when `now` matches `before` (same length, every hop within 2 units or
// 0.5 %); otherwise where and how it moved.
std::string OwnEnvelope_Difference(const OwnEnvelope& before, const OwnEnvelope& now);
