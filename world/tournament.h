// tournament.h: the tournament's shape: sixteen tracks in four groups of four,
// the cup won with the sixteenth, a car kind opened by every fourth win.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int32_t TOURNAMENT_TRACKS = 16;
constexpr int32_t TRACKS_PER_GROUP = 4;   // one theme each; also the wins that open the next car
constexpr int32_t TRACK_GROUPS = TOURNAMENT_TRACKS / TRACKS_PER_GROUP;
constexpr int32_t PROGRESS_CUP_WON = TOURNAMENT_TRACKS;   // progress once every track is won

// The tracks in tournament order; the map of a track is "wld\" + name + ".wld".
extern const std::array<const char*, TOURNAMENT_TRACKS> track_files;
// The tracks' names as the screens show them, in the order of track_files.
extern const std::array<const char*, TOURNAMENT_TRACKS> track_names;
// The share picture of track `track` of track_files, seen whole from above:
// "tr_" + its file name ("tr_beach1r"); the build renders one for every track.
std::string Tournament_TrackPicture(int32_t track);
// The tournament screen's text for each group of tracks.
extern const std::array<const char*, TRACK_GROUPS> group_texts;

// With `progress` tracks won: car kind k is open while k <= progress / 4, the
// free race's track t while t <= progress.
bool Tournament_CarUnlocked(int32_t progress, int32_t kind);
bool Tournament_TrackUnlocked(int32_t progress, int32_t track);
