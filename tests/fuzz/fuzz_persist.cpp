// The settings, profile and records readers on arbitrary bytes.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "persist/file_formats.h"
#include "persist/records.h"
#include "tests/fuzz/fuzz_targets.h"

namespace {

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

bool IsLineBreak(uint8_t flag) { return flag == '\r' || flag == '\n'; }

}  // namespace

bool Fuzz_Persist(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);

    const tsettings settings = Settings_Decode(bytes);
    if (HasLineBreak(settings.country) || HasLineBreak(settings.player_name)) return false;
    if (settings.player_name.size() > PROFILE_NAME_MAX_BYTES || settings.country.size() > SETTINGS_COUNTRY_MAX_BYTES)
        return false;
    // A flag that is itself a line break cannot come back whole; the game never writes one.
    if (!IsLineBreak(settings.windowed) && !IsLineBreak(settings.music_off) && !IsLineBreak(settings.ambient_off)) {
        const tsettings again = Settings_Decode(Settings_Encode(settings));
        if (again.windowed != settings.windowed || again.music_off != settings.music_off ||
            again.ambient_off != settings.ambient_off || again.country != settings.country ||
            again.player_name != settings.player_name)
            return false;
    }

    const tprofile profile = Profile_Decode(bytes);
    if (profile.progress < 0 || profile.progress > PROGRESS_CUP_WON) return false;
    const tprofile again = Profile_Decode(Profile_Encode(profile));
    if (again.progress != profile.progress || again.score != profile.score) return false;

    // Records: every line is a possible record or kept unread, and a write
    // and a re-read give the same back.
    const std::string text(bytes.begin(), bytes.end());
    const RecordsFile records = Records_Parse(text);
    for (const auto& [key, record] : records.records)
        if (key.track.empty() || record.best_lap_ms < 0 || record.best_race_ms < 0 ||
            (record.best_lap_ms != 0 && record.best_lap_ms < RECORD_MIN_LAP_MS))
            return false;
    size_t lines = 0;
    for (size_t at = 0; at < text.size(); ++lines) at = std::min(text.find("\r\n", at), text.size()) + 2;
    if (lines != records.records.size() + records.unread.size()) return false;
    return Records_Parse(Records_Encode(records)) == records;
}

#ifdef KORVAMO_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Fuzz_Persist(data, size)) std::abort();
    return 0;
}
#endif
