// Every song of the shared XM folder, rendered through the player's block
// path, against the loudness an established player renders for it. A song
// this player renders differently on purpose is held to the envelope of its
// own earlier render instead, so a change that moves it is seen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/music/reference_songs.h"

namespace {

namespace fs = std::filesystem;

class ReferenceSongs : public ::testing::TestWithParam<std::string> {};

TEST_P(ReferenceSongs, LoudnessMatchesTheEstablishedPlayerOrItsOwnEarlierRender) {
    const std::string name = GetParam();
    int64_t ref_frames = 0;
    LoudnessEnvelope ref;
    ASSERT_TRUE(Loudness_ReadReference((ReferenceSongs_Folder() / (name + ".env")).string(), ref_frames, ref));
    // A song that jumps back never ends: a second past the reference is enough.
    std::string refused;
    const std::vector<int16_t> pcm = ReferenceSongs_Render(name, ref_frames + 48000, refused);
    const auto deviation = ReferenceSongs_Deviations().find(name);
    const bool deviates = deviation != ReferenceSongs_Deviations().end();
    if (!refused.empty()) {
        ASSERT_TRUE(deviates) << name << " was rejected by the loader: " << refused;
        GTEST_SKIP() << "rejected on purpose (" << refused << "): " << deviation->second;
    }
    std::string summary;
    const std::vector<std::string> failed =
        Loudness_Check(name, ref_frames, ref, int64_t(pcm.size() / 2), Loudness_Measure(pcm), summary);
    if (!deviates) {
        for (const std::string& f : failed) ADD_FAILURE() << summary << "\n  " << f;
        return;
    }
    OwnEnvelope before;
    ASSERT_TRUE(OwnEnvelope_Read((ReferenceSongs_EnvelopeFolder() / (name + ".env")).string(), before))
        << "no envelope of this player's own render of " << name
        << "; write them with `cmake --build build --target xm-envelopes`";
    const std::string moved = OwnEnvelope_Difference(before, OwnEnvelope_Measure(pcm));
    EXPECT_EQ(moved, "") << name << " renders differently from its own earlier render; after an intended change "
                         << "write the envelopes again with `cmake --build build --target xm-envelopes`";
    std::printf("  %s\n  differs on purpose: %s\n  within the established player's thresholds: %s\n",
                summary.c_str(), deviation->second.c_str(), failed.empty() ? "yes" : "no");
}

INSTANTIATE_TEST_SUITE_P(SharedXm, ReferenceSongs, ::testing::ValuesIn(ReferenceSongs_Names()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string id = info.param;
                             for (char& c : id)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return id;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ReferenceSongs);

TEST(ReferenceSongFolder, IsPresent) {
    if (!fs::is_directory(ReferenceSongs_Folder()))
        GTEST_SKIP() << "no reference songs at " << ReferenceSongs_Folder() << " (the shared folder sits beside the clone)";
    EXPECT_GE(ReferenceSongs_Names().size(), 1u);
}

}  // namespace
