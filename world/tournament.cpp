#include "world/tournament.h"

const std::array<const char*, TOURNAMENT_TRACKS> track_files = {
    "beach1",  "beach2",  "beach1r",  "beach2r",  "forest1", "forest2", "forest1r", "forest2r",
    "icy1",    "icy2",    "icy1r",    "icy2r",    "city1",   "city2",   "city1r",   "city2r",
};

const std::array<const char*, TRACK_GROUPS> group_texts = {
    "These are your first tracks, so you have to finish them first!",
    "Forestville is a beautiful forest with wonderful trees and flowers.",
    "Ice Land is a very cold place...",
    "These are the final tracks! The Cup is almost yours.",
};

bool Tournament_CarUnlocked(int32_t progress, int32_t kind) { return kind <= progress / TRACKS_PER_GROUP; }

bool Tournament_TrackUnlocked(int32_t progress, int32_t track) { return track <= progress; }
