// Angles, the nearest lamp, corner light and shadows.
#include <cmath>
#include <numbers>

#include "world/geometry.h"
#include "world_fixture.h"

namespace {

using Geometry = WorldTest;

TEST(GeoWrapDegrees, BringsAnyValueIntoZeroTo360LeavingBothEnds) {
    EXPECT_EQ(Geo_WrapDegrees(0), 0);
    EXPECT_EQ(Geo_WrapDegrees(360), 360);
    EXPECT_EQ(Geo_WrapDegrees(361), 1);
    EXPECT_EQ(Geo_WrapDegrees(720), 360);
    EXPECT_EQ(Geo_WrapDegrees(721), 1);
    EXPECT_EQ(Geo_WrapDegrees(-1), 359);
    EXPECT_EQ(Geo_WrapDegrees(-360), 0);
    EXPECT_EQ(Geo_WrapDegrees(-361), 359);
    EXPECT_EQ(Geo_WrapDegrees(-269), 91);
    const int32_t big = Geo_WrapDegrees(2147483647);
    EXPECT_TRUE(big > 0 && big <= 360);
    const int32_t low = Geo_WrapDegrees(-2147483647 - 1);
    EXPECT_TRUE(low >= 0 && low < 360);
    EXPECT_EQ((low + 2147483648LL) % 360, 0);
}

TEST(GeoRotate, TurnsBothComponentsFromTheOldValues) {
    float p = 0.0f, q = 10.0f;
    Geo_Rotate(p, q, 90);
    EXPECT_NEAR(p, -10.0f, 1e-5);
    EXPECT_NEAR(q, 0.0f, 1e-5);
    p = 3.0f;
    q = 4.0f;
    Geo_Rotate(p, q, 30);
    const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
    EXPECT_NEAR(p, 3 * c - 4 * s, 1e-5);
    EXPECT_NEAR(q, 4 * c + 3 * s, 1e-5);
    Geo_Rotate(p, q, -30);
    EXPECT_NEAR(p, 3.0f, 1e-5);
    EXPECT_NEAR(q, 4.0f, 1e-5);
}

TEST_F(Geometry, NearestLampKeepsTheEarlierOnTiesAndRounds) {
    auto w = NewWorld();
    World_Append(*w, Object("tree", 0, 0));
    World_Append(*w, Object("lamp", 100, 0));
    World_Append(*w, Object("lampx", 1, 0));
    World_Append(*w, Object("lamp", -100, 0));
    const tlamp_hit hit = Geo_NearestLamp(*w, 0.0f, 0.0f);
    EXPECT_EQ(hit.index, 1);
    EXPECT_EQ(hit.distance, 100);
    const tlamp_hit near = Geo_NearestLamp(*w, -90.5f, 0.0f);
    EXPECT_EQ(near.index, 3);
    EXPECT_EQ(near.distance, 10);   // 9.5 rounds away from zero
}

// The search walks out from the point and stops early; it must find what
// measuring every lamp finds, ties to the earlier lamp included, on worlds of
// lamps in rows and columns (many equal x, many ties) and scattered ones.
TEST_F(Geometry, NearestLampIsTheOneMeasuringEveryLampFinds) {
    uint32_t seed = 12345;
    auto next = [&seed](int32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return int32_t(seed >> 8) % range;
    };
    for (int world = 0; world < 40; ++world) {
        auto w = NewWorld();
        const int32_t spread = world % 2 ? 4000 : 6;   // on a grid of 6 x 6 spots: ties everywhere
        const int32_t step = world % 2 ? 1 : 100;
        for (int i = 0; i < 60; ++i)
            World_Append(*w, Object(i % 3 ? "lamp" : "tree", next(spread) * step, next(spread) * step));
        for (int q = 0; q < 50; ++q) {
            const float x = float(next(spread * step + 400) - 200), y = float(next(spread * step + 400) - 200);
            int32_t expected = 0;
            double best = 2147483648.0;
            for (int32_t k = 0; k < w->count; ++k) {
                const double d = M_Distance(w->objects[k].x, w->objects[k].y, x, y);
                if (w->objects[k].kind == "lamp" && d < best) best = d, expected = k;
            }
            const tlamp_hit hit = Geo_NearestLamp(*w, x, y);
            ASSERT_EQ(hit.index, expected) << "world " << world << " at " << x << ", " << y;
            EXPECT_EQ(hit.distance, M_Round(best));
        }
    }
}

TEST_F(Geometry, AWorldWithoutLampsIsLitEverywhere) {
    auto w = NewWorld();
    World_Append(*w, Object("tree", 5000, 7000));
    World_Append(*w, Object("house", -300, 20));
    w->objects[1].height = 100;
    const tlamp_hit hit = Geo_NearestLamp(*w, 1.0f, 2.0f);
    EXPECT_EQ(hit.index, 0);
    EXPECT_EQ(hit.distance, 0);
    Geo_CornerColours(*w);
    Geo_Shadows(*w, 0);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(w->objects[i].corner_colours, (std::array<int32_t, 4>{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
        EXPECT_EQ(w->objects[i].shadow_strength, 128);
    }
    // The shadow points as if the lamp stood at the first object.
    EXPECT_EQ(w->objects[1].shadow_angle, M_FindAngle(-300, 20, 5000, 7000) + 90);
}

TEST_F(Geometry, CornerLightDarkensBy0x111111Every50PixelsFromThePointUpAndLeft) {
    auto w = NewWorld();
    World_Append(*w, Object("lamp", 0, 0));
    tminimal o = Object("house", 128, 128);   // corner 1 looks up from (0, 0)
    o.width = 150;
    o.height = 320;
    World_Append(*w, o);
    Geo_CornerColours(*w);
    const auto& c = w->objects[1].corner_colours;
    EXPECT_EQ(c[0], 0xFFFFFF);   // distance 0
    EXPECT_EQ(c[1], 0xDDDDDD);   // 150: level 12
    EXPECT_EQ(c[2], 0x999999);   // 353: level 8
    EXPECT_EQ(c[3], 0xAAAAAA);   // 320: level 9
}

TEST_F(Geometry, CornerLightLevels) {
    auto w = NewWorld();
    World_Append(*w, Object("lamp", 1000, 1000));
    for (int d : {0, 99, 100, 149, 150, 699, 700, 749, 750, 5000}) World_Append(*w, Object("tree", 1128 + d, 1128));
    Geo_CornerColours(*w);
    const int32_t expected[] = {0xFFFFFF, 0xFFFFFF, 0xEEEEEE, 0xEEEEEE, 0xDDDDDD,
                                0x333333, 0x222222, 0x222222, 0x111111, 0x111111};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(w->objects[i + 1].corner_colours[0], expected[i]) << i;
}

TEST_F(Geometry, ShadowsFadeWithDistanceAndPointAwayFromTheLamp) {
    auto w = NewWorld();
    World_Append(*w, Object("lamp", 0, 0));
    tminimal tree = Object("tree", 300, 0);
    tree.height = 100;   // L = 30
    World_Append(*w, tree);
    tree.x = 384;
    World_Append(*w, tree);
    tree.x = 0;
    tree.y = -383;
    World_Append(*w, tree);
    Geo_Shadows(*w, 0);
    const tminimal& a = w->objects[1];
    EXPECT_EQ(a.shadow_strength, 28);
    EXPECT_EQ(a.shadow_angle, 90);
    // Drawn at minus the offset: to the right of the tree, away from the lamp.
    EXPECT_NEAR(a.shadow_dx, -30.0f, 1e-4);
    EXPECT_NEAR(a.shadow_dy, 0.0f, 1e-4);
    EXPECT_EQ(w->objects[2].shadow_strength, 0);
    const tminimal& up = w->objects[3];
    EXPECT_EQ(up.shadow_strength, 1);
    EXPECT_EQ(up.shadow_angle, 360);
    EXPECT_NEAR(up.shadow_dx, 0.0f, 1e-4);
    EXPECT_NEAR(up.shadow_dy, 30.0f, 1e-4);
}

TEST_F(Geometry, ShortObjectsGetAShadowOffsetPointingTheOtherWay) {
    auto w = NewWorld();
    World_Append(*w, Object("lamp", 0, 0));
    tminimal o = Object("flower", 100, 0);
    o.height = 30;   // L = 15 - 20 = -5
    World_Append(*w, o);
    o.height = 39;   // 19 - 20 = -1
    World_Append(*w, o);
    o.height = 3;    // 1 - 20 = -19
    World_Append(*w, o);
    Geo_Shadows(*w, 0);
    EXPECT_NEAR(w->objects[1].shadow_dx, 5.0f, 1e-4);
    EXPECT_NEAR(w->objects[2].shadow_dx, 1.0f, 1e-4);
    EXPECT_NEAR(w->objects[3].shadow_dx, 19.0f, 1e-4);
}

TEST_F(Geometry, ShadowsSkipPropsLampsLandAndTheOtherDynamicFlag) {
    auto w = NewWorld();
    World_Append(*w, Object("lamp", 0, 0));
    for (const char* kind :
         {"pen", "rak", "sball", "limit", "limit_45", "lamp", "lnd_grass", "lnd", "tree", "car", "bn_spd"}) {
        // The second lamp stands far away so the first one lights the rest.
        tminimal o = Object(kind, std::string(kind) == "lamp" ? 5000 : 50, 0);
        o.height = 100;
        o.shadow_strength = 77;
        o.shadow_angle = 5;
        o.shadow_dx = 1.5f;
        World_Append(*w, o);
    }
    w->objects[11].dynamic = 1;   // "bn_spd"
    Geo_Shadows(*w, 0);
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(w->objects[i].shadow_strength, 77) << w->objects[i].kind;
        EXPECT_EQ(w->objects[i].shadow_dx, 1.5f) << w->objects[i].kind;
    }
    EXPECT_EQ(w->objects[9].shadow_strength, 112);    // tree
    EXPECT_EQ(w->objects[10].shadow_strength, 112);   // car
    EXPECT_EQ(w->objects[11].shadow_strength, 77);    // dynamic: not in this pass
    Geo_Shadows(*w, 1);
    EXPECT_EQ(w->objects[11].shadow_strength, 112);
}

TEST_F(Geometry, SetSizesReadsTheWheelTextureOfCarsAndFrameOneOfTheRest) {
    AddTexture(object_registry, "first1", 8, 8);
    AddTexture(object_registry, "tank_wh1", 64, 48);
    AddTexture(object_registry, "tank1", 32, 32);
    AddTexture(object_registry, "lamp1", 48, 128);
    auto w = NewWorld();
    World_Append(*w, Object("tank", 0, 0));
    World_Append(*w, Object("lamp", 0, 0));
    World_Append(*w, Object("unknown", 0, 0));
    Geo_SetSizes(*w);
    EXPECT_EQ(w->objects[0].width, 64);
    EXPECT_EQ(w->objects[0].height, 48);
    EXPECT_EQ(w->objects[0].radius, 16);
    EXPECT_EQ(w->objects[1].height, 128);
    EXPECT_EQ(w->objects[1].radius, 12);
    EXPECT_EQ(w->objects[2].width, 8);
    object_registry = TBase{};
    Geo_SetSizes(*w);
    EXPECT_EQ(w->objects[0].width, 0);
    EXPECT_EQ(w->objects[0].radius, 0);
}

}  // namespace
