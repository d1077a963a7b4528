// records.h: a player's best lap and best race time on each track with each
// car kind, in a file of its own, "rec\" + the profile's name, beside (not in)
// the profiles.
//
// The file is text, one line per track and car kind with CR LF: the track's
// name, the car kind, the best lap and the best race in milliseconds (0: none
// yet), one space apart: "beach1 jeep 35612 143812". Lines written before
// records knew the car ("beach1 35612 143812") are kept as they are, for any
// kind of car.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

struct TrackRecord {
    int32_t best_lap_ms = 0;    // 0: none yet
    int32_t best_race_ms = 0;   // 0: none yet
    bool operator==(const TrackRecord&) const = default;
};

// A record's track and car kind; the kind is empty for a line from before
// records knew the car, which stands for any kind.
struct RecordKey {
    std::string track;
    std::string kind;
    auto operator<=>(const RecordKey&) const = default;
};

using Records = std::map<RecordKey, TrackRecord>;

// The records of a file's text, one for every line; nothing when any line is
// damaged or names a track and kind twice.
std::optional<Records> Records_Parse(const std::string& text);
// The file's text for the records: old lines in their old form.
std::string Records_Encode(const Records& records);

// The player's records: none for a missing file, nothing for an unreadable
// or damaged one (which must then not be written over).
std::optional<Records> Records_Read(const std::string& profile);
// Writes the player's records whole, atomically; false when the name is not
// storable or the write fails (the old file stays as it was).
bool Records_Write(const std::string& profile, const Records& records);

// What a finished race did to a track's records.
struct RecordNews {
    bool lap = false;    // a new best lap
    bool race = false;   // a new best race time
};
// Takes a race's best lap and time (0 or less: none) into the record of the
// track and car kind.
RecordNews Records_Take(Records& records, const RecordKey& key, double lap_ms, double race_ms);
