// A player's best laps and race times per track and car kind, in "rec\" + the
// profile's name.
#include <algorithm>
#include <filesystem>

#include "engine/fs.h"
#include "persist/records.h"
#include "tests/persist/persist_fixture.h"

using namespace std::string_literals;

using RecordsOnDisk = PersistTest;

TEST_F(RecordsOnDisk, WrittenRecordsReadBackAndLeaveTheProfileAlone) {
    WriteBytes("prf/Aino", "\x02\r\n100\r\n"s);
    Records records;
    records[{"beach1", "jeep"}] = {35612, 143812};
    records[{"beach1", "tank"}] = {41000, 170000};
    records[{"icy2r", "turbo"}] = {31000, 0};
    ASSERT_TRUE(Records_Write("Aino", {records, {}}));
    EXPECT_EQ(ReadBytes("rec/Aino"), "beach1 jeep 35612 143812\r\nbeach1 tank 41000 170000\r\nicy2r turbo 31000 0\r\n"s);
    const auto back = Records_Read("Aino");
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, (RecordsFile{records, {}}));
    EXPECT_EQ(ReadBytes("prf/Aino"), "\x02\r\n100\r\n"s);
    EXPECT_EQ(Records_Read("Nobody"), RecordsFile{});
}

// A file from before records knew the car keeps every line: the old ones for
// any kind, written back byte for byte beside the new.
TEST_F(RecordsOnDisk, OldLinesStayForAnyKindBesideTheNewOnes) {
    const std::string old_file = "beach1 35612 143812\r\nicy2r 31000 0\r\n";
    std::filesystem::create_directories("rec");
    WriteBytes("rec/Aino", old_file);
    auto records = Records_Read("Aino");
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->records.at({"beach1", ""}).best_race_ms, 143812);
    const RecordNews news = Records_Take(records->records, {"beach1", "jeep"}, 36000, 150000);
    EXPECT_TRUE(news.lap && news.race);   // the jeep's first, whatever any car did before
    ASSERT_TRUE(Records_Write("Aino", *records));
    EXPECT_EQ(ReadBytes("rec/Aino"), "beach1 35612 143812\r\nbeach1 jeep 36000 150000\r\nicy2r 31000 0\r\n"s);
}

// A line that cannot be read, damaged or impossible, costs no other line: the
// good ones are read, and it is written back as it was after them.
TEST_F(RecordsOnDisk, ADamagedLineKeepsEveryGoodLine) {
    const std::string damaged[] = {
        "beach1 35612",                   // a time missing
        "beach1 jeep 35612",              // a kind and one time
        "beach1 jeep 35612 143812 1",     // a time too many
        "beach1 Jeep 35612 143812",       // a kind not in lower case
        "beach1 4wd 35612 143812",        // a kind that reads as a number
        "beach1 jeep-2 35612 143812",     // a kind with a sign in it
        "beach1 averyveryverylongkind 35612 143812",
        "beach1 jeep  35612 143812",      // two spaces after the kind
        "beach1 jeep 35612 143812 ",      // a space at the end
        "icy2 jeep 30000 130000",         // the same track and kind as a good line
        "beach1 -1 143812",               // below zero
        "beach1 35612 1438x2",            // not a number
        "beach1 35612 99999999999",       // too large
        " 35612 143812",                  // no track
        "beach\x00" "1 35612 143812"s,     // a NUL in the name
        "beach1 car 1 143812",            // a lap of 1 ms
        "beach1 car 35612 0003000",       // a race faster than a lap
        "beach1 car 35612 140000",        // a race faster than four of its best laps
        "\xff\xfe\x00\x01"s,              // not text
        "",                               // an empty line
    };
    const std::string good = "icy2 31000 0\r\nicy2 jeep 30000 130000\r\n";
    std::filesystem::create_directories("rec");
    for (const std::string& line : damaged) {
        SCOPED_TRACE(line);
        WriteBytes("rec/Aino", good + line + "\r\n");
        auto file = Records_Read("Aino");
        ASSERT_TRUE(file.has_value());
        EXPECT_EQ(file->records.size(), 2u);
        EXPECT_EQ(file->unread, std::vector<std::string>{line});
        Records_Take(file->records, {"beach1", "car"}, 36000, 150000);
        ASSERT_TRUE(Records_Write("Aino", *file));
        EXPECT_EQ(ReadBytes("rec/Aino"), "beach1 car 36000 150000\r\n" + good + line + "\r\n");
    }
}

// A file cut short at any length keeps every whole line, and the piece of the
// last one is kept as it was.
TEST_F(RecordsOnDisk, AFileCutShortKeepsEveryWholeLine) {
    const std::string whole = "beach1 jeep 35612 143812\r\nicy2 31000 0\r\n";
    for (size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(length);
        const std::string cut = whole.substr(0, length);
        const RecordsFile file = Records_Parse(cut);
        const size_t whole_lines = static_cast<size_t>(std::count(cut.begin(), cut.end(), '\n'));
        EXPECT_GE(file.records.size(), whole_lines);   // and the last, when cut just before its line break
        EXPECT_LE(file.records.size(), whole_lines + 1);
        const std::string written = Records_Encode(file);
        EXPECT_EQ(written.substr(0, cut.size()), cut);   // nothing before the cut changed or lost
    }
    std::filesystem::create_directories("rec");
    WriteBytes("rec/Aino", std::string(RECORDS_MAX_BYTES + 1, '1'));
    EXPECT_FALSE(Records_Read("Aino").has_value());   // too large to be the game's: not read, not written over
}

TEST_F(RecordsOnDisk, FailedOrInterruptedWritesKeepTheOldRecords) {
    Records records;
    records[{"beach1", "jeep"}] = {35612, 143812};
    ASSERT_TRUE(Records_Write("Aino", {records, {}}));
    records[{"beach1", "jeep"}] = {30000, 120000};
    for (const FsFault fault : {FsFault::Write, FsFault::BeforeRename}) {
        Fs_InjectFault(fault);
        EXPECT_FALSE(Records_Write("Aino", {records, {}}));
        EXPECT_EQ(ReadBytes("rec/Aino"), "beach1 jeep 35612 143812\r\n"s);
    }
    Fs_InjectFault(FsFault::None);
    EXPECT_FALSE(Records_Write("../Aino", {records, {}}));
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
