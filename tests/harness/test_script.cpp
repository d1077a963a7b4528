// The harness's script reader: what it accepts, and the lines it refuses.
#include <gtest/gtest.h>

#include "tools/harness/script.h"

namespace {

using harness::Line;
using harness::ParseScript;

std::vector<Line> Parse(const std::string& source) {
    std::vector<Line> lines;
    std::string error;
    EXPECT_TRUE(ParseScript(source, lines, error)) << error;
    return lines;
}

std::string Refused(const std::string& source) {
    std::vector<Line> lines;
    std::string error;
    EXPECT_FALSE(ParseScript(source, lines, error)) << source;
    return error;
}

TEST(ScriptReader, CommentsAndBlankLinesAreSkippedAndLinesKeepTheirNumbers) {
    const auto lines = Parse("# a comment\n\nticks 40   # advance\r\n  mouse 300 232\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].number, 3);
    EXPECT_EQ(lines[0].words, (std::vector<std::string>{"ticks", "40"}));
    EXPECT_EQ(lines[1].number, 4);
    EXPECT_EQ(lines[1].words, (std::vector<std::string>{"mouse", "300", "232"}));
}

TEST(ScriptReader, EveryCommandOfTheFoundationIsAccepted) {
    const auto lines = Parse(
        "ticks 0\nmouse -5 900\nclick 1\nkey down 38\nkey up 38\npress 116\ntype Alice\n"
        "expect state 6\nexpect file prf/Alice\nexpect file prf/Alice 000d0a\nshot a.png\n");
    EXPECT_EQ(lines.size(), 11u);
}

TEST(ScriptReader, TypeKeepsTheRestOfTheLineWithItsBlanks) {
    const auto lines = Parse("type  Mr Smith  \n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].words[1], "Mr Smith");
}

TEST(ScriptReader, QuotedWordsKeepTheirBlanks) {
    const auto lines = Parse("shot \"my shot.png\"\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].words[1], "my shot.png");
}

TEST(ScriptReader, BadLinesAreRefusedWithTheirNumber) {
    EXPECT_NE(Refused("ticks 1\nfly 3\n").find("line 2"), std::string::npos);
    Refused("ticks many\n");
    Refused("ticks -1\n");
    Refused("ticks 99999999999999999999\n");
    Refused("mouse 10\n");
    Refused("mouse 10 x\n");
    Refused("click 3\n");
    Refused("key sideways 38\n");
    Refused("press\n");
    Refused("expect state\n");
    Refused("expect state six\n");
    Refused("expect file\n");
    Refused("expect file prf/Alice 0g\n");
    Refused("expect file prf/Alice 000\n");
    Refused("expect colour red\n");
    Refused("shot\n");
    Refused("type\n");
}

TEST(ScriptReader, ElementChecksTakeANameAndAFlagOrOneCaption) {
    const auto lines = Parse(
        "expect visible wnd_menu 1\nexpect visible wnd_menu 0\nexpect ticked chk_wd 1\n"
        "expect caption lb_hello \"Hello, Alice\"\nexpect caption lb_hello \"\"\nexpect caption lb1 Go\n");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3].words, (std::vector<std::string>{"expect", "caption", "lb_hello", "Hello, Alice"}));
    EXPECT_EQ(lines[4].words[3], "");
    Refused("expect visible\n");
    Refused("expect visible wnd_menu\n");
    Refused("expect visible wnd_menu 2\n");
    Refused("expect visible wnd_menu yes\n");
    Refused("expect visible wnd_menu 01\n");
    Refused("expect ticked chk_wd 1 1\n");
    Refused("expect ticked chk_wd -1\n");
    Refused("expect caption lb_hello\n");
    Refused("expect caption lb_hello Hello, Alice\n");   // blanks need quotes
}

}  // namespace
