#include "world/tournament.h"

#include <algorithm>

const std::array<const char*, TOURNAMENT_TRACKS> track_files = {
    "beach1",  "beach2",  "beach1r",  "beach2r",  "forest1", "forest2", "forest1r", "forest2r",
    "icy1",    "icy2",    "icy1r",    "icy2r",    "city1",   "city2",   "city1r",   "city2r",
};

const std::array<const char*, TOURNAMENT_TRACKS> track_names = {
    "Sandy Bay",   "Palm Coast",   "Sandy Bay Reversed",   "Palm Coast Reversed",
    "Pine Hollow", "Fern Valley",  "Pine Hollow Reversed", "Fern Valley Reversed",
    "Frost Ring",  "Glacier Pass", "Frost Ring Reversed",  "Glacier Pass Reversed",
    "Harbour Loop", "Old Town",    "Harbour Loop Reversed", "Old Town Reversed",
};

std::string Tournament_TrackPicture(int32_t track) {
    return std::string("tr_") + track_files[static_cast<size_t>(std::clamp(track, 0, TOURNAMENT_TRACKS - 1))];
}

const std::array<const char*, TRACK_GROUPS> group_texts = {
    "These are your first tracks, so you have to finish them first!",
    "Forestville is a beautiful forest with wonderful trees and flowers.",
    "Ice Land is a very cold place...",
    "These are the final tracks! The Cup is almost yours.",
};

bool Tournament_CarUnlocked(int32_t progress, int32_t kind) { return kind <= progress / TRACKS_PER_GROUP; }

bool Tournament_TrackUnlocked(int32_t progress, int32_t track) { return track <= progress; }
