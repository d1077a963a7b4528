#include "persist/records.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/fs.h"
#include "persist/profile.h"

namespace {

constexpr const char* kRecordsFolder = "rec\\";
constexpr size_t kMaxTrackName = 64;

bool ToMs(std::string_view word, int32_t& value) {
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && value >= 0;
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
        const size_t a = line.find(' '), b = line.rfind(' ');
        if (a == std::string_view::npos || a == b || a == 0 || a > kMaxTrackName) return std::nullopt;
        TrackRecord record;
        if (!ToMs(line.substr(a + 1, b - a - 1), record.best_lap_ms) || !ToMs(line.substr(b + 1), record.best_race_ms))
            return std::nullopt;
        records[std::string(line.substr(0, a))] = record;
    }
    return records;
}

std::string Records_Encode(const Records& records) {
    std::string text;
    for (const auto& [track, record] : records)
        text += track + " " + std::to_string(record.best_lap_ms) + " " + std::to_string(record.best_race_ms) + "\r\n";
    return text;
}

Records Records_Read(const std::string& profile) {
    if (!Profile_NameIsStorable(profile)) return {};
    const auto bytes = Fs_ReadFile(kRecordsFolder + profile);
    if (!bytes) return {};
    return Records_Parse(std::string(bytes->begin(), bytes->end())).value_or(Records{});
}

bool Records_Write(const std::string& profile, const Records& records) {
    if (!Profile_NameIsStorable(profile)) return false;
    const std::string text = Records_Encode(records);
    return Fs_MakeFolder(kRecordsFolder) &&
           Fs_WriteFileAtomic(kRecordsFolder + profile, std::vector<uint8_t>(text.begin(), text.end()));
}

RecordNews Records_Take(Records& records, const std::string& track, double lap_ms, double race_ms) {
    TrackRecord& record = records[track];
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
