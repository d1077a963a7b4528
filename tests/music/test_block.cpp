// The output block: float-to-16-bit conversion at a volume, and its level.
#include <gtest/gtest.h>

#include <array>

#include "music/block.h"

namespace {

struct Block {
    std::array<float, 2 * kBlockFrames> acc{};
    std::array<int16_t, 2 * kBlockFrames> out{};
};

TEST(Block, RoundsToTheNearestIntegerAndClamps) {
    Block b;
    const float in[] = {0.4f, 0.6f, -0.6f, 1.5f, 2.5f, 40000.0f, -40000.0f, 32767.4f};
    for (size_t i = 0; i < 8; ++i) b.acc[i] = in[i];
    Block_Convert(b.acc.data(), b.out.data(), kFullVolumeDivisor);
    const int16_t want[] = {0, 1, -1, 2, 2, 32767, -32768, 32767};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(b.out[i], want[i]) << i;
}

TEST(Block, DivisorScalesBy16OverItTruncatingTowardZero) {
    Block b;
    b.acc[0] = 3000.0f;
    b.acc[1] = -3001.0f;
    b.acc[2] = 32767.0f;
    Block_Convert(b.acc.data(), b.out.data(), 48);   // volume 32 of 64
    EXPECT_EQ(b.out[0], 1000);
    EXPECT_EQ(b.out[1], -1000);
    EXPECT_EQ(b.out[2], 10922);
    Block_Convert(b.acc.data(), b.out.data(), 2147483647 - 48);   // volume 0
    EXPECT_EQ(b.out[2], 0);
}

TEST(Block, FullScaleSquareWaveHasLevel32767OnBothSides) {
    Block b;
    for (int f = 0; f < kBlockFrames; ++f) b.acc[2 * f] = b.acc[2 * f + 1] = (f & 1) ? 32767.0f : -32767.0f;
    EXPECT_EQ(Block_Convert(b.acc.data(), b.out.data(), kFullVolumeDivisor), (32767u << 16) | 32767u);
}

TEST(Block, SilenceHasLevel0AndSidesAreSeparate) {
    Block b;
    EXPECT_EQ(Block_Convert(b.acc.data(), b.out.data(), kFullVolumeDivisor), 0u);
    for (int f = 0; f < kBlockFrames; ++f) b.acc[2 * f + 1] = -2048.0f;
    EXPECT_EQ(Block_Convert(b.acc.data(), b.out.data(), kFullVolumeDivisor), 2048u);
}

}  // namespace
