// Files and folder listings with the game's backslash paths, in a scratch folder
// that each test makes its working folder.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/fs.h"

namespace {

namespace stdfs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Names = std::vector<std::string>;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

class FsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ = Fs_MakeScratchFolder("korvamo-fs-");
        ASSERT_FALSE(templ.empty());
        root_ = templ;
        old_cwd_ = stdfs::current_path();
        stdfs::current_path(root_);
    }
    void TearDown() override {
        stdfs::current_path(old_cwd_);
        std::error_code ec;
        stdfs::permissions(root_ / "ro", stdfs::perms::owner_all, ec);
        stdfs::remove_all(root_, ec);
    }
    void Put(const std::string& rel, const std::string& content = "x") {
        const stdfs::path p = root_ / rel;
        stdfs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
    }
    std::string Slurp(const std::string& rel) {
        std::ifstream in(root_ / rel, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Every entry of a folder, hidden ones included.
    Names RawEntries(const std::string& rel) {
        Names out;
        for (const auto& e : stdfs::directory_iterator(root_ / rel)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    stdfs::path root_;
    stdfs::path old_cwd_;
};

TEST(FsPath, BackslashesBecomeSlashes) {
    EXPECT_EQ(Fs_HostPath("wld\\beach1.wld"), "wld/beach1.wld");
    EXPECT_EQ(Fs_HostPath("gfx\\share\\"), "gfx/share/");
    EXPECT_EQ(Fs_HostPath("prf\\"), "prf/");
    EXPECT_EQ(Fs_HostPath("main.cfg"), "main.cfg");
    EXPECT_EQ(Fs_HostPath("/tmp/data/gfx\\obj\\x.tga"), "/tmp/data/gfx/obj/x.tga");
}

TEST(FsMask, WildcardsAndCase) {
    EXPECT_TRUE(Fs_MatchMask("*.tga", "car_wh1.tga"));
    EXPECT_TRUE(Fs_MatchMask("*.tga", ".tga"));
    EXPECT_FALSE(Fs_MatchMask("*.tga", "car_wh1.TGA"));
    EXPECT_FALSE(Fs_MatchMask("*.tga", "x.tgaa"));
    EXPECT_FALSE(Fs_MatchMask("*.tga", "x.jpg"));
    EXPECT_FALSE(Fs_MatchMask("*.tga", "tga"));
    EXPECT_TRUE(Fs_MatchMask("?.wav", "a.wav"));
    EXPECT_FALSE(Fs_MatchMask("?.wav", "ab.wav"));
    EXPECT_FALSE(Fs_MatchMask("?.wav", ".wav"));
    EXPECT_TRUE(Fs_MatchMask("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(Fs_MatchMask("a*b*c", "aXbYcZ"));
    EXPECT_TRUE(Fs_MatchMask("**", ""));
    EXPECT_TRUE(Fs_MatchMask("", ""));
    EXPECT_FALSE(Fs_MatchMask("", "a"));
}

TEST(FsMask, StarDotStarMatchesNamesWithoutADot) {
    EXPECT_TRUE(Fs_MatchMask("*.*", "Alice"));
    EXPECT_TRUE(Fs_MatchMask("*.*", "a.b.c"));
    EXPECT_TRUE(Fs_MatchMask("*.*", "x"));
    EXPECT_TRUE(Fs_MatchMask("beach*.*", "beach1"));
    EXPECT_FALSE(Fs_MatchMask("beach*.*", "track1"));
    EXPECT_FALSE(Fs_MatchMask("*.t*", "tga"));
}

TEST_F(FsTest, ListsMatchingFilesSortedByByteOrder) {
    for (const char* f : {"b.tga", "a.tga", "C.tga", "a.jpg", "list.txt", "a10.tga", "a2.tga"})
        Put(std::string("gfx/obj/") + f);
    EXPECT_EQ(Fs_List("gfx\\obj\\*.tga"), (Names{"C.tga", "a.tga", "a10.tga", "a2.tga", "b.tga"}));
    EXPECT_EQ(Fs_List("gfx\\obj\\*.jpg"), (Names{"a.jpg"}));
    EXPECT_EQ(Fs_List("gfx/obj/*.txt"), (Names{"list.txt"}));
}

TEST_F(FsTest, ListSkipsFoldersAndKeepsNamesWithoutADot) {
    Put("prf/Alice");
    Put("prf/bob.x");
    stdfs::create_directories(root_ / "prf/sub");
    stdfs::create_directories(root_ / "prf/dir.tga");
    EXPECT_EQ(Fs_List("prf\\*.*"), (Names{"Alice", "bob.x"}));
    EXPECT_TRUE(Fs_List("prf\\*.tga").empty());
}

TEST_F(FsTest, ListOfOnlySubfoldersOrMissingFolderIsEmpty) {
    stdfs::create_directories(root_ / "prf/one");
    stdfs::create_directories(root_ / "prf/two");
    EXPECT_TRUE(Fs_List("prf\\*.*").empty());
    EXPECT_TRUE(Fs_List("nothere\\*.*").empty());
    EXPECT_TRUE(Fs_List("nothere\\deeper\\*.wav").empty());
    Put("plain");
    EXPECT_TRUE(Fs_List("plain\\*.*").empty());   // a file, not a folder
}

#ifndef _WIN32   // POSIX links, limits, users and FIFOs
TEST_F(FsTest, ListFollowsLinksToFilesButNotToFolders) {
    Put("sfx/real.wav");
    stdfs::create_directories(root_ / "elsewhere");
    stdfs::create_symlink(root_ / "sfx/real.wav", root_ / "sfx/link.wav");
    stdfs::create_directory_symlink(root_ / "elsewhere", root_ / "sfx/dir.wav");
    stdfs::create_symlink(root_ / "sfx/gone", root_ / "sfx/broken.wav");
    EXPECT_EQ(Fs_List("sfx\\*.wav"), (Names{"link.wav", "real.wav"}));
}

#endif

TEST_F(FsTest, ListWithoutFolderUsesTheWorkingFolder) {
    Put("main.cfg");
    Put("readme");
    EXPECT_EQ(Fs_List("*.cfg"), (Names{"main.cfg"}));
}

TEST_F(FsTest, ReadWholeFile) {
    Put("wld/beach1.wld", std::string("1\r\n\0\xff", 5));
    const auto bytes = Fs_ReadFile("wld\\beach1.wld");
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, (Bytes{'1', '\r', '\n', 0, 0xff}));
    Put("empty", "");
    ASSERT_TRUE(Fs_ReadFile("empty").has_value());
    EXPECT_TRUE(Fs_ReadFile("empty")->empty());
}

// A limit refuses a longer file whole, or reads only its head.
TEST_F(FsTest, ReadUpToALimit) {
    Put("five", "12345");
    for (const size_t limit : {size_t{0}, size_t{4}, size_t{5}, size_t{6}}) {
        SCOPED_TRACE(limit);
        EXPECT_EQ(Fs_ReadFile("five", limit).has_value(), limit >= 5);
        EXPECT_EQ(Fs_ReadFileHead("five", limit), (Bytes(std::string_view("12345").substr(0, limit).begin(),
                                                          std::string_view("12345").substr(0, limit).end())));
    }
    EXPECT_FALSE(Fs_ReadFileHead("none", 4).has_value());
}

TEST_F(FsTest, ReadRefusesMissingFoldersAndOversizedFiles) {
    EXPECT_FALSE(Fs_ReadFile("wld\\none.wld").has_value());
    stdfs::create_directories(root_ / "wld");
    EXPECT_FALSE(Fs_ReadFile("wld").has_value());
    Put("big", "");
    stdfs::resize_file(root_ / "big", FS_MAX_FILE_BYTES + 1);   // sparse, cheap
    EXPECT_FALSE(Fs_ReadFile("big").has_value());
}

TEST_F(FsTest, AtomicWriteCreatesAndReplaces) {
    stdfs::create_directories(root_ / "prf");
    EXPECT_TRUE(Fs_WriteFileAtomic("prf\\Alice", B("one")));
    EXPECT_EQ(Slurp("prf/Alice"), "one");
    EXPECT_TRUE(Fs_WriteFileAtomic("prf\\Alice", B("two, longer")));
    EXPECT_EQ(Slurp("prf/Alice"), "two, longer");
    EXPECT_TRUE(Fs_WriteFileAtomic("prf\\Alice", {}));
    EXPECT_EQ(Slurp("prf/Alice"), "");
    EXPECT_EQ(RawEntries("prf"), (Names{"Alice"}));
    EXPECT_TRUE(Fs_WriteFileAtomic("main.cfg", B("\x01")));
    EXPECT_EQ(Slurp("main.cfg"), "\x01");
    const auto mode = stdfs::status(root_ / "prf/Alice").permissions();
    EXPECT_NE(mode & stdfs::perms::owner_read, stdfs::perms::none);
    EXPECT_NE(mode & stdfs::perms::others_read, stdfs::perms::none);
}

TEST_F(FsTest, AtomicWriteIntoMissingFolderFails) {
    EXPECT_FALSE(Fs_WriteFileAtomic("prf\\Alice", B("x")));
    EXPECT_FALSE(stdfs::exists(root_ / "prf"));
    EXPECT_FALSE(Fs_WriteFileAtomic("prf\\", B("x")));
    EXPECT_FALSE(Fs_WriteFileAtomic("", B("x")));
}

TEST_F(FsTest, AtomicWriteOverAFolderFailsAndLeavesNoTemporaryFile) {
    stdfs::create_directories(root_ / "prf/Alice");
    Put("prf/Alice/inside", "keep");
    EXPECT_FALSE(Fs_WriteFileAtomic("prf\\Alice", B("x")));
    EXPECT_EQ(Slurp("prf/Alice/inside"), "keep");
    EXPECT_EQ(RawEntries("prf"), (Names{"Alice"}));
}

#ifndef _WIN32   // POSIX links, limits, users and FIFOs
TEST_F(FsTest, FailedWriteKeepsTheOldFile) {
    Put("prf/Alice", "old profile");
    // Cap the file size so the write itself fails half-way, as on a full disk.
    struct rlimit old_limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    struct rlimit small = old_limit;
    small.rlim_cur = 4096;
    void (*old_handler)(int) = ::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = Fs_WriteFileAtomic("prf\\Alice", Bytes(64 * 1024, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &old_limit);
    ::signal(SIGXFSZ, old_handler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Slurp("prf/Alice"), "old profile");
    EXPECT_EQ(RawEntries("prf"), (Names{"Alice"}));
}

TEST_F(FsTest, WriteIntoReadOnlyFolderFailsAndKeepsTheOldFile) {
    Put("ro/main.cfg", "old");
    const auto read_only = stdfs::perms::owner_read | stdfs::perms::owner_exec | stdfs::perms::group_read |
                           stdfs::perms::group_exec | stdfs::perms::others_read | stdfs::perms::others_exec;
    stdfs::permissions(root_ / "ro", read_only);
    if (::geteuid() != 0) {
        EXPECT_FALSE(Fs_WriteFileAtomic("ro\\main.cfg", B("new")));
    } else {
        // Root writes anywhere: the save is tried by an unprivileged child
        // ("nobody"), as a player would run the game.
        stdfs::permissions(root_, read_only | stdfs::perms::owner_write);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
            ::_exit(!dropped ? 2 : Fs_WriteFileAtomic("ro\\main.cfg", B("new")) ? 1 : 0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write succeeded, 2: could not drop privileges";
    }
    EXPECT_EQ(Slurp("ro/main.cfg"), "old");
}

#endif

// A FIFO, a device or a folder in place of a file reads as missing at once;
// opening a FIFO for reading would otherwise wait for a writer for ever.
TEST_F(FsTest, OnlyRegularFilesAreRead) {
    stdfs::create_directory(root_ / "folder.wld");
    std::vector<std::string> names = {"folder.wld"};
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((root_ / "main.cfg").c_str(), 0644), 0);
    stdfs::create_symlink("/dev/zero", root_ / "zero");
    Put("plain", "ok");
    stdfs::create_symlink(root_ / "plain", root_ / "link");
    EXPECT_EQ(Fs_ReadFile("link"), B("ok"));
    names.insert(names.end(), {"main.cfg", "zero"});
#endif
    for (const std::string& name : names) {
        EXPECT_FALSE(Fs_ReadFile(name).has_value()) << name;
        errno = 0;
        EXPECT_EQ(Fs_OpenRegular((root_ / name).string()), -1) << name;
        if (name == "folder.wld") {
            EXPECT_EQ(errno, EISDIR);
        }
    }
}

// Bytes go to the disk as they are (no line-end translation), and names in
// any language reach it: a player's folder may be under "C:/Users/Jörg".
TEST_F(FsTest, BytesAndUtf8NamesPassUnchanged) {
    const Bytes binary = B(std::string("a\r\nb\n\x1a\0c", 8));
    ASSERT_TRUE(Fs_MakeFolder("J\xc3\xb6rg"));
    ASSERT_TRUE(Fs_WriteFileAtomic("J\xc3\xb6rg\\m\xc3\xa4in.cfg", binary));
    EXPECT_EQ(Fs_ReadFile("J\xc3\xb6rg\\m\xc3\xa4in.cfg"), binary);
    EXPECT_EQ(Fs_List("J\xc3\xb6rg\\*.cfg"), (Names{"m\xc3\xa4in.cfg"}));
    EXPECT_TRUE(Fs_IsFile(Fs_Utf8(root_ / Fs_NativePath("J\xc3\xb6rg/m\xc3\xa4in.cfg"))));
    EXPECT_EQ(stdfs::file_size(root_ / Fs_NativePath("J\xc3\xb6rg/m\xc3\xa4in.cfg")), binary.size());
}

#ifdef _WIN32
// Names Windows would store as another file, a hidden stream or a device are
// refused, and nothing is written in their place.
TEST_F(FsTest, NamesWindowsStoresAsOthersAreRefused) {
    Put("prf/Alice", "old");
    for (const char* name : {"prf\\a:b", "prf\\CON", "prf\\nul.txt", "prf\\Com1", "prf\\Alice.", "prf\\Alice ",
                             "prf\\a?b", "prf\\a\"b"}) {
        errno = 0;
        EXPECT_FALSE(Fs_WriteFileAtomic(name, B("new"))) << name;
        EXPECT_EQ(errno, EINVAL) << name;
        EXPECT_FALSE(Fs_ReadFile(name).has_value()) << name;
        EXPECT_FALSE(Fs_MakeFolder(name)) << name;
    }
    EXPECT_EQ(Slurp("prf/Alice"), "old");
    EXPECT_EQ(RawEntries("prf"), (Names{"Alice"}));
    EXPECT_TRUE(Fs_WriteFileAtomic("prf\\Con rod.x", B("ok")));   // only the whole stem names a device
}
#endif

TEST_F(FsTest, UnfinishedTemporaryFilesAreNotListed) {
    stdfs::create_directories(root_ / "prf");
    ASSERT_TRUE(Fs_WriteFileAtomic("prf\\Alice", B("x")));
    // What a crash between writing and renaming would leave behind.
    Put("prf/.korvamo-tmp-Ab12Cd", "half");
    Put("prf/.hidden", "y");
    EXPECT_EQ(Fs_List("prf\\*.*"), (Names{".hidden", "Alice"}));
}

TEST_F(FsTest, FolderAndFileChecks) {
    Put("gfx/obj/x.tga");
    EXPECT_TRUE(Fs_IsFolder("gfx\\obj\\"));
    EXPECT_TRUE(Fs_IsFolder("gfx\\obj"));
    EXPECT_FALSE(Fs_IsFolder("gfx\\obj\\x.tga"));
    EXPECT_FALSE(Fs_IsFolder("sfx"));
    EXPECT_TRUE(Fs_IsFile("gfx\\obj\\x.tga"));
    EXPECT_FALSE(Fs_IsFile("gfx\\obj"));
    EXPECT_FALSE(Fs_IsFile("gfx\\obj\\y.tga"));
}

TEST_F(FsTest, WorkingFolderChangesWhereNamesStart) {
    Put("data/gfx/obj/x.tga");
    ASSERT_TRUE(Fs_SetWorkingFolder("data\\gfx"));
    EXPECT_TRUE(Fs_IsFile("obj\\x.tga"));
    EXPECT_EQ(Fs_List("obj\\*.tga"), (Names{"x.tga"}));
    EXPECT_FALSE(Fs_SetWorkingFolder("no\\such\\folder"));
    EXPECT_TRUE(Fs_IsFile("obj\\x.tga"));
}

TEST(FsExecutable, FolderHoldsTheRunningProgram) {
    const std::string folder = Fs_ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(stdfs::path(folder).is_absolute()) << folder;
    EXPECT_NE(folder.back(), '/');
    EXPECT_EQ(folder.find('\\'), std::string::npos) << folder;
    EXPECT_TRUE(Fs_IsFolder(folder));
    EXPECT_TRUE(Fs_IsFile(folder + "/test_engine") || Fs_IsFile(folder + "/test_engine.exe")) << folder;
}

}  // namespace

// The shipped data is the working folder ("ship"); the player's folder
// ("home") takes what the game writes and comes first for tracks.
class FsTwoFolders : public FsTest {
protected:
    void SetUp() override {
        FsTest::SetUp();
        Put("gfx/share/g_but.tga", "shipped texture");
        Put("wld/beach1.wld", "shipped track");
        Put("wld/forest1.wld", "shipped track");
        Put("home/wld/beach1.wld", "edited track");
        Put("home/wld/mine.wld", "own track");
        Put("home/prf/Alice", "profile");
        Put("home/main.cfg", "settings");
        Put("prf/Stale", "an old profile in the shipped data");
        Put("main.cfg", "old settings in the shipped data");
        Fs_SetPlayerFolder((root_ / "home").string());
    }
    void TearDown() override {
        Fs_SetPlayerFolder("");
        FsTest::TearDown();
    }
};

struct ReadCase {
    const char* path;
    const char* content;   // "" : nothing read
};

class FsTwoFoldersRead : public FsTwoFolders, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(FsTwoFoldersRead, PlayersFilesFirstForTracksShippedDataForTheRest) {
    const auto bytes = Fs_ReadFile(GetParam().path);
    EXPECT_EQ(bytes ? std::string(bytes->begin(), bytes->end()) : "", GetParam().content);
}

INSTANTIATE_TEST_SUITE_P(
    Lookup, FsTwoFoldersRead,
    ::testing::Values(ReadCase{"gfx\\share\\g_but.tga", "shipped texture"}, ReadCase{"wld\\beach1.wld", "edited track"},
                      ReadCase{"wld\\forest1.wld", "shipped track"}, ReadCase{"wld\\mine.wld", "own track"},
                      ReadCase{"prf\\Alice", "profile"}, ReadCase{"prf\\Stale", ""},
                      ReadCase{"main.cfg", "settings"}));

TEST_F(FsTwoFolders, ListingsJoinTracksAndKeepProfilesApart) {
    EXPECT_EQ(Fs_List("wld\\*.wld"), (Names{"beach1.wld", "forest1.wld", "mine.wld"}));
    EXPECT_EQ(Fs_List("prf\\*.*"), (Names{"Alice"}));
    EXPECT_EQ(Fs_List("gfx\\share\\*.tga"), (Names{"g_but.tga"}));
    EXPECT_TRUE(Fs_IsFile("prf\\Alice"));
    EXPECT_FALSE(Fs_IsFile("prf\\Stale"));
}

TEST_F(FsTwoFolders, WritesGoToThePlayersFolderAndNeverChangeTheShippedData) {
    ASSERT_TRUE(Fs_WriteFileAtomic("wld\\forest1.wld", B("saved over a shipped name")));
    ASSERT_TRUE(Fs_MakeFolder("rec\\"));
    ASSERT_TRUE(Fs_WriteFileAtomic("rec\\Alice", B("records")));
    ASSERT_TRUE(Fs_WriteFileAtomic("main.cfg", B("new settings")));
    EXPECT_EQ(Slurp("wld/forest1.wld"), "shipped track");
    EXPECT_EQ(Slurp("main.cfg"), "old settings in the shipped data");
    EXPECT_EQ(Slurp("home/wld/forest1.wld"), "saved over a shipped name");
    EXPECT_EQ(Slurp("home/rec/Alice"), "records");
    EXPECT_EQ(Slurp("home/main.cfg"), "new settings");
    const auto bytes = Fs_ReadFile("wld\\forest1.wld");
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "saved over a shipped name");
}
