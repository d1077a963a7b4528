// The harness's `autopilot on|off` command.
#include <gtest/gtest.h>

#include "tools/harness/script.h"

namespace {

TEST(ScriptAutopilot, TakesOnOrOff) {
    std::vector<harness::Line> lines;
    std::string error;
    ASSERT_TRUE(harness::ParseScript("autopilot on\nautopilot off # done\n", lines, error)) << error;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].words, (std::vector<std::string>{"autopilot", "on"}));
    EXPECT_EQ(lines[1].words, (std::vector<std::string>{"autopilot", "off"}));
    for (const char* bad : {"autopilot\n", "autopilot 1\n", "autopilot on off\n", "autopilot ON\n"}) {
        lines.clear();
        EXPECT_FALSE(harness::ParseScript(bad, lines, error)) << bad;
    }
}

}  // namespace
