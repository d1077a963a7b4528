#include "app/track_records.h"

#include "core/notice.h"
#include "core/state.h"
#include "engine/oe.h"
#include "persist/records.h"
#include "world/standings.h"

namespace {

constexpr float kTextScale = 0.8f;

// The records last read, and for whom.
struct Shown {
    std::string profile;
    std::string track;
    bool valid = false;
    TrackRecord record;
};

Shown& LastShown() {
    static Shown shown;
    return shown;
}

}  // namespace

void TrackRecords_TakeRace() {
    if (race.race_ms < 0 || player.name.empty()) return;
    Records records = Records_Read(player.name);
    const RecordNews news = Records_Take(records, race.track, race.best_lap_ms, race.race_ms);
    race.new_best_lap = news.lap;
    race.new_best_race = news.race;
    LastShown().valid = false;
    if ((news.lap || news.race) && !Records_Write(player.name, records)) Notice_Failure("Could not save the records");
}

void DrawTrackRecord(const std::string& track, float x, float y) {
    Shown& shown = LastShown();
    if (!shown.valid || shown.profile != player.name || shown.track != track) {
        const Records records = Records_Read(player.name);
        const auto it = records.find(track);
        shown = {player.name, track, true, it == records.end() ? TrackRecord{} : it->second};
    }
    const std::string text =
        shown.record.best_race_ms > 0 || shown.record.best_lap_ms > 0
            ? "Best lap " + Race_FormatTime(shown.record.best_lap_ms > 0 ? shown.record.best_lap_ms : -1) +
                  "   Best race " + Race_FormatTime(shown.record.best_race_ms > 0 ? shown.record.best_race_ms : -1)
            : std::string("No record on this track yet");
    const int w = Text_GetWidth(game.main_font, text, kTextScale, 0);
    Text_Draw(game.main_font, x - w / 2.0f + 2, y + 2, text, kTextScale, 0, 255, 0x022000);
    Text_Draw(game.main_font, x - w / 2.0f, y, text, kTextScale, 0, 255, 0xFFFF99);
}
