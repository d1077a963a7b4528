// The map file reader on arbitrary bytes, then a few race steps on a small map
// read from them, so the sanitizers see the arithmetic on whatever it let in.
#include <cstdlib>
#include <memory>
#include <vector>

#include "tests/fuzz/fuzz_targets.h"
#include "world/mapfile.h"
#include "world/physics.h"
#include "world/race_rules.h"

bool Fuzz_MapFile(const uint8_t* data, size_t size) {
    static const auto world = std::make_unique<tworld>();
    static const auto again = std::make_unique<tworld>();
    World_Clear(*world);
    const int32_t read = MapFile_Read(std::vector<uint8_t>(data, data + size), *world);
    if (read != world->count || world->count < 0 || world->count > WORLD_CAPACITY || world->waypoint_count < 0 ||
        world->waypoint_count > WORLD_CAPACITY)
        return false;
    World_Clear(*again);
    if (MapFile_Read(MapFile_Encode(*world), *again) != world->count || again->waypoint_count != world->waypoint_count)
        return false;
    for (int32_t i = 0; i < world->count; ++i) {
        const tminimal& a = world->objects[i];
        const tminimal& b = again->objects[i];
        // A kind holding a line break cannot come back whole; the reader never makes one.
        if (a.kind.size() > MAP_KIND_MAX_BYTES || a.kind != b.kind || a.x != b.x || a.y != b.y || a.ai != b.ai || a.dynamic != b.dynamic || a.colour != b.colour)
            return false;
    }
    for (int32_t i = 0; i < world->waypoint_count; ++i)
        if (world->waypoints[i].x != again->waypoints[i].x || world->waypoints[i].y != again->waypoints[i].y) return false;
    // Every object meets every other in a step: keep the maps small enough to fuzz quickly.
    if (world->count > 64) return true;
    for (int step = 0; step < 3; ++step) {
        Bonus_Spawn(*world);
        Race_Update(*world, tcorner{});
    }
    return true;
}

#ifdef KORVAMO_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Fuzz_MapFile(data, size)) std::abort();
    return 0;
}
#endif
