// records.h: a player's best lap and best race time on each track, in a file
// of its own, "rec\" + the profile's name, beside (not in) the profiles.
//
// The file is text, one line per track with CR LF: the track's name, the
// best lap and the best race in milliseconds (0: none yet), one space apart:
// "beach1 35612 143812".
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

struct TrackRecord {
    int32_t best_lap_ms = 0;    // 0: none yet
    int32_t best_race_ms = 0;   // 0: none yet
};

using Records = std::map<std::string, TrackRecord>;   // by track name

// The records of a file's text; nothing when any line is damaged.
std::optional<Records> Records_Parse(const std::string& text);
// The file's text for the records.
std::string Records_Encode(const Records& records);

// The player's records; a missing, unreadable or damaged file gives none.
Records Records_Read(const std::string& profile);
// Writes the player's records whole, atomically; false when the name is not
// storable or the write fails (the old file stays as it was).
bool Records_Write(const std::string& profile, const Records& records);

// What a finished race did to a track's records.
struct RecordNews {
    bool lap = false;    // a new best lap
    bool race = false;   // a new best race time
};
// Takes a race's best lap and time (0 or less: none) into the track's record.
RecordNews Records_Take(Records& records, const std::string& track, double lap_ms, double race_ms);
