// The song's private heap: zeroed blocks, a byte budget, freed at once.
#include <gtest/gtest.h>

#include "music/arena.h"
#include "music/song.h"

namespace {

TEST(Arena, AllocationsAreZeroedAndCounted) {
    TArena a;
    auto* p = static_cast<uint8_t*>(Arena_Alloc(a, 64));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(p[i], 0);
    EXPECT_EQ(a.used, 64u);
    EXPECT_EQ(a.blocks.size(), 1u);
}

TEST(Arena, RequestsBeyondTheBudgetFail) {
    TArena a;
    a.budget = 100;
    EXPECT_NE(Arena_Alloc(a, 60), nullptr);
    EXPECT_EQ(Arena_Alloc(a, 41), nullptr);
    EXPECT_NE(Arena_Alloc(a, 40), nullptr);
    EXPECT_EQ(Arena_New<int64_t>(a, SIZE_MAX / 4), nullptr);
}

TEST(Arena, FreeReleasesEverythingAndKeepsTheBudget) {
    TArena a;
    a.budget = 1000;
    Arena_Alloc(a, 500);
    Arena_Alloc(a, 500);
    Arena_Free(a);
    EXPECT_EQ(a.used, 0u);
    EXPECT_TRUE(a.blocks.empty());
    EXPECT_EQ(a.budget, 1000u);
    EXPECT_NE(Arena_Alloc(a, 1000), nullptr);
}

TEST(Arena, NewConstructsRecordsWithTheirDefaults) {
    TArena a;
    TVoice* v = Arena_New<TVoice>(a, 3);
    ASSERT_NE(v, nullptr);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(v[i].sample, nullptr);
        EXPECT_EQ(v[i].ramp_left, -1);   // a default that is not zero
    }
}

}  // namespace
