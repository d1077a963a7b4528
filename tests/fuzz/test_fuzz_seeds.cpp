// Every seed file of a fuzz target replays through its body as a test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_targets.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Seeds(const std::string& target) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(KORVAMO_SOURCE_DIR) / "tests/fuzz/seeds" / target))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(FuzzSeeds, MapFileReaderKeepsItsPromisesOnEverySeed) {
    const auto seeds = Seeds("mapfile");
    EXPECT_GE(seeds.size(), 8u);
    for (const fs::path& seed : seeds) {
        const auto bytes = Bytes(seed);
        EXPECT_TRUE(Fuzz_MapFile(bytes.data(), bytes.size())) << seed.filename();
    }
}

TEST(FuzzSeeds, ModulePlayerKeepsItsPromisesOnEverySeed) {
    const auto seeds = Seeds("xm");
    EXPECT_GE(seeds.size(), 8u);
    for (const fs::path& seed : seeds) {
        const auto bytes = Bytes(seed);
        EXPECT_TRUE(Fuzz_Xm(bytes.data(), bytes.size())) << seed.filename();
    }
}

TEST(FuzzSeeds, SettingsAndProfileReadersKeepTheirPromisesOnEverySeed) {
    const auto seeds = Seeds("persist");
    EXPECT_GE(seeds.size(), 8u);
    for (const fs::path& seed : seeds) {
        const auto bytes = Bytes(seed);
        EXPECT_TRUE(Fuzz_Persist(bytes.data(), bytes.size())) << seed.filename();
    }
}

TEST(FuzzSeeds, ImageDecoderKeepsItsPromisesOnEverySeed) {
    const auto seeds = Seeds("image");
    EXPECT_GE(seeds.size(), 8u);
    for (const fs::path& seed : seeds) {
        const auto bytes = Bytes(seed);
        EXPECT_TRUE(Fuzz_Image(bytes.data(), bytes.size())) << seed.filename();
    }
}

TEST(FuzzSeeds, WavDecoderKeepsItsPromisesOnEverySeed) {
    const auto seeds = Seeds("wav");
    EXPECT_GE(seeds.size(), 8u);
    for (const fs::path& seed : seeds) {
        const auto bytes = Bytes(seed);
        EXPECT_TRUE(Fuzz_Wav(bytes.data(), bytes.size())) << seed.filename();
    }
}

TEST(FuzzSeeds, FontMetricsParserKeepsItsPromisesOnEverySeed) {
    const auto seeds = Seeds("font");
    EXPECT_GE(seeds.size(), 8u);
    for (const fs::path& seed : seeds) {
        const auto bytes = Bytes(seed);
        EXPECT_TRUE(Fuzz_FontMetrics(bytes.data(), bytes.size())) << seed.filename();
    }
}

TEST(FuzzSeeds, NameListReaderKeepsItsPromisesOnEverySeed) {
    const auto seeds = Seeds("namelist");
    EXPECT_GE(seeds.size(), 6u);
    for (const fs::path& seed : seeds) {
        const auto bytes = Bytes(seed);
        EXPECT_TRUE(Fuzz_NameList(bytes.data(), bytes.size())) << seed.filename();
    }
}

}  // namespace
