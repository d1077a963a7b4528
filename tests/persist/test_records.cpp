// A player's best laps and race times per track, in "rec\" + the profile's name.
#include <filesystem>

#include "engine/fs.h"
#include "persist/records.h"
#include "tests/persist/persist_fixture.h"

using namespace std::string_literals;

using RecordsFile = PersistTest;

TEST_F(RecordsFile, WrittenRecordsReadBackAndLeaveTheProfileAlone) {
    WriteBytes("prf/Aino", "\x02\r\n100\r\n"s);
    Records records;
    records["beach1"] = {35612, 143812};
    records["icy2r"] = {31000, 0};
    ASSERT_TRUE(Records_Write("Aino", records));
    EXPECT_EQ(ReadBytes("rec/Aino"), "beach1 35612 143812\r\nicy2r 31000 0\r\n"s);
    const Records back = Records_Read("Aino");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back.at("beach1").best_lap_ms, 35612);
    EXPECT_EQ(back.at("beach1").best_race_ms, 143812);
    EXPECT_EQ(back.at("icy2r").best_race_ms, 0);
    EXPECT_EQ(ReadBytes("prf/Aino"), "\x02\r\n100\r\n"s);
    EXPECT_TRUE(Records_Read("Nobody").empty());
}

TEST_F(RecordsFile, DamagedFilesGiveNoRecords) {
    const std::string damaged[] = {
        "beach1 35612 143812",              // the last line cut short
        "beach1 35612\r\n",                 // a time missing
        "beach1 -1 143812\r\n",             // below zero
        "beach1 35612 1438x2\r\n",          // not a number
        "beach1 35612 99999999999\r\n",     // too large
        " 35612 143812\r\n",                // no track
        "beach1  35612 143812\r\n",         // two spaces
        "\xff\xfe\x00\x01"s,                // not text
    };
    std::filesystem::create_directories("rec");
    WriteBytes("rec/Aino", "beach1 35612 143812\r\n");
    ASSERT_EQ(Records_Read("Aino").size(), 1u);   // the same file undamaged
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text);
        WriteBytes("rec/Aino", text);
        EXPECT_TRUE(Records_Read("Aino").empty());
    }
    EXPECT_TRUE(Records_Parse("").has_value());   // an empty file: no records yet
}

TEST_F(RecordsFile, FailedOrInterruptedWritesKeepTheOldRecords) {
    Records records;
    records["beach1"] = {35612, 143812};
    ASSERT_TRUE(Records_Write("Aino", records));
    records["beach1"] = {30000, 120000};
    for (const FsFault fault : {FsFault::Write, FsFault::BeforeRename}) {
        Fs_InjectFault(fault);
        EXPECT_FALSE(Records_Write("Aino", records));
        EXPECT_EQ(ReadBytes("rec/Aino"), "beach1 35612 143812\r\n"s);
    }
    Fs_InjectFault(FsFault::None);
    EXPECT_FALSE(Records_Write("../Aino", records));
}

TEST(Records, ARaceImprovesOnlyWhatItBeat) {
    Records records;
    const struct {
        double lap, race;
        bool new_lap, new_race;
        int32_t best_lap, best_race;
    } races[] = {
        {35612.4, 143812.6, true, true, 35612, 143813},   // the first race sets both
        {36000, 140000, false, true, 35612, 140000},
        {34000, 150000, true, false, 34000, 140000},
        {-1, -1, false, false, 34000, 140000},             // nothing finished
    };
    for (const auto& r : races) {
        const RecordNews news = Records_Take(records, "beach1", r.lap, r.race);
        EXPECT_EQ(news.lap, r.new_lap);
        EXPECT_EQ(news.race, r.new_race);
        EXPECT_EQ(records["beach1"].best_lap_ms, r.best_lap);
        EXPECT_EQ(records["beach1"].best_race_ms, r.best_race);
    }
}
