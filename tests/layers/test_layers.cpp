// The game's folders are layers: a file includes only from its own folder and
// from the folders below it (assets and music are peers and see neither the
// other). This walks every #include line of the game's folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Each folder with its height; folders of one height are peers.
const std::map<std::string, int> kLayers = {
    {"engine", 0}, {"core", 1}, {"assets", 2}, {"music", 2}, {"world", 3},
    {"persist", 4}, {"ui", 5}, {"editor", 6}, {"app", 7},
};

// The include lines of `source` (a file of folder `folder`) that reach a
// folder above it, a peer, or a folder that is no layer.
std::vector<std::string> UpwardIncludes(const std::string& folder, const std::string& source) {
    static const std::regex include(R"(^\s*#\s*include\s*"([^/"]+)/[^"]*")");
    std::vector<std::string> found;
    std::istringstream lines(source);
    std::string line;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (!std::regex_search(line, m, include)) continue;
        const std::string target = m[1];
        const auto layer = kLayers.find(target);
        const bool allowed = target == folder ||
                             (layer != kLayers.end() && layer->second < kLayers.at(folder));
        if (!allowed) found.push_back(line);
    }
    return found;
}

struct IncludeCase {
    const char* folder;
    const char* line;
    bool upward;
};

class LayerRule : public ::testing::TestWithParam<IncludeCase> {};

TEST_P(LayerRule, TellsUpwardAndPeerIncludesFromDownwardOnes) {
    const IncludeCase& c = GetParam();
    EXPECT_EQ(!UpwardIncludes(c.folder, c.line).empty(), c.upward) << c.folder << ": " << c.line;
}

INSTANTIATE_TEST_SUITE_P(Cases, LayerRule,
                         ::testing::Values(IncludeCase{"world", "#include \"ui/element.h\"", true},
                                           IncludeCase{"world", "  # include \"app/tick.h\" // x", true},
                                           IncludeCase{"assets", "#include \"music/modplayer.h\"", true},
                                           IncludeCase{"core", "#include \"tools/harness/script.h\"", true},
                                           IncludeCase{"ui", "#include \"world/world.h\"", false},
                                           IncludeCase{"music", "#include \"music/mixer.h\"", false},
                                           IncludeCase{"assets", "#include \"core/state.h\"", false},
                                           IncludeCase{"engine", "#include <SDL.h>", false}));

TEST(Layers, NoFileOfTheGameIncludesUpwards) {
    namespace fs = std::filesystem;
    int files = 0;
    for (const auto& [folder, height] : kLayers) {
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(KORVAMO_SOURCE_DIR) / folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            for (const std::string& line : UpwardIncludes(folder, text.str()))
                ADD_FAILURE() << entry.path().lexically_relative(KORVAMO_SOURCE_DIR).string() << ": " << line;
            ++files;
        }
    }
    EXPECT_GT(files, 100);
}

}  // namespace
