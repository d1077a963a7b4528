// player_profile.h: the player's standing (progress and score) and the
// player's profile file, kept in step by name.
#pragma once

#include <cstdint>

#include "assets/texbase.h"

// Writes progress and score to the profile of player.name; false if it cannot
// be written. Another game on the same profile may have saved since this one
// read it: its progress and points are kept (the further progress of the two,
// both games' points), and the player's standing becomes what was written.
bool Profile_Save();

// Reads progress and score from the profile of player.name. A missing file gives 0 and 0,
// a score that is not a number 0, a progress above 16 is clamped to 16.
void Profile_Load();

// Writes a new profile for player.name (progress 0, no score line); the values in
// memory are left alone. False if the name is not storable or the write fails.
bool Profile_Create();

// The profiles in "prf\" whose names a player could have typed, sorted.
TF_list Profile_List();

// What the player's progress has opened: car kind k while k <= progress / 4,
// free-race track t while t <= progress.
bool Profile_CarUnlocked(int32_t kind);
bool Profile_TrackUnlocked(int32_t track);
