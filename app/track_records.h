// track_records.h: the player's records on the tracks: taken from a finished
// race into the profile's records file, and shown on the track screens.
#pragma once

#include <string>

// After the player's car finished: its best lap and race time go into the
// profile's records for the track raced with the kind of car raced; what they
// beat is noted in the race state for the result panel. A failed write, or a
// damaged file left as it is, is told at the foot of the screen.
void TrackRecords_TakeRace();

// "jeep: best lap 0:35.6   best race 2:23.8" for the profile on the track
// with the car kind chosen (else the record from before records knew the car),
// centred under the track's picture at x; the file is read again only when
// the profile, the track or the kind changes, or after a race.
void DrawTrackRecord(const std::string& track, float x, float y);
