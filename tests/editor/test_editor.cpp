#include "core/state.h"
#include "editor/editor.h"
#include "tests/editor/editor_fixture.h"

namespace {

std::vector<std::pair<int32_t, int32_t>> Positions() {
    std::vector<std::pair<int32_t, int32_t>> out;
    for (int32_t i = 0; i < world_map.count; ++i) out.emplace_back(world_map.objects[i].x, world_map.objects[i].y);
    return out;
}

}  // namespace

TEST_F(EditorTest, ClicksInOneEightPixelCellPlaceOneObject) {
    Shift(true);
    ClickAt(1, 101, 203);
    ClickAt(1, 103, 207);
    ASSERT_EQ(world_map.count, 1);
    const tminimal& o = world_map.objects[0];
    EXPECT_EQ(o.kind, "tile");
    EXPECT_EQ(o.x, 100);   // (101 div 8) * 8 + 4
    EXPECT_EQ(o.y, 204);
    EXPECT_EQ(o.colour, 0x111111);
    // The refresh gave the new object its size from the registry.
    EXPECT_EQ(o.width, 96);
    ClickAt(1, 109, 203);
    EXPECT_EQ(world_map.count, 2);
    EXPECT_EQ(world_map.objects[1].x, 108);
}

TEST_F(EditorTest, PlacingTakesTheCameraTheBoxesAndTheSelectedItem) {
    game.main_camera->x = 1000;
    game.main_camera->y = -64;
    Ticked("chk_ai") = 1;
    Ticked("chk_dyn") = 1;
    Element_Named("edt_col").caption = "255";
    Select("lamp");
    Shift(true);
    ClickAt(1, 16, 16);
    ASSERT_EQ(world_map.count, 1);
    const tminimal& o = world_map.objects[0];
    EXPECT_EQ(o.kind, "lamp");
    EXPECT_EQ(o.x, 1020);
    EXPECT_EQ(o.y, -44);
    EXPECT_EQ(o.ai, 1);
    EXPECT_EQ(o.dynamic, 1);
    EXPECT_EQ(o.colour, 255);
}

TEST_F(EditorTest, NothingHappensWithoutShift) {
    ClickAt(1, 100, 100);
    ClickAt(0, 100, 100);
    oe::Input_MouseButton(2, true, false);
    Tick();
    EXPECT_EQ(world_map.count, 0);
    EXPECT_EQ(world_map.waypoint_count, 0);
}

TEST_F(EditorTest, PaintingFillsA32PixelGridAndNeverTwice) {
    Shift(true);
    MoveTo(40, 40);
    oe::Input_MouseButton(2, true, false);
    Tick();
    Tick();
    MoveTo(50, 60);   // same 32 px cell
    Tick();
    ASSERT_EQ(world_map.count, 1);
    EXPECT_EQ(world_map.objects[0].x, 36);
    EXPECT_EQ(world_map.objects[0].y, 36);
    MoveTo(70, 40);
    Tick();
    ASSERT_EQ(world_map.count, 2);
    EXPECT_EQ(world_map.objects[1].x, 68);
}

TEST_F(EditorTest, WayBoxTurnsClicksIntoExactWaypointsWhilePaintingStillPlaces) {
    Ticked("chk_wp") = 1;
    game.main_camera->x = 7;
    Shift(true);
    ClickAt(1, 101, 203);
    EXPECT_EQ(world_map.count, 0);
    ASSERT_EQ(world_map.waypoint_count, 1);
    EXPECT_EQ(world_map.waypoints[0].x, 108);
    EXPECT_EQ(world_map.waypoints[0].y, 203);
    MoveTo(300, 300);
    oe::Input_MouseButton(2, true, false);
    Tick();
    EXPECT_EQ(world_map.count, 1);
    EXPECT_EQ(world_map.waypoint_count, 1);
}

TEST_F(EditorTest, DeletingWhereTileAndLampOverlapRemovesTheEarlierTile) {
    World_AddObject(world_map, "tile", 100, 100, 0, 0, 0);
    World_AddObject(world_map, "lamp", 104, 100, 0, 0, 0);
    World_AddObject(world_map, "lamp", 400, 400, 0, 0, 0);
    Shift(true);
    ClickAt(0, 103, 101);
    ASSERT_EQ(world_map.count, 2);
    EXPECT_EQ(world_map.objects[0].kind, "lamp");
    EXPECT_EQ(world_map.objects[0].x, 104);
    EXPECT_EQ(world_map.objects[1].x, 400);
    // The lamp's own pick circle is a third of its 24 px texture: radius 8.
    ClickAt(0, 104 + 9, 100);
    EXPECT_EQ(world_map.count, 2);
    ClickAt(0, 104 + 7, 100);
    EXPECT_EQ(world_map.count, 1);
}

TEST_F(EditorTest, DeletingOnEmptyGroundChangesNothing) {
    World_AddObject(world_map, "tile", 100, 100, 0, 0, 0);
    EXPECT_FALSE(Editor_DeleteAt(500, 500));
    EXPECT_EQ(world_map.count, 1);
}

TEST_F(EditorTest, MouseAtAnEdgeScrolls16PixelsATick) {
    MoveTo(5, 300);
    Tick();
    Tick();
    EXPECT_EQ(game.main_camera->x, -32);
    MoveTo(10, 300);
    Tick();
    EXPECT_EQ(game.main_camera->x, -32);
    MoveTo(791, 595);
    Tick();
    EXPECT_EQ(game.main_camera->x, -16);
    EXPECT_EQ(game.main_camera->y, 16);
    MoveTo(400, 9);
    Tick();
    EXPECT_EQ(game.main_camera->y, 0);
}

TEST_F(EditorTest, F5TwiceRestoresEveryPositionAndCarsFaceLeft) {
    World_AddObject(world_map, "tile", 100, -30, 0, 0, 0);
    World_AddObject(world_map, "jeep", -250, 40, 1, 0, 0);
    World_AddWaypoint(world_map, 17, 18);
    const auto before = Positions();
    oe::Input_Key(OE_KEY_F5, true);
    Tick();
    EXPECT_EQ(world_map.objects[0].x, -100);
    EXPECT_EQ(world_map.waypoints[0].x, -17);
    // Held, it mirrors only once.
    Tick();
    EXPECT_EQ(world_map.objects[0].x, -100);
    oe::Input_Key(OE_KEY_F5, false);
    Tick();
    oe::Input_Key(OE_KEY_F5, true);
    Tick();
    EXPECT_EQ(Positions(), before);
    EXPECT_EQ(world_map.waypoints[0].x, 17);
    EXPECT_FLOAT_EQ(world_map.objects[1].frame, 5.0f);
}

TEST_F(EditorTest, ColourThatIsNotAnIntegerOrAnEmptyListPlacesNothing) {
    Shift(true);
    Element_Named("edt_col").caption = "red";
    ClickAt(1, 100, 100);
    EXPECT_EQ(world_map.count, 0);
    Element_Named("edt_col").caption = "255";
    FList_Clear(items_->items);
    ClickAt(1, 100, 100);
    oe::Input_MouseButton(2, true, false);
    Tick();
    EXPECT_EQ(world_map.count, 0);
}

TEST_F(EditorTest, FullMapPlacesNothing) {
    for (int32_t i = 0; i < WORLD_CAPACITY; ++i) World_AddObject(world_map, "tile", i * 10, 0, 0, 0, 0);
    ASSERT_EQ(world_map.count, WORLD_CAPACITY);
    Shift(true);
    ClickAt(1, 300, 300);
    EXPECT_EQ(world_map.count, WORLD_CAPACITY);
}

TEST(EditorColour, DecimalOrHexadecimalAfterDollar) {
    EXPECT_EQ(Editor_ParseColour("$111111"), 1118481);
    EXPECT_EQ(Editor_ParseColour("255"), 255);
    EXPECT_EQ(Editor_ParseColour("-1"), -1);
    EXPECT_EQ(Editor_ParseColour("$ff8000"), 0xFF8000);
    EXPECT_EQ(Editor_ParseColour("$FFFFFFFF"), -1);
    for (const char* bad : {"", "$", "$xyz", "12 ", " 12", "1e3", "$123456789", "99999999999", "0x10", "--1"}) {
        EXPECT_EQ(Editor_ParseColour(bad), std::nullopt) << bad;
    }
}
