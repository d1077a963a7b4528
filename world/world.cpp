#include "world/world.h"

#include <algorithm>
#include <limits>
#include <utility>

tworld world_map;
tworld draw_list;

const std::array<std::string, 4> car_kind_names = {"jeep", "car", "tank", "turbo"};
const std::array<std::string, 3> difficulty_names = {"easy", "medium", "hard"};
const std::array<int32_t, 16> car_colours = {
    0x00FF00, 0xFF0000, 0x0000FF, 0xFFFFFF, 0x333333, 0x9C3D0F, 0x4B880F, 0x4B88C3,
    0xAF385F, 0x87B05F, 0xAFC4AF, 0xEB4C37, 0x4B4C87, 0x4B4CD7, 0x4BD84B, 0x787864,
};

namespace {

// Counts are written by hand in map files and by tests; never trust them
// past the arrays.
int32_t Valid(int32_t count) { return std::clamp(count, 0, WORLD_CAPACITY); }

int32_t Negated(int32_t v) {
    return v == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max() : -v;
}

}  // namespace

bool IsCarKind(const std::string& kind) {
    return kind == "jeep" || kind == "car" || kind == "tank" || kind == "turbo";
}

bool IsLandKind(const std::string& kind) { return kind.starts_with("lnd"); }

bool IsBarrierKind(const std::string& kind) { return kind == "limit" || kind.starts_with("limit_"); }

void World_Clear(tworld& world) {
    for (int32_t i = 0; i < Valid(world.count); ++i) world.objects[i].kind.clear();
    world.count = 0;
}

void World_Reset(tworld& world) {
    std::fill(world.objects.begin(), world.objects.end(), tminimal{});
    std::fill(world.waypoints.begin(), world.waypoints.end(), tcorner{});
    world.count = 0;
    world.waypoint_count = 0;
}

bool World_Append(tworld& world, const tminimal& object) {
    if (world.count < 0 || world.count >= WORLD_CAPACITY) return false;
    world.objects[world.count++] = object;
    return true;
}

bool World_AddObject(tworld& world, const std::string& name, int32_t x, int32_t y, uint8_t ai,
                     uint8_t dynamic, int32_t colour) {
    if (world.count < 0 || world.count >= WORLD_CAPACITY) return false;
    for (int32_t i = 0; i < world.count; ++i) {
        const tminimal& o = world.objects[i];
        if (!o.kind.empty() && o.x == x && o.y == y) return false;
    }
    tminimal& o = world.objects[world.count++];
    o.kind = name;
    o.x = x;
    o.y = y;
    o.ai = ai;
    o.dynamic = dynamic;
    o.colour = colour;
    o.frame = 1.0f;
    o.corner_colours.fill(0xFFFFFF);
    return true;
}

bool World_AddWaypoint(tworld& world, int32_t x, int32_t y) {
    if (world.waypoint_count < 0 || world.waypoint_count >= WORLD_CAPACITY) return false;
    world.waypoints[world.waypoint_count++] = {x, y};
    return true;
}

void World_RemoveAt(tworld& world, int32_t index) {
    const int32_t count = Valid(world.count);
    if (index < 0 || index >= count) return;
    const auto at = world.objects.begin() + index;
    std::move(at + 1, world.objects.begin() + count, at);
    world.objects[count - 1].kind.clear();
    world.count = count - 1;
}

void World_DeleteByName(tworld& world, const std::string& name) {
    const int32_t count = Valid(world.count);
    for (int32_t i = 0; i < count; ++i) {
        if (world.objects[i].kind == name) {
            World_RemoveAt(world, i);
            return;
        }
    }
}

void World_Mirror(tworld& world) {
    for (int32_t i = 0; i < Valid(world.count); ++i) {
        tminimal& o = world.objects[i];
        o.x = Negated(o.x);
        if (IsCarKind(o.kind)) o.frame = 5.0f;
    }
    for (int32_t i = 0; i < Valid(world.waypoint_count); ++i)
        world.waypoints[i].x = Negated(world.waypoints[i].x);
}
