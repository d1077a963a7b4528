// track_records.h: the player's records on the tracks: taken from a finished
// race into the profile's records file, and shown on the track screens.
#pragma once

#include <string>

// After the player's car finished: its best lap and race time go into the
// profile's records for the track raced; what they beat is noted in the race
// state for the result panel. A failed write is told at the foot of the screen.
void TrackRecords_TakeRace();

// "Best lap 0:35.6   Best race 2:23.8" for the profile on the track, centred
// under the track's picture at x; the file is read again only when the
// profile or the track changes, or after a race.
void DrawTrackRecord(const std::string& track, float x, float y);
