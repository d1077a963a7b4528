#include "assets/texbase.h"
#include "core/state.h"
#include "persist/profile.h"
#include "tests/persist/persist_fixture.h"
#include "ui/player_profile.h"

using namespace std::string_literals;

using ProfileFile = PersistTest;

TEST_F(ProfileFile, NewProfileIsThreeBytesAndLoadsAsZero) {
    player.name = "Aino";
    player.progress = 7;
    player.score = 900;
    ASSERT_TRUE(Profile_Create());
    EXPECT_EQ(ReadBytes("prf/Aino"), "\x00\r\n"s);
    // Creating leaves the values in memory alone; loading replaces them.
    EXPECT_EQ(player.progress, 7);
    Profile_Load();
    EXPECT_EQ(player.progress, 0);
    EXPECT_EQ(player.score, 0);
}

TEST_F(ProfileFile, SaveWritesTheRawProgressByteAndDecimalScore) {
    player.name = "Aino";
    player.progress = 3;
    player.score = -250;
    ASSERT_TRUE(Profile_Save());
    EXPECT_EQ(ReadBytes("prf/Aino"), "\x03\r\n-250\r\n"s);
}

TEST_F(ProfileFile, ProgressThatIsALineBreakSurvivesSaveAndLoad) {
    player.name = "Aino";
    for (const int32_t value : {10, 13, 16, 0}) {
        player.progress = value;
        player.score = 1234;
        ASSERT_TRUE(Profile_Save());
        player.progress = player.score = -1;
        Profile_Load();
        EXPECT_EQ(player.progress, value);
        EXPECT_EQ(player.score, 1234);
    }
}

TEST_F(ProfileFile, MissingProfileLoadsAsZero) {
    player.name = "Nobody";
    player.progress = 5;
    player.score = 77;
    Profile_Load();
    EXPECT_EQ(player.progress, 0);
    EXPECT_EQ(player.score, 0);
}

TEST_F(ProfileFile, DamagedFilesLoadSafely) {
    player.name = "Hand";
    const struct {
        std::string bytes;
        int32_t progress, score;
    } cases[] = {
        {"", 0, 0},
        {"\x02", 2, 0},
        {"\xFF\r\n12\r\n", 16, 12},         // progress past the cup is clamped
        {"\x11\r\n12\r\n", 16, 12},
        {"\x04\r\nlots\r\n", 4, 0},          // text where the score belongs
        {"\x04\r\n12abc\r\n", 4, 0},
        {"\x04\r\n99999999999999\r\n", 4, 0},  // a score that does not fit
        {"\x04\r\n\r\n  \r\n 42 junk\r\n", 4, 42},
        {"\x05\n-7\n", 5, -7},               // line feeds alone
    };
    for (const auto& c : cases) {
        WriteBytes("prf/Hand", c.bytes);
        player.progress = player.score = -1;
        Profile_Load();
        EXPECT_EQ(player.progress, c.progress) << testing::PrintToString(c.bytes);
        EXPECT_EQ(player.score, c.score) << testing::PrintToString(c.bytes);
    }
}

TEST_F(ProfileFile, NamesThatCannotBeFilesAreRefused) {
    for (const std::string& name : {""s, "."s, ".."s, "../main.cfg"s, "a/b"s, "a\\b"s, "tab\there"s,
                                   "line\nbreak"s, "nul\0x"s, "del\x7f"s, std::string(65, 'x'), ".korvamo-lock"s}) {
        EXPECT_FALSE(Profile_NameIsStorable(name)) << testing::PrintToString(name);
        player.name = name;
        EXPECT_FALSE(Profile_Create());
        EXPECT_FALSE(Profile_Save());
    }
    for (const std::string& name : {"Player"s, "...x"s, "Äiti ja Isä"s, std::string(64, 'x')}) {
        EXPECT_TRUE(Profile_NameIsStorable(name)) << name;
    }
    // Nothing was written anywhere but where it belongs.
    EXPECT_TRUE(std::filesystem::is_empty("prf"));
    EXPECT_FALSE(std::filesystem::exists("main.cfg"));
}

TEST_F(ProfileFile, NameLeadingOutOfTheFolderLoadsAsMissing) {
    WriteBytes("secret", "\x09\r\n500\r\n");
    player.name = "../secret";
    Profile_Load();
    EXPECT_EQ(player.progress, 0);
    EXPECT_EQ(player.score, 0);
}

TEST_F(ProfileFile, CreateMakesAMissingProfileFolder) {
    std::filesystem::remove_all("prf");
    player.name = "Aino";
    ASSERT_TRUE(Profile_Create());
    EXPECT_EQ(ReadBytes("prf/Aino"), "\x00\r\n"s);
}

TEST_F(ProfileFile, FailedOrInterruptedSaveKeepsTheOldProfileAndListsNoStray) {
    player.name = "Aino";
    player.progress = 2;
    player.score = 100;
    ASSERT_TRUE(Profile_Save());
    player.progress = 3;
    player.score = 300;
    for (const FsFault fault : {FsFault::Write, FsFault::BeforeRename}) {
        Fs_InjectFault(fault);
        EXPECT_FALSE(Profile_Save());
        EXPECT_EQ(ReadBytes("prf/Aino"), "\x02\r\n100\r\n"s);
    }
    Fs_InjectFault(FsFault::None);
    const TF_list listed = FList_FromFolder("prf\\*.*");
    ASSERT_EQ(listed.count, 1);
    EXPECT_EQ(listed.names[0], "Aino");
}

// Another game saved the profile after this one loaded it: a save keeps that
// game's progress and points beside this one's.
TEST_F(ProfileFile, ASaveKeepsWhatAnotherGameSavedSince) {
    const struct {
        const char* name;
        tprofile loaded, mine, other;
        std::string written;
    } cases[] = {
        {"OtherWonThisLooked", {3, 1000}, {3, 1000}, {4, 3930}, "\x04\r\n3930\r\n"},
        {"BothWonTheSameTrack", {3, 1000}, {4, 2000}, {4, 3930}, "\x04\r\n4930\r\n"},
        {"ThisWonTwice", {3, 1000}, {5, 4000}, {4, 1500}, "\x05\r\n4500\r\n"},
        {"BothLost", {3, 1500}, {3, 500}, {3, 500}, "\x03\r\n0\r\n"},
        {"ThisSetItBack", {16, 9000}, {0, 0}, {16, 9500}, "\x00\r\n500\r\n"s},
    };
    player.name = "Aino";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes("prf/Aino", std::string(1, static_cast<char>(c.loaded.progress)) + "\r\n" +
                                   std::to_string(c.loaded.score) + "\r\n");
        Profile_Load();
        WriteBytes("prf/Aino", std::string(1, static_cast<char>(c.other.progress)) + "\r\n" +
                                   std::to_string(c.other.score) + "\r\n");
        player.progress = c.mine.progress;
        player.score = c.mine.score;
        ASSERT_TRUE(Profile_Save());
        EXPECT_EQ(ReadBytes("prf/Aino"), c.written);
        EXPECT_EQ(Profile_Encode({player.progress, player.score}), std::vector<uint8_t>(c.written.begin(), c.written.end()));
    }
}

TEST_F(ProfileFile, UnlockingFollowsProgress) {
    player.progress = 0;
    EXPECT_TRUE(Profile_CarUnlocked(0));
    EXPECT_FALSE(Profile_CarUnlocked(1));
    EXPECT_TRUE(Profile_TrackUnlocked(0));
    EXPECT_FALSE(Profile_TrackUnlocked(1));
    player.progress = 12;
    EXPECT_TRUE(Profile_CarUnlocked(3));
    EXPECT_FALSE(Profile_TrackUnlocked(13));
    player.progress = 15;
    EXPECT_TRUE(Profile_TrackUnlocked(15));
}

TEST(TrackTables, SixteenTracksInTournamentOrder) {
    EXPECT_STREQ(track_files[0], "beach1");
    EXPECT_STREQ(track_files[6], "forest1r");
    EXPECT_STREQ(track_files[15], "city2r");
    for (const char* name : track_files) {
        EXPECT_TRUE(std::filesystem::exists(std::string(KORVAMO_TEST_DATA) + "/wld/" + name + ".wld")) << name;
    }
}
