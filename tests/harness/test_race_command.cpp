// The harness's `race TRACK` command.
#include <gtest/gtest.h>

#include "tools/harness/script.h"

namespace {

TEST(ScriptRace, TakesExactlyOneTrackName) {
    std::vector<harness::Line> lines;
    std::string error;
    ASSERT_TRUE(harness::ParseScript("race beach1\nrace city2r\n", lines, error)) << error;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].words, (std::vector<std::string>{"race", "city2r"}));
    for (const char* bad : {"race\n", "race beach1 beach2\n"}) {
        lines.clear();
        EXPECT_FALSE(harness::ParseScript(bad, lines, error)) << bad;
    }
}

}  // namespace
