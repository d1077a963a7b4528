// The span loops under the software canvas against the blend worked out one
// pixel at a time with plain divisions, on runs that mix transparent, opaque
// and translucent texels in every grouping and end at every length.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/blend_span.h"

namespace {

using oe::Blend;
using oe::Colour;

uint32_t Channel(uint32_t word, int shift) { return (word >> shift) & 0xFF; }

// One pixel's RGB as SDL's blitters give it.
uint32_t Expected(uint32_t texel, uint32_t colour, uint32_t below, Blend blend) {
    const uint32_t alpha = Channel(texel, 24) * Channel(colour, 24) / 255;
    uint32_t rgb = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t over = Channel(texel, shift) * Channel(colour, shift) / 255 * alpha / 255;
        const uint32_t under = Channel(below, shift);
        rgb |= (blend == Blend::Add ? std::min(over + under, 255u) : over + under * (255 - alpha) / 255) << shift;
    }
    return rgb;
}

uint32_t WordOf(Colour c) { return uint32_t(c.a) << 24 | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b; }

// Texels whose alphas run through fours of 0, fours of 255 and fours of mixed ones.
std::vector<uint32_t> Texels(int count, bool opaque) {
    static constexpr std::array<uint32_t, 8> kMixed{0, 255, 128, 1, 254, 77, 255, 0};
    std::vector<uint32_t> texels(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int four = i / 4 % 3;
        const uint32_t alpha = opaque || four == 1 ? 255 : four == 0 ? 0 : kMixed[size_t(i) % kMixed.size()];
        texels[size_t(i)] = alpha << 24 | uint32_t(i * 37 % 256) << 16 | uint32_t(255 - i * 11 % 256) << 8 |
                            uint32_t(i * 91 % 256);
    }
    return texels;
}

std::vector<uint32_t> Below(int count) {
    std::vector<uint32_t> below(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) below[size_t(i)] = 0xFF000000u | uint32_t(i * 2654435761u >> 8 & 0xFFFFFF);
    return below;
}

struct Case {
    Colour colour;
    Blend blend;
    bool opaque;   // every texel at alpha 255
};

class BlendSpans : public ::testing::TestWithParam<Case> {};

TEST_P(BlendSpans, MatchThePixelByPixelBlend) {
    const auto [colour, blend, opaque] = GetParam();
    for (int count : {1, 3, 4, 5, 8, 15, 37, 64}) {
        const std::vector<uint32_t> texels = Texels(count, opaque), below = Below(count);
        // The same colour once for the run and once per pixel.
        std::vector<uint32_t> one = below, each = below, colours(size_t(count), WordOf(colour));
        oe::BlendSpan(texels.data(), one.data(), count, colour, blend, opaque);
        oe::BlendSpanColours(texels.data(), colours.data(), each.data(), count, blend);
        for (size_t i = 0; i < size_t(count); ++i) {
            const uint32_t want = Expected(texels[i], WordOf(colour), below[i], blend);
            ASSERT_EQ(one[i] & 0xFFFFFF, want) << "one colour, pixel " << i << " of " << count;
            ASSERT_EQ(each[i] & 0xFFFFFF, want) << "a colour each, pixel " << i << " of " << count;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Colours, BlendSpans,
    ::testing::Values(Case{Colour{}, Blend::Normal, true}, Case{Colour{200, 120, 60, 255}, Blend::Normal, true},
                      Case{Colour{}, Blend::Normal, false}, Case{Colour{200, 120, 60, 255}, Blend::Normal, false},
                      Case{Colour{255, 255, 255, 200}, Blend::Normal, false},
                      Case{Colour{0, 0, 0, 111}, Blend::Normal, true}, Case{Colour{9, 250, 130, 0}, Blend::Normal, false},
                      Case{Colour{}, Blend::Add, false}, Case{Colour{0, 170, 255, 200}, Blend::Add, true},
                      Case{Colour{255, 230, 160, 31}, Blend::Add, false}));

TEST(BlendSpanColours, EachPixelTakesItsOwnColour) {
    constexpr int kCount = 29;
    const std::vector<uint32_t> texels = Texels(kCount, false), below = Below(kCount);
    std::vector<uint32_t> colours(kCount);
    for (uint32_t i = 0; i < kCount; ++i) colours[i] = (i % 5 ? 0xFF000000u : i * 9 << 24) | (i * 0x0913A7u & 0xFFFFFF);
    for (Blend blend : {Blend::Normal, Blend::Add}) {
        std::vector<uint32_t> out = below;
        oe::BlendSpanColours(texels.data(), colours.data(), out.data(), kCount, blend);
        for (size_t i = 0; i < kCount; ++i)
            ASSERT_EQ(out[i] & 0xFFFFFF, Expected(texels[i], colours[i], below[i], blend)) << i;
    }
}

TEST(StepColours, StepEachChannelByItsWholeLevels) {
    const std::array<int32_t, 4> value{0, 255 << 16, 100 << 16 | 0x8000, 255 << 16}, step{70000, -65537, 12345, 0};
    for (int count : {1, 3, 4, 9, 50}) {
        std::vector<uint32_t> colours(static_cast<size_t>(count));
        oe::StepColours(colours.data(), count, value, step);
        for (int i = 0; i < count; ++i) {
            uint32_t want = 0;
            for (size_t ch = 0; ch < 4; ++ch)
                want |= uint32_t(value[ch] + i * step[ch]) >> 16 << std::array{16, 8, 0, 24}[ch];
            ASSERT_EQ(colours[size_t(i)], want) << i << " of " << count;
        }
    }
}

}  // namespace
