#include "app/frame.h"
#include "core/state.h"
#include "editor/editor_draw.h"
#include "tests/editor/editor_fixture.h"

namespace {

std::vector<oe::RecordedCall> Calls(const std::string& name) {
    std::vector<oe::RecordedCall> out;
    for (const oe::RecordedCall& c : oe::Recorder_Calls())
        if (c.name == name) out.push_back(c);
    return out;
}

}  // namespace

TEST_F(EditorTest, WaypointMarkersOnlyWhileWayIsTicked) {
    World_AddWaypoint(world_map, 300, 200);
    World_AddWaypoint(world_map, 500, 250);
    DrawFrame();
    EXPECT_TRUE(Calls("Pr2D_Circle").empty());
    oe::Recorder_Clear();
    Ticked("chk_wp") = 1;
    DrawFrame();
    const auto circles = Calls("Pr2D_Circle");
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[1].args, (std::vector<double>{500, 250, 120, 0x00FF00, 255, 32, 0}));
    bool index_drawn = false;
    for (const auto& t : Calls("Text_Draw")) index_drawn |= t.text == "1" && t.args[0] == 495 && t.args[1] == 245;
    EXPECT_TRUE(index_drawn);
    // The camera is switched on only while the markers are drawn.
    EXPECT_EQ(game.main_camera->enabled, 0);
}

TEST_F(EditorTest, PreviewSitsOnTheGridPointWhileShiftIsHeld) {
    Select("lamp");
    MoveTo(101, 203);
    DrawPlacementPreview();
    EXPECT_TRUE(Calls("SSprite_Draw").empty());
    Shift(true);
    DrawPlacementPreview();
    const auto sprites = Calls("SSprite_Draw");
    ASSERT_EQ(sprites.size(), 1u);
    // "lamp1" is 24 x 48: bottom centre at (100, 204).
    EXPECT_EQ(sprites[0].args, (std::vector<double>{88, 156, 24, 48, 255, 0, 1}));
}

TEST_F(EditorTest, PreviewDrawsNothingWithoutAnItem) {
    FList_Clear(items_->items);
    Shift(true);
    DrawPlacementPreview();
    EXPECT_TRUE(Calls("SSprite_Draw").empty());
}
