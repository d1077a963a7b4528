// The operations that edit a world and build the draw list from the map.
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/state.h"
#include "world/view.h"
#include "world_fixture.h"

namespace {

using WorldOps = WorldTest;

TEST_F(WorldOps, ClearEmptiesTheNamesButKeepsTheWaypoints) {
    auto w = NewWorld();
    World_Append(*w, Object("tree", 1, 2));
    World_AddWaypoint(*w, 5, 6);
    World_Clear(*w);
    EXPECT_EQ(w->count, 0);
    EXPECT_EQ(w->objects[0].kind, "");
    EXPECT_EQ(w->waypoint_count, 1);
}

TEST_F(WorldOps, AddObjectSetsItsFieldsAndKeepsTheRestOfTheSlot) {
    auto w = NewWorld();
    w->objects[0].speed = 7.5f;
    w->objects[0].corner_offsets[2] = {3, -4};
    w->objects[0].frame = 9.0f;
    ASSERT_TRUE(World_AddObject(*w, "bn_spd", 10, 20, 0, 1, 0xFFFFFF));
    const tminimal& o = w->objects[0];
    EXPECT_EQ(w->count, 1);
    EXPECT_EQ(o.kind, "bn_spd");
    EXPECT_EQ(o.x, 10);
    EXPECT_EQ(o.y, 20);
    EXPECT_EQ(o.dynamic, 1);
    EXPECT_EQ(o.colour, 0xFFFFFF);
    EXPECT_EQ(o.frame, 1.0f);
    EXPECT_EQ(o.corner_colours, (std::array<int32_t, 4>{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
    EXPECT_EQ(o.speed, 7.5f);
    EXPECT_EQ(o.corner_offsets[2].x, 3);
    EXPECT_EQ(o.corner_offsets[2].y, -4);
}

TEST_F(WorldOps, AddObjectRefusesAPlaceTakenByANamedObject) {
    auto w = NewWorld();
    ASSERT_TRUE(World_AddObject(*w, "tree", 10, 20, 0, 0, 0));
    EXPECT_FALSE(World_AddObject(*w, "bush", 10, 20, 0, 0, 0));
    EXPECT_TRUE(World_AddObject(*w, "bush", 10, 21, 0, 0, 0));
    EXPECT_EQ(w->count, 2);
    // An unnamed object does not hold its place.
    w->objects[0].kind.clear();
    EXPECT_TRUE(World_AddObject(*w, "bush", 10, 20, 0, 0, 0));
}

TEST_F(WorldOps, AFullWorldTakesNoMoreObjectsOrWaypoints) {
    auto w = NewWorld();
    for (int i = 0; i < WORLD_CAPACITY; ++i) {
        ASSERT_TRUE(World_Append(*w, Object("a", i, 0)));
        ASSERT_TRUE(World_AddWaypoint(*w, i, 0));
    }
    EXPECT_FALSE(World_Append(*w, Object("b", -1, 0)));
    EXPECT_FALSE(World_AddObject(*w, "b", -1, -1, 0, 0, 0));
    EXPECT_FALSE(World_AddWaypoint(*w, -1, -1));
    EXPECT_EQ(w->count, WORLD_CAPACITY);
    EXPECT_EQ(w->waypoint_count, WORLD_CAPACITY);
    EXPECT_EQ(w->objects[WORLD_CAPACITY - 1].x, WORLD_CAPACITY - 1);
    // A damaged count never indexes outside the arrays either.
    w->count = -2;
    EXPECT_FALSE(World_Append(*w, Object("b", 0, 0)));
    w->count = WORLD_CAPACITY + 10;
    World_DeleteByName(*w, "a");
    EXPECT_EQ(w->count, WORLD_CAPACITY - 1);
}

TEST_F(WorldOps, DeleteByNameRemovesTheFirstMatchAndKeepsTheOrder) {
    auto w = NewWorld();
    for (const char* k : {"a", "delete", "b", "delete", "c"}) World_Append(*w, Object(k, 0, 0));
    World_DeleteByName(*w, "delete");
    ASSERT_EQ(w->count, 4);
    EXPECT_EQ(w->objects[0].kind, "a");
    EXPECT_EQ(w->objects[1].kind, "b");
    EXPECT_EQ(w->objects[2].kind, "delete");
    EXPECT_EQ(w->objects[3].kind, "c");
    World_DeleteByName(*w, "missing");
    EXPECT_EQ(w->count, 4);
}

TEST_F(WorldOps, MirrorNegatesXAndTurnsCarsLeftAndTwiceRestoresPositions) {
    auto w = NewWorld();
    World_Append(*w, Object("tree", 100, 7));
    World_Append(*w, Object("turbo", -30, 8));
    w->objects[0].frame = 1.0f;
    w->objects[1].frame = 13.0f;
    World_AddWaypoint(*w, 40, 50);
    World_Mirror(*w);
    EXPECT_EQ(w->objects[0].x, -100);
    EXPECT_EQ(w->objects[1].x, 30);
    EXPECT_EQ(w->waypoints[0].x, -40);
    EXPECT_EQ(w->objects[0].frame, 1.0f);
    EXPECT_EQ(w->objects[1].frame, 5.0f);
    World_Mirror(*w);
    EXPECT_EQ(w->objects[0].x, 100);
    EXPECT_EQ(w->objects[0].y, 7);
    EXPECT_EQ(w->objects[1].x, -30);
    EXPECT_EQ(w->waypoints[0].x, 40);
    EXPECT_EQ(w->waypoints[0].y, 50);
    EXPECT_EQ(w->objects[1].frame, 5.0f);
}

TEST_F(WorldOps, MirrorOfTheMostNegativeXGivesTheLargest) {
    auto w = NewWorld();
    World_Append(*w, Object("tree", std::numeric_limits<int32_t>::min(), 0));
    World_Mirror(*w);
    EXPECT_EQ(w->objects[0].x, std::numeric_limits<int32_t>::max());
}

TEST_F(WorldOps, OnScreenBoundsAreStrictOnEverySide) {
    auto w = NewWorld();
    game.main_camera->x = 1000;
    game.main_camera->y = 2000;
    auto at = [&](int32_t x, int32_t y) {
        World_Clear(*w);
        tminimal o = Object("tree", x, y);
        o.width = 64;
        o.height = 50;
        World_Append(*w, o);
        return World_OnScreen(*w, 0);
    };
    EXPECT_FALSE(at(1000 - 64, 2100));   // exactly width left of the camera
    EXPECT_TRUE(at(1000 - 63, 2100));
    EXPECT_FALSE(at(1000 + 864, 2100));  // rx = width + 800
    EXPECT_TRUE(at(1000 + 863, 2100));
    EXPECT_FALSE(at(1200, 2000 - 50));   // ry = -height
    EXPECT_TRUE(at(1200, 2000 - 49));
    EXPECT_FALSE(at(1200, 2000 + 700));  // ry = 2 height + 600
    EXPECT_TRUE(at(1200, 2000 + 699));
    // Positions far apart never overflow the comparison.
    EXPECT_FALSE(at(std::numeric_limits<int32_t>::min(), 2100));
    game.main_camera->x = std::numeric_limits<int32_t>::min();
    EXPECT_FALSE(at(std::numeric_limits<int32_t>::max(), 2100));
    EXPECT_FALSE(World_OnScreen(*w, 1));  // past the count
    EXPECT_FALSE(World_OnScreen(*w, -1));
}

TEST_F(WorldOps, BuildViewCopiesTheObjectsOnScreenInMapOrder) {
    auto map = NewWorld();
    auto view = NewWorld();
    for (int32_t x : {100, 5000, 300, -900, 700}) {
        tminimal o = Object("tree", x, 100);
        o.width = o.height = 64;
        World_Append(*map, o);
    }
    World_Append(*view, Object("stale", 0, 0));
    view->waypoint_count = 3;
    World_BuildView(*view, *map);
    ASSERT_EQ(view->count, 3);
    EXPECT_EQ(view->objects[0].x, 100);
    EXPECT_EQ(view->objects[1].x, 300);
    EXPECT_EQ(view->objects[2].x, 700);
    EXPECT_EQ(view->waypoint_count, 3);
    EXPECT_EQ(map->count, 5);
}

// Each object's x is its place in the map; the order read back by x.
std::vector<int32_t> Ordered(tworld& w) {
    World_OrderView(w);
    std::vector<int32_t> order;
    for (int i = 0; i < w.count; ++i) order.push_back(w.objects[i].x);
    return order;
}

TEST_F(WorldOps, OrderViewPutsLandTilesFirstInTheirOrderThenTheRestByYTiesInTheirOrder) {
    const struct {
        std::vector<std::pair<const char*, int32_t>> kind_and_y;
        std::vector<int32_t> order;
    } cases[] = {
        {{{"tree", 50}, {"lnd_sand", 90}, {"car", 10}, {"lnd_road", 5}, {"bush", 50}, {"lamp", 20}, {"lnd", 70},
          {"house", 50}},
         {1, 3, 6, 2, 5, 0, 4, 7}},
        {{{"tree", 30}, {"tree", 10}, {"tree", 30}, {"tree", 20}, {"tree", 10}}, {1, 4, 3, 0, 2}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        auto w = NewWorld();
        for (const auto& [kind, y] : c.kind_and_y) World_Append(*w, Object(kind, w->count, y));
        EXPECT_EQ(Ordered(*w), c.order);
    }
}

TEST_F(WorldOps, OrderViewOfAFullViewKeepsEveryObjectWhole) {
    auto w = NewWorld();
    std::mt19937 rng(7);
    // Few distinct y for many ties; long names live outside the record.
    auto name = [](int32_t i) {
        return (i % 3 == 0 ? "lnd_long_ground_name_" : "a_long_prop_name_") + std::to_string(i);
    };
    for (int32_t i = 0; i < WORLD_CAPACITY; ++i) World_Append(*w, Object(name(i), i, static_cast<int32_t>(rng() % 40)));
    const std::vector<int32_t> order = Ordered(*w);
    ASSERT_EQ(order.size(), size_t(WORLD_CAPACITY));
    const int32_t land = (WORLD_CAPACITY + 2) / 3;
    for (int32_t k = 0; k < WORLD_CAPACITY; ++k) {
        const tminimal& o = w->objects[k];
        ASSERT_EQ(o.kind, name(o.x));
        ASSERT_EQ(IsLandKind(o.kind), k < land);
        if (k == 0 || k == land) continue;
        const tminimal& before = w->objects[k - 1];
        if (k < land) {
            ASSERT_LT(before.x, o.x) << "land in map order";
        } else {
            ASSERT_TRUE(before.y < o.y || (before.y == o.y && before.x < o.x)) << "by y, ties in map order";
        }
    }
}

}  // namespace
