// The tick refreshes the draw list in the states that show the world, and the
// frame draws the world and the minimap where the race needs them.
#include "app/frame.h"
#include "app/tick.h"
#include "core/state.h"
#include "world/view.h"
#include "world_fixture.h"

namespace {

class RaceHooks : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        AddTexture(object_registry, "tree1", 64, 64);
        AddTexture(object_registry, "lnd_sand1", 128, 128);
        AddTexture(share_registry, "g_wh", 128, 128);
        for (const auto& [kind, x, y] : std::vector<std::tuple<std::string, int32_t, int32_t>>{
                 {"tree", 300, 500}, {"lnd_sand", 64, 128}, {"tree", 5000, 100}, {"tree", 200, 300}}) {
            tminimal o = Object(kind, x, y);
            o.width = o.height = 64;
            o.frame = 1.0f;
            World_Append(world_map, o);
        }
        World_AddWaypoint(world_map, 0, 0);
        World_AddWaypoint(world_map, 300, 0);
    }

    static std::vector<int32_t> DrawListX() {
        std::vector<int32_t> xs;
        for (int i = 0; i < draw_list.count; ++i) xs.push_back(draw_list.objects[i].x);
        return xs;
    }
};

TEST_F(RaceHooks, TheTickRefreshesTheDrawListWhereverTheWorldIsShown) {
    for (uint8_t state : {STATE_RACE, STATE_FINISHED, STATE_PAUSED, STATE_EDITOR}) {
        SCOPED_TRACE(static_cast<int>(state));
        World_Clear(draw_list);
        game.state = state;
        GameTick();
        EXPECT_EQ(DrawListX(), (std::vector<int32_t>{64, 200, 300}));
    }
    World_Clear(draw_list);
    game.state = STATE_MENU;
    GameTick();
    EXPECT_EQ(draw_list.count, 0);
}

TEST_F(RaceHooks, TheRaceFrameDrawsBackgroundWorldCornerImageThenMinimap) {
    game.state = STATE_RACE;
    World_RefreshDrawList();
    oe::Recorder_Enable(true);
    DrawFrame();
    std::vector<std::string> order;
    for (const oe::RecordedCall& c : oe::Recorder_Calls()) {
        if (c.name == "Pr2D_Rect" && c.args[2] == 800) order.push_back("background");
        if (c.name == "SSprite_Draw" && c.handle == TexBase_Find(object_registry, "tree1") && c.args[6] == 65)
            order.push_back("tree");
        if (c.name == "SSprite_Draw" && c.handle == TexBase_Find(share_registry, "g_wh") && c.args[0] == 0)
            order.push_back("g_wh");
        if (c.name == "Pr2D_Rect" && c.args[5] == 64 && c.args[0] + c.args[2] == 784) order.push_back("minimap");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"background", "tree", "tree", "g_wh", "minimap"}));
}

TEST_F(RaceHooks, PausedAndFinishedFramesShowTheWorldWithoutTheMinimap) {
    World_RefreshDrawList();
    for (uint8_t state : {STATE_PAUSED, STATE_FINISHED}) {
        game.state = state;
        oe::Recorder_Enable(true);
        DrawFrame();
        int trees = 0, minimaps = 0;
        for (const oe::RecordedCall& c : oe::Recorder_Calls()) {
            trees += c.name == "SSprite_Draw" && c.handle == TexBase_Find(object_registry, "tree1") && c.args[6] == 65;
            minimaps += c.name == "Pr2D_Rect" && c.args[5] == 64;
        }
        EXPECT_EQ(trees, 2);
        EXPECT_EQ(minimaps, 0);
        oe::Recorder_Enable(false);
    }
}

}  // namespace
