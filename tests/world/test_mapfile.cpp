// The map file: its exact bytes, the round trip, and the reader on bad input.
#include <fstream>
#include <iterator>

#include "world/mapfile.h"
#include "world/race_setup.h"
#include "world_fixture.h"

namespace {

using MapFile = WorldTest;

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::string ReadBack(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// "kind\r\nx\r\n..." for one object block.
std::string Block(const std::string& kind, int x, int y, int ai, int dynamic, int colour) {
    return kind + "\r\n" + std::to_string(x) + "\r\n" + std::to_string(y) + "\r\n" + std::to_string(ai) +
           "\r\n" + std::to_string(dynamic) + "\r\n" + std::to_string(colour) + "\r\n";
}

TEST_F(MapFile, SaveWritesTheFieldsInOrderWithAiBeforeDynamic) {
    auto w = NewWorld();
    World_AddObject(*w, "lnd_sand", 64, 128, 0, 0, 0xFFFFFF);
    World_AddObject(*w, "jeep", -5, 300, 1, 0, 0x00FF00);
    World_AddWaypoint(*w, 10, -20);
    w->objects[1].speed = 9.0f;   // not stored
    std::filesystem::create_directory("wld");
    ASSERT_TRUE(World_Save(*w, "wld\\t.wld"));
    EXPECT_EQ(ReadBack("wld/t.wld"),
              "2\r\nlnd_sand\r\n64\r\n128\r\n0\r\n0\r\n16777215\r\n"
              "jeep\r\n-5\r\n300\r\n1\r\n0\r\n65280\r\n"
              "1\r\n10\r\n-20\r\n");
}

TEST_F(MapFile, AnEmptyWorldIsTwoZeros) {
    auto w = NewWorld();
    EXPECT_EQ(MapFile_Encode(*w), Bytes("0\r\n0\r\n"));
}

TEST_F(MapFile, SaveAndLoadKeepNamesPositionsAiDynamicColourAndWaypoints) {
    AddTexture(object_registry, "tree1", 64, 32);
    auto w = NewWorld();
    World_AddObject(*w, "tree", 1, 2, 0, 1, 0x123456);
    World_AddObject(*w, "car", -700, 800, 1, 0, 0xABCDEF);   // clear of the tree: the set-up moves cars once
    World_AddObject(*w, "my prop 2", MAP_COORDINATE_LIMIT, -MAP_COORDINATE_LIMIT, 255, 255, -1);
    for (int i = 0; i < 5; ++i) World_AddWaypoint(*w, i * 100, -i);
    std::filesystem::create_directory("wld");
    ASSERT_TRUE(World_Save(*w, "wld\\round.wld"));

    World_LoadRace(world_map, "wld\\round.wld");
    ASSERT_EQ(world_map.count, 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(world_map.objects[i].kind, w->objects[i].kind);
        EXPECT_EQ(world_map.objects[i].x, w->objects[i].x);
        EXPECT_EQ(world_map.objects[i].y, w->objects[i].y);
        EXPECT_EQ(world_map.objects[i].ai, w->objects[i].ai);
        EXPECT_EQ(world_map.objects[i].dynamic, w->objects[i].dynamic);
        EXPECT_EQ(world_map.objects[i].colour, w->objects[i].colour);
    }
    ASSERT_EQ(world_map.waypoint_count, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(world_map.waypoints[i].x, i * 100);
        EXPECT_EQ(world_map.waypoints[i].y, -i);
    }
    // Saving what was loaded gives the same bytes.
    ASSERT_TRUE(World_Save(world_map, "wld\\again.wld"));
    EXPECT_EQ(ReadBack("wld/again.wld"), ReadBack("wld/round.wld"));
}

TEST_F(MapFile, ReadAcceptsLoneLineFeedsAndAFinalLineWithoutBreak) {
    auto w = NewWorld();
    EXPECT_EQ(MapFile_Read(Bytes("1\ntree\n3\n4\n0\n1\n5\n1\n7\n8"), *w), 1);
    EXPECT_EQ(w->objects[0].kind, "tree");
    EXPECT_EQ(w->objects[0].dynamic, 1);
    ASSERT_EQ(w->waypoint_count, 1);
    EXPECT_EQ(w->waypoints[0].y, 8);
}

TEST_F(MapFile, ACountAbove4097ReadsOnly4097AndSkipsTheRestOfTheList) {
    std::string file = std::to_string(WORLD_CAPACITY + 3) + "\r\n";
    for (int i = 0; i < WORLD_CAPACITY + 3; ++i) file += Block("o", i, 0, 0, 0, 0);
    file += std::to_string(WORLD_CAPACITY + 2) + "\r\n";
    for (int i = 0; i < WORLD_CAPACITY + 2; ++i) file += std::to_string(i) + "\r\n-" + std::to_string(i) + "\r\n";
    auto w = NewWorld();
    EXPECT_EQ(MapFile_Read(Bytes(file), *w), WORLD_CAPACITY);
    EXPECT_EQ(w->count, WORLD_CAPACITY);
    EXPECT_EQ(w->objects[WORLD_CAPACITY - 1].x, WORLD_CAPACITY - 1);
    // The waypoints after the skipped objects are still found.
    EXPECT_EQ(w->waypoint_count, WORLD_CAPACITY);
    EXPECT_EQ(w->waypoints[WORLD_CAPACITY - 1].y, -(WORLD_CAPACITY - 1));
}

TEST_F(MapFile, AHugeCountInAShortFileReadsWhatIsThere) {
    auto w = NewWorld();
    EXPECT_EQ(MapFile_Read(Bytes("2147483647\r\n" + Block("a", 1, 2, 0, 0, 0)), *w), 1);
    EXPECT_EQ(w->count, 1);
    EXPECT_EQ(w->waypoint_count, 0);
    World_Clear(*w);
    EXPECT_EQ(MapFile_Read(Bytes("0\r\n99999999\r\n1\r\n2\r\n"), *w), 0);
    ASSERT_EQ(w->waypoint_count, 1);
    EXPECT_EQ(w->waypoints[0].x, 1);
}

TEST_F(MapFile, AFileEndingEarlyKeepsWhatWasReadCompletely) {
    const std::string full = "2\r\n" + Block("a", 1, 2, 0, 0, 0) + Block("b", 3, 4, 1, 0, 5) + "2\r\n10\r\n20\r\n30\r\n40\r\n";
    // Cut after every byte: the object and waypoint counts never go down as
    // the cut moves on, and nothing half read is kept.
    int32_t last_objects = 0, last_waypoints = 0;
    for (size_t cut = 0; cut <= full.size(); ++cut) {
        auto w = NewWorld();
        MapFile_Read(Bytes(full.substr(0, cut)), *w);
        SCOPED_TRACE(cut);
        EXPECT_GE(w->count, last_objects);
        EXPECT_GE(w->waypoint_count, last_waypoints);
        last_objects = w->count;
        last_waypoints = w->waypoint_count;
        if (w->count == 2) {
            EXPECT_EQ(w->objects[1].colour, 5);
        }
    }
    auto w = NewWorld();
    // Cut inside the second block (after its ai): one object, no waypoints.
    const size_t inside = full.find("1\r\n0\r\n5") + 3;
    MapFile_Read(Bytes(full.substr(0, inside)), *w);
    EXPECT_EQ(w->count, 1);
    EXPECT_EQ(w->waypoint_count, 0);
    EXPECT_EQ(w->objects[1].kind, "");
    // Cut inside the second waypoint: the first one only.
    World_Clear(*w);
    MapFile_Read(Bytes(full.substr(0, full.size() - 4)), *w);
    EXPECT_EQ(w->count, 2);
    EXPECT_EQ(w->waypoint_count, 1);
}

TEST_F(MapFile, TextWhereANumberBelongsStopsReadingThere) {
    auto w = NewWorld();
    EXPECT_EQ(MapFile_Read(Bytes("3\r\n" + Block("a", 1, 2, 0, 0, 0) + "b\r\n3\r\nfour\r\n0\r\n0\r\n0\r\n" +
                                 Block("c", 5, 6, 0, 0, 0) + "1\r\n7\r\n8\r\n"),
                           *w),
              1);
    EXPECT_EQ(w->count, 1);
    EXPECT_EQ(w->waypoint_count, 0);
    for (const char* bad : {"x", "", " 5", "5 ", "1.5", "0x10", "+3", "2147483648", "--1"}) {
        SCOPED_TRACE(bad);
        World_Clear(*w);
        EXPECT_EQ(MapFile_Read(Bytes("1\r\n" + Block("a", 1, 2, 0, 0, 0) + "1\r\n" + bad + "\r\n9\r\n"), *w), 1);
        EXPECT_EQ(w->waypoint_count, 0);
    }
    World_Clear(*w);
    EXPECT_EQ(MapFile_Read(Bytes("many\r\n"), *w), 0);
    EXPECT_EQ(w->count, 0);
}

// Coordinates beyond a million pixels are damage, like text where a number belongs.
TEST_F(MapFile, CoordinatesBeyondTheLimitStopReadingThere) {
    auto w = NewWorld();
    EXPECT_EQ(MapFile_Read(Bytes("3\r\n" + Block("a", 1000000, -1000000, 0, 0, 0) + Block("b", 1000001, 0, 0, 0, 0) +
                                 Block("c", 0, 0, 0, 0, 0)),
                           *w),
              1);
    EXPECT_EQ(w->objects[0].x, 1000000);
    World_Clear(*w);
    EXPECT_EQ(MapFile_Read(Bytes("1\r\n" + Block("a", 0, INT32_MIN, 0, 0, 0) + "0\r\n"), *w), 0);
    World_Clear(*w);
    MapFile_Read(Bytes("0\r\n3\r\n5\r\n-1000000\r\n6\r\n-1000001\r\n7\r\n8\r\n"), *w);
    EXPECT_EQ(w->waypoint_count, 1);
}

// So is a kind longer than any texture's name.
TEST_F(MapFile, AKindOver255BytesStopsReadingThere) {
    auto w = NewWorld();
    EXPECT_EQ(MapFile_Read(Bytes("3\r\n" + Block(std::string(255, 'k'), 0, 0, 0, 0, 0) +
                                 Block(std::string(256, 'k'), 0, 0, 0, 0, 0) + Block("c", 0, 0, 0, 0, 0)),
                           *w),
              1);
}

TEST_F(MapFile, AiAndDynamicMustFitAByte) {
    auto w = NewWorld();
    EXPECT_EQ(MapFile_Read(Bytes("2\r\n" + Block("a", 1, 2, 255, 0, 0) + Block("b", 1, 2, 256, 0, 0)), *w), 1);
    EXPECT_EQ(w->objects[0].ai, 255);
    World_Clear(*w);
    EXPECT_EQ(MapFile_Read(Bytes("1\r\n" + Block("b", 1, 2, 0, -1, 0)), *w), 0);
}

TEST_F(MapFile, ANegativeCountReadsNothingOfItsList) {
    auto w = NewWorld();
    EXPECT_EQ(MapFile_Read(Bytes("-4\r\n2\r\n1\r\n2\r\n3\r\n4\r\n"), *w), 0);
    EXPECT_EQ(w->count, 0);
    EXPECT_EQ(w->waypoint_count, 2);
    World_Clear(*w);
    MapFile_Read(Bytes("0\r\n-1\r\n1\r\n2\r\n"), *w);
    EXPECT_EQ(w->waypoint_count, 0);
}

TEST_F(MapFile, KindsKeepTheirWholeLineAndAnEmptyFileReadsNothing) {
    auto w = NewWorld();
    MapFile_Read(Bytes("2\r\n  odd kind\t\r\n1\r\n2\r\n0\r\n0\r\n0\r\n\r\n3\r\n4\r\n0\r\n0\r\n0\r\n0\r\n"), *w);
    ASSERT_EQ(w->count, 2);
    EXPECT_EQ(w->objects[0].kind, "  odd kind\t");
    EXPECT_EQ(w->objects[1].kind, "");
    World_Clear(*w);
    w->waypoint_count = 3;
    EXPECT_EQ(MapFile_Read({}, *w), 0);
    EXPECT_EQ(w->count, 0);
    EXPECT_EQ(w->waypoint_count, 0);
}

}  // namespace
