#include "app/track_records.h"

#include <algorithm>
#include <optional>

#include "core/notice.h"
#include "core/state.h"
#include "engine/fs.h"
#include "engine/oe.h"
#include "persist/records.h"
#include "world/standings.h"
#include "world/world.h"

namespace {

constexpr float kTextScale = 0.8f;

// The records last read, and for whom.
struct Shown {
    std::string profile;
    RecordKey key;
    bool valid = false;
    std::string text;
};

Shown& LastShown() {
    static Shown shown;
    return shown;
}

// The kind of car the player chose, as records name it.
const std::string& ChosenKind() { return car_kind_names[std::clamp(player.car_kind, 0, static_cast<int32_t>(car_kind_names.size()) - 1)]; }

std::string Times(const TrackRecord& record) {
    return "best lap " + Race_FormatTime(record.best_lap_ms > 0 ? record.best_lap_ms : -1) + "   best race " +
           Race_FormatTime(record.best_race_ms > 0 ? record.best_race_ms : -1);
}

// The kind's own record, else the one kept from before records knew the car.
std::string RecordText(const RecordKey& key) {
    const std::optional<RecordsFile> file = Records_Read(player.name);
    if (!file) return "The records file cannot be read";
    const Records* records = &file->records;
    if (const auto own = records->find(key); own != records->end()) return key.kind + ": " + Times(own->second);
    if (const auto old = records->find({key.track, ""}); old != records->end())
        return "Any car: " + Times(old->second);
    return "No " + key.kind + " record on this track yet";
}

}  // namespace

void TrackRecords_TakeRace() {
    if (race.race_ms < 0 || player.name.empty()) return;
    // Another game on the profile may be taking a race of its own.
    const Fs_Lock lock("rec\\.korvamo-lock");
    std::optional<RecordsFile> records = Records_Read(player.name);
    race.new_best_lap = race.new_best_race = false;
    if (!records) {
        Notice_Post("The records file cannot be read: this race's times were not kept");
        return;
    }
    if (!records->unread.empty())
        Notice_Post(std::to_string(records->unread.size()) +
                    " lines of the records file could not be read; they are kept as they were");
    const RecordNews news = Records_Take(records->records, {race.track, ChosenKind()}, race.best_lap_ms, race.race_ms);
    race.new_best_lap = news.lap;
    race.new_best_race = news.race;
    LastShown().valid = false;
    if ((news.lap || news.race) && !Records_Write(player.name, *records)) Notice_Failure("Could not save the records");
}

void DrawTrackRecord(const std::string& track, float x, float y) {
    Shown& shown = LastShown();
    const RecordKey key{track, ChosenKind()};
    if (!shown.valid || shown.profile != player.name || shown.key != key)
        shown = {player.name, key, true, RecordText(key)};
    const std::string& text = shown.text;
    const int w = Text_GetWidth(game.main_font, text, kTextScale, 0);
    Text_Draw(game.main_font, x - w / 2.0f + 2, y + 2, text, kTextScale, 0, 255, 0x022000);
    Text_Draw(game.main_font, x - w / 2.0f, y, text, kTextScale, 0, 255, 0xFFFF99);
}
