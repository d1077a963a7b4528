#include "app/settings.h"
#include "core/state.h"
#include "tests/persist/persist_fixture.h"

using namespace std::string_literals;

using SettingsFile = PersistTest;

TEST_F(SettingsFile, EmptyCountryAndPlayerGiveNineteenRawBytes) {
    player.name = "Player";
    Ticked("chk_wd") = 1;
    Ticked("chk_amd") = 1;
    ASSERT_TRUE(Settings_Save());
    EXPECT_EQ(ReadBytes("main.cfg"), "\x01\r\n\x00\r\n\x01\r\n\r\nPlayer\r\n"s);
    EXPECT_EQ(options.windowed, 1);
    EXPECT_EQ(options.music_off, 0);
    EXPECT_EQ(options.ambient_off, 1);
}

TEST_F(SettingsFile, SaveThenLoadBringsEveryValueBack) {
    player.name = "Kimi";
    Ticked("chk_mmd") = 1;
    Element_Named("edt_ct").caption = "Suomi";
    ASSERT_TRUE(Settings_Save());
    player.name.clear();
    Ticked("chk_mmd") = 0;
    Element_Named("edt_ct").caption.clear();

    Settings_Load();
    EXPECT_EQ(player.name, "Kimi");
    EXPECT_EQ(options.country, "Suomi");
    EXPECT_EQ(Element_Named("edt_ct").caption, "Suomi");
    EXPECT_EQ(options.music_off, 1);
    EXPECT_EQ(Ticked("chk_mmd"), 1);
    EXPECT_EQ(Ticked("chk_mme"), 0);
    EXPECT_EQ(Ticked("chk_wd"), 0);
    EXPECT_EQ(Ticked("chk_fs"), 1);
    EXPECT_EQ(Ticked("chk_ame"), 1);
}

TEST_F(SettingsFile, WindowedFlagSwitchesFromFullScreenOnceAt32Bits) {
    WriteBytes("main.cfg", "\x01\r\n\x00\r\n\x00\r\n\r\nPlayer\r\n"s);
    Settings_Load();
    ASSERT_EQ(ScreenSwitches(), 1);
    const oe::RecordedCall& call = oe::Recorder_Calls().back();
    EXPECT_EQ(call.args, (std::vector<double>{800, 600, 32, 0, 0, 1}));
    EXPECT_EQ(OE_GetOptions()->fullscreen, 0);
    // Already a window: loading again asks for nothing.
    Settings_Load();
    EXPECT_EQ(ScreenSwitches(), 1);
}

TEST_F(SettingsFile, FullScreenFlagSwitchesAWindowBack) {
    OE_SetScreenOptions(800, 600, 32, 0, false, true);
    WriteBytes("main.cfg", "\x00\r\n\x00\r\n\x00\r\n\r\nPlayer\r\n"s);
    Settings_Load();
    EXPECT_EQ(ScreenSwitches(), 1);
    EXPECT_EQ(OE_GetOptions()->fullscreen, 1);
}

TEST_F(SettingsFile, HandTypedDigitRequestsNoSwitchAndFlipsOnlyTheLowBit) {
    WriteBytes("main.cfg", "1\r\n0\r\n1\r\nFI\r\nPlayer\r\n");
    Settings_Load();
    EXPECT_EQ(ScreenSwitches(), 0);
    EXPECT_EQ(options.windowed, '1');
    EXPECT_EQ(Ticked("chk_fs"), '0');
    EXPECT_EQ(Ticked("chk_mme"), '1');
    EXPECT_EQ(options.country, "FI");
}

TEST_F(SettingsFile, MissingFileGivesZeroesAndEmptyTexts) {
    player.name = "Left over";
    options.country = "Left over";
    Settings_Load();
    EXPECT_EQ(options.windowed, 0);
    EXPECT_EQ(options.music_off, 0);
    EXPECT_EQ(options.ambient_off, 0);
    EXPECT_EQ(options.country, "");
    EXPECT_EQ(player.name, "");
    // Full screen with music and ambient sound on: the partner boxes are ticked.
    EXPECT_EQ(Ticked("chk_fs"), 1);
    EXPECT_EQ(Ticked("chk_mme"), 1);
    EXPECT_EQ(Ticked("chk_ame"), 1);
    EXPECT_EQ(ScreenSwitches(), 0);
}

TEST_F(SettingsFile, ShortFileKeepsWhatItHasAndZeroesTheRest) {
    WriteBytes("main.cfg", "\x01\r\n\x01"s);
    Settings_Load();
    EXPECT_EQ(options.windowed, 1);
    EXPECT_EQ(options.music_off, 1);
    EXPECT_EQ(options.ambient_off, 0);
    EXPECT_EQ(player.name, "");
}

TEST_F(SettingsFile, UnreadableFileLoadsAsMissing) {
    std::filesystem::create_directory("main.cfg");
    Settings_Load();
    EXPECT_EQ(options.windowed, 0);
    EXPECT_EQ(player.name, "");
}

// A name read from the file has the typed names' limit: longer reads as no name.
TEST_F(SettingsFile, ANameLongerThanAProfileNameReadsAsNoName) {
    for (const auto& [length, kept] : {std::pair{size_t{64}, true}, {size_t{65}, false}, {size_t{4} << 20, false}}) {
        WriteBytes("main.cfg", "\x00\r\n\x00\r\n\x00\r\nFI\r\n"s + std::string(length, 'n') + "\r\n");
        Settings_Load();
        EXPECT_EQ(player.name.size(), kept ? length : 0) << length;
        EXPECT_EQ(options.country, "FI");
    }
    // So has the country; past the file's first 4 KiB nothing is read.
    for (const auto& [length, kept] : {std::pair{size_t{255}, true}, {size_t{256}, false}, {size_t{60} << 20, false}}) {
        WriteBytes("main.cfg", "\x00\r\n\x00\r\n\x00\r\n"s + std::string(length, 'c') + "\r\nAnn\r\n");
        Settings_Load();
        EXPECT_EQ(options.country.size(), kept ? length : 0) << length;
        EXPECT_EQ(player.name, length < 4000 ? "Ann" : "") << length;
    }
}

TEST_F(SettingsFile, LineBreakInsideANameSpillsIntoTheNextValue) {
    player.name = "Ann\r\nBob";
    ASSERT_TRUE(Settings_Save());
    Settings_Load();
    EXPECT_EQ(player.name, "Ann");
}

TEST_F(SettingsFile, FailedOrInterruptedWriteKeepsTheOldFile) {
    const std::string old_file = "\x01\r\n\x00\r\n\x00\r\n\r\nOld\r\n"s;
    WriteBytes("main.cfg", old_file);
    player.name = "New";
    for (const FsFault fault : {FsFault::Write, FsFault::BeforeRename}) {
        Fs_InjectFault(fault);
        EXPECT_FALSE(Settings_Save());
        EXPECT_EQ(ReadBytes("main.cfg"), old_file);
    }
    Fs_InjectFault(FsFault::None);
    Settings_Load();
    EXPECT_EQ(player.name, "Old");
    EXPECT_TRUE(Settings_Save());
    Settings_Load();
    EXPECT_EQ(player.name, "Old");
}
