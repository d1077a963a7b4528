// profile.h: the player's profile "prf\" + name: tournament progress and score.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The sixteen tournament tracks in order; the map of a track is "wld\" + name + ".wld".
extern const std::array<const char*, 16> track_files;
// The tournament screen's text for each group of four tracks.
extern const std::array<const char*, 4> group_texts;

// True when a name can become a file in "prf\": 1 to 64 bytes, no "/" or "\",
// not "." or "..", no control characters.
bool Profile_NameIsStorable(std::string_view name);

// The profile file of player_name, "prf\" + player_name.
std::string Profile_Path();

// Writes progress and score to the profile of player_name; false if it cannot be written.
bool Profile_Save();

// Reads progress and score from the profile of player_name. A missing file gives 0 and 0,
// a score that is not a number 0, a progress above 16 is clamped to 16.
void Profile_Load();

// Writes a new profile for player_name (progress 0, no score line); the values in
// memory are left alone. False if the name is not storable or the write fails.
bool Profile_Create();

// Car kind k is open while k <= progress / 4; free-race track t while t <= progress.
bool Profile_CarUnlocked(int kind);
bool Profile_TrackUnlocked(int track);
