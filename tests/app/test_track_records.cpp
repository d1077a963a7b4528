// The player's records per track and car kind: taken from a finished race and
// shown for the car kind chosen on the track screens.
#include <algorithm>

#include "app/track_records.h"
#include "persist/records.h"
#include "core/state.h"
#include "engine/record.h"
#include "tests/app/game_fixture.h"

namespace {

using namespace std::string_literals;

class TrackRecords : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        oe::UseRecordingBackend();
        oe::Recorder_Enable(true);
        player.name = "Alice";
    }

    // The record line drawn for `track` with car kind `kind`.
    std::string Shown(const std::string& track, int32_t kind) {
        player.car_kind = kind;
        oe::Recorder_Clear();
        DrawTrackRecord(track, 240, 372);
        const auto& calls = oe::Recorder_Calls();
        const auto text = std::find_if(calls.begin(), calls.end(), [](const auto& c) { return c.name == "Text_Draw"; });
        return text == calls.end() ? "" : text->text;
    }
};

// A finished race goes into its kind's line; every line already in the file
// stays (a damaged one after the records), and a file too large to be the
// game's is left as it was.
TEST_F(TrackRecords, ARaceIsKeptForItsCarKindAndNoLineIsLost) {
    const struct {
        const char* name;
        std::string before;
        int32_t kind;
        bool new_best;
        std::string after;
    } cases[] = {
        {"FirstRecord", "", 2, true, "beach1 tank 35000 140000\r\n"},
        {"OldLineKept", "beach1 30000 120000\r\n", 0, true, "beach1 30000 120000\r\nbeach1 jeep 35000 140000\r\n"},
        {"OtherKindKept", "beach1 car 30000 120000\r\n", 3, true,
         "beach1 car 30000 120000\r\nbeach1 turbo 35000 140000\r\n"},
        {"SlowerThanItsKind", "beach1 jeep 30000 120000\r\n", 0, false, "beach1 jeep 30000 120000\r\n"},
        {"DamagedLineKept", "beach1 jeep 30000\r\nicy2 jeep 31000 130000\r\n", 0, true,
         "beach1 jeep 35000 140000\r\nicy2 jeep 31000 130000\r\nbeach1 jeep 30000\r\n"},
        {"TooLargeLeftAlone", std::string(RECORDS_MAX_BYTES + 1, 'x'), 0, false, std::string(RECORDS_MAX_BYTES + 1, 'x')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir_ / "rec");
        if (!c.before.empty()) WriteFile("rec/Alice", c.before);
        race.track = "beach1";
        race.best_lap_ms = 35000;
        race.race_ms = 140000;
        player.car_kind = c.kind;
        TrackRecords_TakeRace();
        EXPECT_EQ(race.new_best_race, c.new_best);
        EXPECT_EQ(Read("rec/Alice"), c.after);
    }
}

// The track screens show the chosen kind's record, else the one kept from
// before records knew the car.
TEST_F(TrackRecords, TheScreensShowTheChosenKindsRecord) {
    WriteFile("rec/Alice", "beach1 30000 120000\r\nbeach1 tank 41500 170000\r\nicy2 jeep 0 90000\r\n");
    EXPECT_EQ(Shown("beach1", 2), "tank: best lap 0:41.5   best race 2:50.0");
    EXPECT_EQ(Shown("beach1", 0), "Any car: best lap 0:30.0   best race 2:00.0");
    EXPECT_EQ(Shown("icy2", 0), "jeep: best lap -:--.-   best race 1:30.0");
    EXPECT_EQ(Shown("icy2", 1), "No car record on this track yet");
    const std::pair<std::string, std::string> files[] = {
        {"beach1 tank 41500\r\nbeach1 jeep 1 2\r\nbeach1 30000 120000\r\n", "Any car: best lap 0:30.0   best race 2:00.0"},
        {std::string(RECORDS_MAX_BYTES + 1, 'x'), "The records file cannot be read"},
    };
    for (const auto& [file, shown] : files) {
        WriteFile("rec/Alice", file);
        player.name = "Bob";   // read again on a change of profile
        Shown("beach1", 2);
        player.name = "Alice";
        EXPECT_EQ(Shown("beach1", 2), shown);
    }
}

}  // namespace
