// The player's folder: made on first start with what an older game kept in
// its data folder copied in once, never moved, never overwriting.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/player_folder.h"
#include "engine/fs.h"
#include "engine/host.h"

namespace {

namespace fs = std::filesystem;

class PlayerFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = Fs_MakeScratchFolder("korvamo-player-");
        ASSERT_FALSE(pattern.empty());
        root_ = pattern;
        // What an older game wrote beside its shipped data.
        for (const char* file : {"main.cfg", "prf/Alice", "rec/Alice", "wld/edited1.wld", "wld/beach1.wld", "gfx/g_but.tga"})
            Put("data/" + std::string(file), std::string("old ") + file);
    }
    void TearDown() override {
        Fs_SetPlayerFolder("");
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    void Put(const std::string& rel, const std::string& content) {
        fs::create_directories((root_ / rel).parent_path());
        std::ofstream(root_ / rel) << content;
    }
    std::string Read(const std::string& rel) {
        std::ifstream in(root_ / rel);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool Prepare() {
        std::string error;
        const bool ok = PlayerFolder_Prepare((root_ / "home").string(), (root_ / "data").string(), error);
        EXPECT_TRUE(ok) << error;
        return ok;
    }
    fs::path root_;
};

TEST_F(PlayerFolder, FirstStartCopiesTheOldFilesOnceAndLeavesThemInPlace) {
    Put("home/prf/Alice", "newer Alice");   // the player's folder already has her
    ASSERT_TRUE(Prepare());
    EXPECT_EQ(Fs_PlayerFolder(), Fs_Utf8(root_ / "home"));
    EXPECT_EQ(Read("home/main.cfg"), "old main.cfg");
    EXPECT_EQ(Read("home/prf/Alice"), "newer Alice");
    EXPECT_EQ(Read("home/rec/Alice"), "old rec/Alice");
    EXPECT_EQ(Read("home/wld/edited1.wld"), "old wld/edited1.wld");
    EXPECT_FALSE(fs::exists(root_ / "home/wld/beach1.wld"));   // a shipped track stays shipped
    EXPECT_FALSE(fs::exists(root_ / "home/gfx"));
    for (const char* file : {"main.cfg", "prf/Alice", "rec/Alice", "wld/edited1.wld", "wld/beach1.wld"})
        EXPECT_EQ(Read("data/" + std::string(file)), std::string("old ") + file);

    // Once only: a profile the player deleted does not come back.
    fs::remove(root_ / "home/prf/Alice");
    ASSERT_TRUE(Prepare());
    EXPECT_FALSE(fs::exists(root_ / "home/prf/Alice"));
}

#ifndef _WIN32
// A link leading out of the player's folder, named like the marker or a file
// to copy, never gets a file made at its end.
TEST_F(PlayerFolder, NothingIsCreatedThroughALink) {
    for (const char* name : {".copied-from-data-folder", "main.cfg", "prf/Alice"}) {
        SCOPED_TRACE(name);
        fs::remove_all(root_ / "home");
        fs::remove_all(root_ / "outside");
        fs::create_directories(root_ / "home/prf");
        fs::create_symlink(root_ / "outside", root_ / "home" / name);
        ASSERT_TRUE(Prepare());
        EXPECT_FALSE(fs::exists(root_ / "outside"));
        EXPECT_TRUE(fs::is_symlink(root_ / "home" / name));
    }
}
#endif

// A temporary file of an atomic write is removed at the start once it is ten
// minutes old: a game stopped mid-write left it. A younger one may be another
// game's, writing now.
TEST_F(PlayerFolder, StaleTemporaryFilesAreRemoved) {
    const auto now = fs::file_time_type::clock::now();
    const struct {
        const char* name;
        std::chrono::minutes age;
        bool kept;
    } files[] = {
        {"home/.korvamo-tmp-Ab12Cd", std::chrono::minutes(11), false},
        {"home/prf/.korvamo-tmp-Ef34Gh", std::chrono::minutes(60 * 24), false},
        {"home/rec/.korvamo-tmp-Ij56Kl", std::chrono::minutes(1), true},
        {"home/wld/.korvamo-tmp-Mn78Op", std::chrono::minutes(0), true},
        {"home/prf/Alice", std::chrono::minutes(60 * 24), true},
        {"home/prf/.korvamo-lock", std::chrono::minutes(60 * 24), true},
    };
    for (const auto& f : files) {
        Put(f.name, "x");
        fs::last_write_time(root_ / f.name, now - f.age);
    }
    ASSERT_TRUE(Prepare());
    for (const auto& f : files) EXPECT_EQ(fs::exists(root_ / f.name), f.kept) << f.name;
}

TEST_F(PlayerFolder, AFolderThatCannotBeMadeIsReported) {
    Put("home", "a file where the folder should be");
    std::string error;
    EXPECT_FALSE(PlayerFolder_Prepare((root_ / "home").string(), (root_ / "data").string(), error));
    EXPECT_NE(error.find("cannot make the player's folder"), std::string::npos) << error;
}

#ifdef _WIN32
TEST(PlayerFolderDefault, IsKorvamoInTheRoamingApplicationData) {
    const std::string appdata = std::getenv("APPDATA") ? std::getenv("APPDATA") : "";
    _putenv_s("APPDATA", "C:\\Users\\Ann\\AppData\\Roaming");
    EXPECT_EQ(Host_DefaultPlayerFolder(), "C:/Users/Ann/AppData/Roaming/Korvamo");
    _putenv_s("APPDATA", appdata.c_str());
}
#else
TEST(PlayerFolderDefault, FollowsXdgDataHomeThenHome) {
    const std::string xdg = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_DATA_HOME", "/xdg", 1);
    setenv("HOME", "/home/ann", 1);
    EXPECT_EQ(Host_DefaultPlayerFolder(), "/xdg/korvamo");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(Host_DefaultPlayerFolder(), "/home/ann/.local/share/korvamo");
    setenv("XDG_DATA_HOME", "relative", 1);   // not absolute: ignored, as the XDG rules say
    EXPECT_EQ(Host_DefaultPlayerFolder(), "/home/ann/.local/share/korvamo");
    if (xdg.empty()) unsetenv("XDG_DATA_HOME");
    else setenv("XDG_DATA_HOME", xdg.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
}
#endif

}  // namespace
