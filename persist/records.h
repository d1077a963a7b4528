// records.h: a player's best lap and best race time on each track with each
// car kind, in a file of its own, "rec\" + the profile's name, beside (not in)
// the profiles.
//
// The file is text, one line per track and car kind with CR LF: the track's
// name, the car kind, the best lap and the best race in milliseconds (0: none
// yet), one space apart: "beach1 jeep 35612 143812". Lines written before
// records knew the car ("beach1 35612 143812") are kept as they are, for any
// kind of car. A line that cannot be read (damaged, impossible or a track and
// kind named twice) is kept as it is and written back after the records, so
// nothing the game did not understand is ever lost.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

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

// A records file as read: the records of its good lines, and every other line
// as it was (without its line break).
struct RecordsFile {
    Records records;
    std::vector<std::string> unread;
    bool operator==(const RecordsFile&) const = default;
};

// The file holds at most this many bytes; a larger one is not read (nor
// written over): a player's records come nowhere near it.
constexpr size_t RECORDS_MAX_BYTES = 1024 * 1024;
// No lap is faster than this; a record that says so is impossible.
constexpr int32_t RECORD_MIN_LAP_MS = 1000;

// The records of a file's text, one for every good line; the other lines,
// a last line cut short among them, go to `unread`.
RecordsFile Records_Parse(const std::string& text);
// The file's text: the records (old lines in their old form), then the
// unread lines as they were.
std::string Records_Encode(const RecordsFile& file);

// The player's records: none for a missing file, nothing for one that cannot
// be read or is larger than RECORDS_MAX_BYTES (which must then not be written over).
std::optional<RecordsFile> Records_Read(const std::string& profile);
// Writes the player's records whole, atomically; false when the name is not
// storable or the write fails (the old file stays as it was).
bool Records_Write(const std::string& profile, const RecordsFile& file);

// What a finished race did to a track's records.
struct RecordNews {
    bool lap = false;    // a new best lap
    bool race = false;   // a new best race time
};
// Takes a race's best lap and time (0 or less: none) into the record of the
// track and car kind.
RecordNews Records_Take(Records& records, const RecordKey& key, double lap_ms, double race_ms);
