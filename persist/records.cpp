#include "persist/records.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/fs.h"
#include "persist/profile.h"

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

// A time as the file keeps it: whole milliseconds, 0 for none.
int32_t Ms(double ms) {
    if (!(ms > 0)) return 0;
    return static_cast<int32_t>(std::min(std::round(ms), double{std::numeric_limits<int32_t>::max()}));
}

}  // namespace

std::optional<Records> Records_Parse(const std::string& text) {
    Records records;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find("\r\n", at);
        if (end == std::string::npos) return std::nullopt;   // a last line cut short
        const std::string_view line(text.data() + at, end - at);
        at = end + 2;
        const std::vector<std::string_view> words = Words(line);
        if (words.size() != 3 && words.size() != 4) return std::nullopt;
        const bool has_kind = words.size() == 4;
        const std::string_view track = words[0];
        if (track.empty() || track.size() > kMaxTrackName || (has_kind && !IsKindName(words[1]))) return std::nullopt;
        TrackRecord record;
        if (!ToMs(words[words.size() - 2], record.best_lap_ms) || !ToMs(words.back(), record.best_race_ms))
            return std::nullopt;
        const RecordKey key{std::string(track), has_kind ? std::string(words[1]) : std::string()};
        if (!records.emplace(key, record).second) return std::nullopt;
    }
    return records;
}

std::string Records_Encode(const Records& records) {
    std::string text;
    for (const auto& [key, record] : records)
        text += key.track + (key.kind.empty() ? "" : " " + key.kind) + " " + std::to_string(record.best_lap_ms) + " " +
                std::to_string(record.best_race_ms) + "\r\n";
    return text;
}

std::optional<Records> Records_Read(const std::string& profile) {
    if (!Profile_NameIsStorable(profile)) return std::nullopt;
    const std::string path = kRecordsFolder + profile;
    if (!Fs_IsFile(path) && !Fs_IsFolder(path)) return Records{};   // no race recorded yet
    const auto bytes = Fs_ReadFile(path);
    if (!bytes) return std::nullopt;
    return Records_Parse(std::string(bytes->begin(), bytes->end()));
}

bool Records_Write(const std::string& profile, const Records& records) {
    if (!Profile_NameIsStorable(profile)) return false;
    const std::string text = Records_Encode(records);
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
