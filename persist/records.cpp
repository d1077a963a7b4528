#include "persist/records.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/fs.h"
#include "persist/profile.h"
#include "world/tuning.h"

namespace {

constexpr const char* kRecordsFolder = "rec\\";
constexpr size_t kMaxTrackName = 64;
constexpr size_t kMaxKindName = 16;

bool ToMs(std::string_view word, int32_t& value) {
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && value >= 0;
}

// A car kind's name: a lower-case letter, then letters, digits or '_', so a
// kind can never be taken for a time.
bool IsKindName(std::string_view word) {
    if (word.empty() || word.size() > kMaxKindName || word[0] < 'a' || word[0] > 'z') return false;
    return std::all_of(word.begin(), word.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'; });
}

// The words of a line, split at single spaces; an empty word marks a
// doubled, leading or trailing space.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    for (size_t at = 0;;) {
        const size_t space = line.find(' ', at);
        words.push_back(line.substr(at, space == std::string_view::npos ? std::string_view::npos : space - at));
        if (space == std::string_view::npos) return words;
        at = space + 1;
    }
}

// A record that could have been driven: a name like a profile's (no NUL or
// other control character), no lap under RECORD_MIN_LAP_MS, and a race at
// least RACE_LAPS of its best lap long.
bool Possible(std::string_view track, const TrackRecord& r) {
    if (!Profile_NameIsStorable(track)) return false;
    if (r.best_lap_ms != 0 && r.best_lap_ms < RECORD_MIN_LAP_MS) return false;
    if (r.best_race_ms != 0 && r.best_race_ms < RECORD_MIN_LAP_MS * RACE_LAPS) return false;
    return r.best_lap_ms == 0 || r.best_race_ms == 0 || int64_t{r.best_race_ms} >= int64_t{r.best_lap_ms} * RACE_LAPS;
}

// The record of one line, or nothing when the line is damaged or impossible.
std::optional<std::pair<RecordKey, TrackRecord>> RecordOfLine(std::string_view line) {
    const std::vector<std::string_view> words = Words(line);
    if (words.size() != 3 && words.size() != 4) return std::nullopt;
    const bool has_kind = words.size() == 4;
    const std::string_view track = words[0];
    if (track.size() > kMaxTrackName || (has_kind && !IsKindName(words[1]))) return std::nullopt;
    TrackRecord record;
    if (!ToMs(words[words.size() - 2], record.best_lap_ms) || !ToMs(words.back(), record.best_race_ms) ||
        !Possible(track, record))
        return std::nullopt;
    return std::pair{RecordKey{std::string(track), has_kind ? std::string(words[1]) : std::string()}, record};
}

// A time as the file keeps it: whole milliseconds, 0 for none.
int32_t Ms(double ms) {
    if (!(ms > 0)) return 0;
    return static_cast<int32_t>(std::min(std::round(ms), double{std::numeric_limits<int32_t>::max()}));
}

}  // namespace

RecordsFile Records_Parse(const std::string& text) {
    RecordsFile file;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find("\r\n", at), text.size());
        const std::string_view line(text.data() + at, end - at);
        at = end + 2;
        const std::optional<std::pair<RecordKey, TrackRecord>> record = RecordOfLine(line);
        if (!record || !file.records.insert(*record).second) file.unread.emplace_back(line);
    }
    return file;
}

std::string Records_Encode(const RecordsFile& file) {
    std::string text;
    for (const auto& [key, record] : file.records)
        text += key.track + (key.kind.empty() ? "" : " " + key.kind) + " " + std::to_string(record.best_lap_ms) + " " +
                std::to_string(record.best_race_ms) + "\r\n";
    for (const std::string& line : file.unread) text += line + "\r\n";
    return text;
}

std::optional<RecordsFile> Records_Read(const std::string& profile) {
    if (!Profile_NameIsStorable(profile)) return std::nullopt;
    const std::string path = kRecordsFolder + profile;
    if (!Fs_IsFile(path) && !Fs_IsFolder(path)) return RecordsFile{};   // no race recorded yet
    const auto bytes = Fs_ReadFile(path, RECORDS_MAX_BYTES);
    if (!bytes) return std::nullopt;
    return Records_Parse(std::string(bytes->begin(), bytes->end()));
}

bool Records_Write(const std::string& profile, const RecordsFile& file) {
    if (!Profile_NameIsStorable(profile)) return false;
    const std::string text = Records_Encode(file);
    return Fs_MakeFolder(kRecordsFolder) &&
           Fs_WriteFileAtomic(kRecordsFolder + profile, std::vector<uint8_t>(text.begin(), text.end()));
}

RecordNews Records_Take(Records& records, const RecordKey& key, double lap_ms, double race_ms) {
    TrackRecord& record = records[key];
    RecordNews news;
    const int32_t lap = Ms(lap_ms), race = Ms(race_ms);
    if (lap > 0 && (record.best_lap_ms == 0 || lap < record.best_lap_ms)) {
        record.best_lap_ms = lap;
        news.lap = true;
    }
    if (race > 0 && (record.best_race_ms == 0 || race < record.best_race_ms)) {
        record.best_race_ms = race;
        news.race = true;
    }
    return news;
}
