// Drawing the world and the minimap, call by call through the recording backend.
#include <cstdio>

#include "core/state.h"
#include "world/render.h"
#include "world/tween.h"
#include "world_fixture.h"

namespace {

class Render : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        for (const auto& [name, w, h] : std::vector<std::tuple<std::string, int, int>>{
                 {"tree1", 100, 80},     {"car_wh13", 60, 50}, {"car_tp13", 62, 52}, {"car_wh16", 60, 50},
                 {"car_tp16", 62, 52},   {"lamp1", 30, 90},    {"lnd_water1", 128, 128},
                 {"lnd_start1", 128, 128}, {"bn_spd1", 32, 32}, {"limit1", 64, 40}})
            AddTexture(object_registry, name, w, h);
        AddTexture(share_registry, "light", 16, 16);
        view_ = NewWorld();
    }

    // The logged calls with texture handles shown by name.
    static std::vector<std::string> Log() {
        std::vector<std::string> out;
        for (const oe::RecordedCall& c : oe::Recorder_Calls()) {
            std::string line = c.name;
            if (c.handle) line += " " + NameOf(c.handle);
            for (double a : c.args) {
                char buf[32];
                std::snprintf(buf, sizeof buf, " %.10g", a);
                line += buf;
            }
            out.push_back(line);
        }
        return out;
    }

    static std::string NameOf(const void* handle) {
        for (const TBase* base : {&object_registry, &share_registry})
            for (int i = 0; i < base->count; ++i)
                if (base->entries[i].texture == handle) return base->entries[i].name;
        return "?";
    }

    std::vector<std::string> Draw(const tminimal& o, float progress = 1.0f) {
        World_Clear(*view_);
        World_Append(*view_, o);
        oe::Recorder_Enable(true);
        DrawWorld(*view_, progress);
        const auto log = Log();
        oe::Recorder_Enable(false);
        return log;
    }

    std::unique_ptr<tworld> view_;
};

TEST_F(Render, APropCastsItsShadowThenDrawsItsBodyInItsLight) {
    tminimal o = Object("tree", 500, 400);
    o.frame = 1.0f;
    o.shadow_strength = 100;
    o.shadow_angle = 30;
    o.shadow_dx = 3.5f;
    o.shadow_dy = -4.25f;
    o.corner_colours = {0x111111, 0x222222, 0x333333, 0x444444};
    EXPECT_EQ(Draw(o), (std::vector<std::string>{
                           "FX_SetColorMix 0",
                           "FX_SetVertexes 0 -28 0 -28 0 0 0 0",
                           "SSprite_Draw tree1 447 344 100 80 100 30 41",
                           "FX_SetVCA 1118481 2236962 3355443 4473924 255 255 255 255",
                           "SSprite_Draw tree1 450 320 100 80 255 0 65",
                       }));
}

// Between ticks a dynamic object is drawn on its way from where the last tick
// found it, exactly as if it stood there; a fixed one, or one that jumped
// further than a tick's move, is drawn where it is.
TEST_F(Render, BetweenTicksOnlyDynamicObjectsAreDrawnOnTheirWay) {
    tminimal car = Object("car", 500, 400);
    car.frame = 13.0f;
    car.dynamic = 1;
    car.before_tick = {480, 390};
    tminimal halfway = car;
    halfway.x = 490;
    halfway.y = 395;
    EXPECT_EQ(Draw(car, 0.5f), Draw(halfway));
    EXPECT_EQ(Draw(car, 0.0f)[0], "SSprite_Draw car_wh13 450 340 60 50 255 0 1");
    tminimal jumped = car;
    jumped.before_tick = {500 - TWEEN_MAX_STEP - 1, 400};
    tminimal fixed = car;
    fixed.dynamic = 0;
    for (const tminimal& o : {jumped, fixed}) EXPECT_EQ(Draw(o, 0.5f), Draw(o));
}

TEST_F(Render, AShadowsAlphaIsTheLowByteOfItsStrength) {
    tminimal o = Object("tree", 0, 0);
    o.frame = 1.0f;
    o.shadow_strength = 300;
    EXPECT_EQ(Draw(o)[2], "SSprite_Draw tree1 -50 -60 100 80 44 0 41");
}

TEST_F(Render, ACarIsWheelsThenBodyShadowThenTintedBodyWithBounce) {
    tminimal o = Object("car", 300, 200);
    o.frame = 13.0f;
    o.colour = 0x4B88C3;
    o.shadow_dx = 10.0f;
    o.shadow_dy = -6.0f;
    o.shadow_strength = 128;
    o.bounce = 0;
    const std::vector<std::string> still = {
        "SSprite_Draw car_wh13 270 150 60 50 255 0 1",
        "FX_SetColorMix 0",
        "SSprite_Draw car_tp13 264 167 62 52 128 0 9",
        "FX_SetColorMix 4950211",
        "SSprite_Draw car_tp13 269 148 62 52 255 0 9",
    };
    EXPECT_EQ(Draw(o), still);
    o.bounce = 1;
    const std::vector<std::string> jolted = {
        "SSprite_Draw car_wh13 270 149 60 50 255 0 1",   // wheels one pixel up
        "FX_SetColorMix 0",
        "SSprite_Draw car_tp13 264 167 62 52 128 0 9",   // the shadow stays
        "FX_SetColorMix 4950211",
        "SSprite_Draw car_tp13 269 149 62 52 255 0 9",   // body one pixel down
    };
    EXPECT_EQ(Draw(o), jolted);
}

TEST_F(Render, ACarsFrameSixteenUsesTheTexturesEndingIn16) {
    tminimal o = Object("car", 0, 0);
    o.frame = 15.6f;
    const auto log = Draw(o);
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].substr(0, 22), "SSprite_Draw car_wh16 ");
    EXPECT_EQ(log[4].substr(0, 22), "SSprite_Draw car_tp16 ");
}

TEST_F(Render, ALampHasNoShadowButItsLight) {
    tminimal o = Object("lamp", 1000, 900);
    o.frame = 1.0f;
    o.shadow_strength = 128;
    o.corner_colours = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    EXPECT_EQ(Draw(o), (std::vector<std::string>{
                           "FX_SetVCA 16777215 16777215 16777215 16777215 255 255 255 255",
                           "SSprite_Draw lamp1 985 810 30 90 255 0 65",
                           "FX_SetBlendMode 1",
                           "SSprite_Draw light 872 670 256 256 200 0 1",
                           "FX_SetBlendMode 0",
                       }));
}

TEST_F(Render, ABonusGlowsBlueWithoutAShadow) {
    tminimal o = Object("bn_spd", 100, 100);
    o.frame = 1.0f;
    EXPECT_EQ(Draw(o), (std::vector<std::string>{
                           "FX_SetVCA 0 0 0 0 255 255 255 255",
                           "SSprite_Draw bn_spd1 84 68 32 32 255 0 65",
                           "FX_SetBlendMode 1",
                           "FX_SetColorMix 43775",
                           "SSprite_Draw light 36 20 128 128 200 0 9",
                           "FX_SetBlendMode 0",
                       }));
}

TEST_F(Render, WaterSwaysItsCornersOtherTilesAndBarriersOnlyTakeTheirLight) {
    tminimal water = Object("lnd_water", 64, 128);
    water.frame = 1.0f;
    water.corner_offsets = {tcorner{1, -2}, tcorner{3, -4}, tcorner{5, -6}, tcorner{-1, 2}};
    water.shadow_strength = 128;
    EXPECT_EQ(Draw(water), (std::vector<std::string>{
                               "FX_SetVCA 0 0 0 0 255 255 255 255",
                               "FX_SetVertexes 1 -2 3 -4 5 -6 -1 2",
                               "SSprite_Draw lnd_water1 0 0 128 128 255 0 97",
                           }));
    tminimal start = water;
    start.kind = "lnd_start";
    EXPECT_EQ(Draw(start), (std::vector<std::string>{
                               "FX_SetVCA 0 0 0 0 255 255 255 255",
                               "SSprite_Draw lnd_start1 0 0 128 128 255 0 65",
                           }));
    tminimal limit = water;
    limit.kind = "limit";
    EXPECT_EQ(Draw(limit).size(), 2u);
}

TEST_F(Render, ObjectsAreFinishedInListOrderAndEmptySlotsSkipped) {
    World_Clear(*view_);
    tminimal a = Object("bn_spd", 0, 0);
    a.frame = 1.0f;
    tminimal gap = Object("", 0, 0);
    tminimal b = Object("lnd_start", 0, 0);
    b.frame = 1.0f;
    for (const tminimal& o : {a, gap, b}) World_Append(*view_, o);
    game.main_camera->enabled = 1;
    oe::Recorder_Enable(true);
    DrawWorld(*view_);
    const auto log = Log();
    ASSERT_EQ(log.size(), 8u);
    EXPECT_EQ(log[5], "FX_SetBlendMode 0");   // the bonus's glow ends before the next object
    EXPECT_EQ(log[7].substr(0, 23), "SSprite_Draw lnd_start1");
    EXPECT_EQ(game.main_camera->enabled, 0);
}

class Minimap : public Render {
protected:
    void SetUp() override {
        Render::SetUp();
        World_AddWaypoint(world_map, 1000, 2000);
        World_AddWaypoint(world_map, 1300, 2000);
        World_AddWaypoint(world_map, 1300, 2450);
        tminimal car = Object("car", 1150, 2225);
        car.frame = 13.0f;
        car.colour = 0xFF0000;
        tminimal start = Object("lnd_start", 1000, 2000);
        start.frame = 1.0f;
        for (const tminimal& o : {Object("tree", 1100, 2100), car, start}) World_Append(world_map, o);
    }

    std::vector<std::string> DrawMap() {
        oe::Recorder_Enable(true);
        DrawMinimap(world_map);
        const auto log = Log();
        oe::Recorder_Enable(false);
        return log;
    }
};

TEST_F(Minimap, BoxRoutePictureAndIcons) {
    const auto log = DrawMap();
    // 52 x 62: a fifteenth of 300 x 450 plus 32, its lower right at (784, 584).
    ASSERT_EQ(log.size(), 1u + 1u + 4u);
    EXPECT_EQ(log[0], "Pr2D_Rect 732 522 52 62 0 64 1");
    // The route's picture: 20 x 30 plus four pixels each side, from (748, 538) - 4.
    EXPECT_EQ(log[1], "SSprite_Draw ? 744 534 29 39 255 0 1");
    EXPECT_EQ(log[2], "SSprite_Draw car_wh13 739 534 32 32 255 0 1");
    EXPECT_EQ(log[3], "FX_SetColorMix 16711680");
    EXPECT_EQ(log[4], "SSprite_Draw car_tp13 739 534 32 32 255 0 9");
    EXPECT_EQ(log[5], "SSprite_Draw lnd_start1 729 519 32 32 255 0 1");
}

TEST_F(Minimap, ShiftingTheWholeMapLeavesItUnchanged) {
    const auto before = DrawMap();
    for (int i = 0; i < world_map.count; ++i) {
        world_map.objects[i].x += 777;
        world_map.objects[i].y -= 3333;
    }
    for (int i = 0; i < world_map.waypoint_count; ++i) {
        world_map.waypoints[i].x += 777;
        world_map.waypoints[i].y -= 3333;
    }
    EXPECT_EQ(DrawMap(), before);
}

TEST_F(Minimap, WithoutWaypointsTheBoxIs32AndThereIsNoRoute) {
    world_map.waypoint_count = 0;
    const auto log = DrawMap();
    EXPECT_EQ(log[0], "Pr2D_Rect 752 552 32 32 0 64 1");
    for (const std::string& line : log) EXPECT_NE(line.substr(0, 14), "SSprite_Draw ?");
}

TEST_F(Minimap, WaypointsAtOnePointGiveThe32Box) {
    for (int i = 0; i < world_map.waypoint_count; ++i) world_map.waypoints[i] = {-5, 9};
    const auto log = DrawMap();
    EXPECT_EQ(log[0], "Pr2D_Rect 752 552 32 32 0 64 1");
    EXPECT_EQ(log[1], "SSprite_Draw ? 764 564 9 9 255 0 1");
}

}  // namespace
