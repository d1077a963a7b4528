// A player's best laps and race times per track and car kind, in "rec\" + the
// profile's name.
#include <filesystem>

#include "engine/fs.h"
#include "persist/records.h"
#include "tests/persist/persist_fixture.h"

using namespace std::string_literals;

using RecordsFile = PersistTest;

TEST_F(RecordsFile, WrittenRecordsReadBackAndLeaveTheProfileAlone) {
    WriteBytes("prf/Aino", "\x02\r\n100\r\n"s);
    Records records;
    records[{"beach1", "jeep"}] = {35612, 143812};
    records[{"beach1", "tank"}] = {41000, 170000};
    records[{"icy2r", "turbo"}] = {31000, 0};
    ASSERT_TRUE(Records_Write("Aino", records));
    EXPECT_EQ(ReadBytes("rec/Aino"), "beach1 jeep 35612 143812\r\nbeach1 tank 41000 170000\r\nicy2r turbo 31000 0\r\n"s);
    const auto back = Records_Read("Aino");
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, records);
    EXPECT_EQ(ReadBytes("prf/Aino"), "\x02\r\n100\r\n"s);
    EXPECT_EQ(Records_Read("Nobody"), Records{});
}

// A file from before records knew the car keeps every line: the old ones for
// any kind, written back byte for byte beside the new.
TEST_F(RecordsFile, OldLinesStayForAnyKindBesideTheNewOnes) {
    const std::string old_file = "beach1 35612 143812\r\nicy2r 31000 0\r\n";
    std::filesystem::create_directories("rec");
    WriteBytes("rec/Aino", old_file);
    auto records = Records_Read("Aino");
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->at({"beach1", ""}).best_race_ms, 143812);
    const RecordNews news = Records_Take(*records, {"beach1", "jeep"}, 36000, 150000);
    EXPECT_TRUE(news.lap && news.race);   // the jeep's first, whatever any car did before
    ASSERT_TRUE(Records_Write("Aino", *records));
    EXPECT_EQ(ReadBytes("rec/Aino"), "beach1 35612 143812\r\nbeach1 jeep 36000 150000\r\nicy2r 31000 0\r\n"s);
}

TEST_F(RecordsFile, DamagedFilesGiveNoRecords) {
    const std::string damaged[] = {
        "beach1 35612 143812",              // the last line cut short
        "beach1 35612\r\n",                 // a time missing
        "beach1 jeep 35612\r\n",            // a kind and one time
        "beach1 jeep 35612 1 2\r\n",        // a time too many
        "beach1 Jeep 35612 143812\r\n",     // a kind not in lower case
        "beach1 4wd 35612 143812\r\n",      // a kind that reads as a number
        "beach1 jeep-2 35612 143812\r\n",   // a kind with a sign in it
        "beach1 averyveryverylongkind 1 2\r\n",
        "beach1 jeep  35612 143812\r\n",    // two spaces after the kind
        "beach1 jeep 35612 143812 \r\n",    // a space at the end
        "beach1 jeep 1 2\r\nbeach1 jeep 3 4\r\n",   // one track and kind twice
        "beach1 1 2\r\nbeach1 3 4\r\n",             // an old line twice
        "beach1 -1 143812\r\n",             // below zero
        "beach1 35612 1438x2\r\n",          // not a number
        "beach1 35612 99999999999\r\n",     // too large
        " 35612 143812\r\n",                // no track
        "beach1  35612 143812\r\n",         // two spaces
        "\xff\xfe\x00\x01"s,                // not text
    };
    std::filesystem::create_directories("rec");
    WriteBytes("rec/Aino", "beach1 35612 143812\r\nbeach1 jeep 1 2\r\nbeach1 car 1 2\r\n");
    ASSERT_EQ(Records_Read("Aino").value_or(Records{}).size(), 3u);   // the same file undamaged
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text);
        WriteBytes("rec/Aino", text);
        EXPECT_FALSE(Records_Read("Aino").has_value());
    }
    EXPECT_TRUE(Records_Parse("").has_value());   // an empty file: no records yet
}

TEST_F(RecordsFile, FailedOrInterruptedWritesKeepTheOldRecords) {
    Records records;
    records[{"beach1", "jeep"}] = {35612, 143812};
    ASSERT_TRUE(Records_Write("Aino", records));
    records[{"beach1", "jeep"}] = {30000, 120000};
    for (const FsFault fault : {FsFault::Write, FsFault::BeforeRename}) {
        Fs_InjectFault(fault);
        EXPECT_FALSE(Records_Write("Aino", records));
        EXPECT_EQ(ReadBytes("rec/Aino"), "beach1 jeep 35612 143812\r\n"s);
    }
    Fs_InjectFault(FsFault::None);
    EXPECT_FALSE(Records_Write("../Aino", records));
}

// Each kind keeps its own bests: a tank's slow race is still the tank's best.
TEST(Records, ARaceImprovesOnlyWhatItBeatWithItsKind) {
    Records records;
    const struct {
        const char* kind;
        double lap, race;
        bool new_lap, new_race;
        int32_t best_lap, best_race;
    } races[] = {
        {"jeep", 35612.4, 143812.6, true, true, 35612, 143813},   // the first race sets both
        {"jeep", 36000, 140000, false, true, 35612, 140000},
        {"jeep", 34000, 150000, true, false, 34000, 140000},
        {"jeep", -1, -1, false, false, 34000, 140000},             // nothing finished
        {"tank", 50000, 200000, true, true, 50000, 200000},
    };
    for (const auto& r : races) {
        SCOPED_TRACE(r.kind);
        const RecordNews news = Records_Take(records, {"beach1", r.kind}, r.lap, r.race);
        EXPECT_EQ(news.lap, r.new_lap);
        EXPECT_EQ(news.race, r.new_race);
        const TrackRecord& record = records[RecordKey{"beach1", r.kind}];
        EXPECT_EQ(record.best_lap_ms, r.best_lap);
        EXPECT_EQ(record.best_race_ms, r.best_race);
    }
    EXPECT_EQ((records[RecordKey{"beach1", "jeep"}].best_lap_ms), 34000);
}
