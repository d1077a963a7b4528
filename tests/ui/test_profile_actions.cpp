// The profile dialogs: creating a profile (and refusing names that cannot
// be a file in "prf\"), picking and loading one, scrolling the list.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "core/notice.h"
#include "core/state.h"
#include "engine/fs.h"
#include "tests/ui/screens_fixture.h"
#include "ui/actions.h"
#include "ui/actions_profile.h"

namespace {

using Windows = std::vector<std::string>;

class ProfileActions : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        Screens_Build();
        game.state = STATE_PROFILES;
    }

    void CreateWith(const std::string& name) {
        Click("btn_pr_cr");
        Named("edt_pr_cr").caption = name;
        Click("btn_pr_cr_ac");
    }

    const Ilist& ProfileList() { return Element_As<Ilist>(Element_Find("lst_pr")); }
};

TEST_F(ProfileActions, CreateNewProfileOpensTheDialogWithACleanStanding) {
    player.progress = 7;
    player.score = 300;
    Click("btn_pr_cr");
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_pr_cr"}));
    EXPECT_EQ(player.progress, 0);
    EXPECT_EQ(player.score, 0);
    EXPECT_EQ(game.state, STATE_PROFILES);
}

TEST_F(ProfileActions, AcceptWritesTheThreeByteProfileAndOpensTheMenu) {
    CreateWith("Alice");
    EXPECT_EQ(ReadFile("prf/Alice"), std::string("\0\r\n", 3));
    EXPECT_EQ(player.name, "Alice");
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_menu"}));
    ASSERT_EQ(ProfileList().items.count, 1);
    EXPECT_EQ(ProfileList().items.names[0], "Alice");
}

TEST_F(ProfileActions, ANameOf64BytesIsStored) {
    const std::string name(64, 'n');
    CreateWith(name);
    EXPECT_EQ(player.name, name);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "prf" / name));
}

TEST_F(ProfileActions, AcceptIgnoresNamesThatCannotBeAProfileFile) {
    player.name = "Before";
    for (const std::string& name :
         {std::string(), std::string("."), std::string(".."), std::string("a/b"), std::string("..\\main.cfg"),
          std::string("../evil"), std::string("two\r\nlines"), std::string("bell\x07"), std::string(65, 'n'),
          std::string("nul\0byte", 8)}) {
        CreateWith(name);
        EXPECT_EQ(player.name, "Before") << name;
        EXPECT_EQ(game.state, STATE_PROFILES) << name;
        EXPECT_EQ(ShownWindows(), (Windows{"wnd_pr_cr"})) << name;
        EXPECT_TRUE(Fs_List("prf\\*.*").empty()) << name;
        Named("wnd_pr_cr").visible = 0;
        Named("wnd_pr").visible = 1;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_ / "evil"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "main.cfg"));
}

TEST_F(ProfileActions, AProfileThatCannotBeWrittenKeepsTheDialogAndTheOldName) {
    player.name = "Before";
    Fs_InjectFault(FsFault::Write);
    CreateWith("Alice");
    Fs_InjectFault(FsFault::None);
    EXPECT_EQ(player.name, "Before");
    EXPECT_EQ(game.state, STATE_PROFILES);
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_pr_cr"}));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "prf" / "Alice"));
}

// The dialog stays open and says why; an existing profile keeps its standing.
TEST_F(ProfileActions, TheDialogTellsWhyAProfileWasNotCreated) {
    WriteFile("prf/Alice", "\x05\r\n777\r\n");
    const struct {
        std::string name;
        FsFault fault;
        std::string notice;
    } cases[] = {
        {"Alice", FsFault::None, "\"Alice\" is taken: \"Load existing\" opens that profile"},
        {"a/b", FsFault::None, "A profile name cannot hold slashes or control characters"},
        {"..", FsFault::None, "\"..\" is a name the game keeps for itself; choose another"},
        {".korvamo-lock", FsFault::None, "\".korvamo-lock\" is a name the game keeps for itself; choose another"},
        {"", FsFault::None, "Type a name for the profile"},
        {std::string(65, 'a'), FsFault::None, "A profile name is at most 64 bytes; this one is 65 (an accented letter takes 2)"},
        {"\xc3\xa4" + std::string(63, 'a'), FsFault::None,
         "A profile name is at most 64 bytes; this one is 65 (an accented letter takes 2)"},
        {"Bob", FsFault::Write, "Could not create the profile: input/output error"},
    };
    for (const auto& c : cases) {
        game.notice.clear();
        Fs_InjectFault(c.fault);
        CreateWith(c.name);
        Fs_InjectFault(FsFault::None);
        EXPECT_EQ(Notice_Current(U_GetTime()), c.notice);
        EXPECT_EQ(ShownWindows(), (Windows{"wnd_pr_cr"})) << c.name;
        EXPECT_EQ(game.state, STATE_PROFILES) << c.name;
        Named("wnd_pr_cr").visible = 0;
        Named("wnd_pr").visible = 1;
    }
    EXPECT_EQ(ReadFile("prf/Alice"), "\x05\r\n777\r\n");
    EXPECT_EQ(Fs_List("prf\\*.*"), std::vector<std::string>{"Alice"});
}

// Only names a player could have typed are listed; a FIFO or folder is no profile.
TEST_F(ProfileActions, TheListShowsOnlyProfilesWithStorableNames) {
    for (const std::string& name : {std::string("Bob"), std::string(65, 'n'), std::string("bell\x07"), std::string("Ann")})
        WriteFile("prf/" + name, "\x00\r\n");
    std::filesystem::create_directory(dir_ / "prf" / "Folder");
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((dir_ / "prf" / "Fifo").c_str(), 0644), 0);
#endif
    act_change_profile();
    const Ilist& list = ProfileList();
    ASSERT_EQ(list.items.count, 2);
    EXPECT_EQ(list.items.names[0], "Ann");
    EXPECT_EQ(list.items.names[1], "Bob");
}

TEST_F(ProfileActions, LoadExistingDoesNothingWithoutProfiles) {
    player.progress = 5;
    Click("btn_pr_ld");
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_pr"}));
    EXPECT_EQ(player.progress, 5);
    // Nor does Accept on the load dialog with an empty list.
    Click("btn_pr_ld_ac");
    EXPECT_EQ(game.state, STATE_PROFILES);
    EXPECT_EQ(player.name, "");
}

TEST_F(ProfileActions, LoadingTheProfileUnderTheBandReadsItsStanding) {
    WriteFile("prf/Alice", std::string("\0\r\n", 3));
    WriteFile("prf/Bob", std::string("\x0d\r\n2500\r\n", 9));
    Click("btn_pr");   // "Change profile" lists them afresh
    EXPECT_EQ(game.state, STATE_PROFILES);
    ASSERT_EQ(ProfileList().items.count, 2);
    player.progress = 3;
    Click("btn_pr_ld");
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_pr_ld"}));
    EXPECT_EQ(player.progress, 0);
    // "down" brings Bob under the band, "up" takes him back and again.
    Click("btn_lst_dn");
    EXPECT_EQ(ProfileList().items.names[0], "Bob");
    Click("btn_lst_up");
    EXPECT_EQ(ProfileList().items.names[0], "Alice");
    Click("btn_lst_up");
    EXPECT_EQ(ProfileList().items.names[0], "Bob");
    Click("btn_pr_ld_ac");
    EXPECT_EQ(player.name, "Bob");
    EXPECT_EQ(player.progress, 13);
    EXPECT_EQ(player.score, 2500);
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_menu"}));
}

TEST_F(ProfileActions, ChangeProfileLeavesTheMenuForTheProfileChoice) {
    WriteFile("prf/Alice", std::string("\0\r\n", 3));
    act_back_to_menu();
    Click("btn_pr");
    EXPECT_EQ(game.state, STATE_PROFILES);
    EXPECT_EQ(ShownWindows(), (Windows{"wnd_pr"}));
    // Back to Menu from there returns.
    Click("btn_prbb");
    EXPECT_EQ(game.state, STATE_MENU);
}

}  // namespace
