#include "world/view.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "core/state.h"
#include "world/geometry.h"

bool World_OnScreen(const tworld& world, int32_t index) {
    if (!game.main_camera) return World_OnScreen(world, index, tcorner{});
    return World_OnScreen(world, index, tcorner{game.main_camera->x, game.main_camera->y});
}

bool World_OnScreen(const tworld& world, int32_t index, tcorner view) {
    if (index < 0 || index >= std::min(world.count, WORLD_CAPACITY)) return false;
    const tminimal& o = world.objects[index];
    const int64_t rx = o.x - int64_t{view.x};
    const int64_t ry = o.y - int64_t{view.y};
    return -o.width < rx && -o.height < ry && rx < o.width + 800 && ry < 2 * int64_t{o.height} + 600;
}

void World_BuildView(tworld& view, const tworld& map) {
    World_Clear(view);
    const int32_t count = std::clamp(map.count, 0, WORLD_CAPACITY);
    for (int32_t i = 0; i < count; ++i)
        if (World_OnScreen(map, i)) World_Append(view, map.objects[i]);
}

void World_OrderView(tworld& view) {
    const int32_t count = std::clamp(view.count, 0, WORLD_CAPACITY);
    auto& objects = view.objects;
    // Land first in its order, then the rest by y, ties in their order.
    struct Place {
        bool above_land;
        int32_t y;      // 0 for land: its order alone counts
        int32_t from;   // the object's position before ordering
        bool operator<(const Place& o) const {
            return std::tie(above_land, y, from) < std::tie(o.above_land, o.y, o.from);
        }
    };
    static std::vector<Place> places;   // kept between calls for its memory only
    places.clear();
    for (int32_t i = 0; i < count; ++i) {
        const bool above_land = !IsLandKind(objects[i].kind);
        places.push_back({above_land, above_land ? objects[i].y : 0, i});
    }
    std::sort(places.begin(), places.end());
    // Each object moves once, along the cycles of the reordering; a filled
    // place is marked as coming from itself.
    for (int32_t start = 0; start < count; ++start) {
        if (places[start].from == start) continue;
        tminimal held = std::move(objects[start]);
        int32_t to = start;
        for (int32_t from = places[to].from; from != start; from = places[to].from) {
            objects[to] = std::move(objects[from]);
            places[to].from = to;
            to = from;
        }
        objects[to] = std::move(held);
        places[to].from = to;
    }
}

void World_RefreshDrawList() {
    World_BuildView(draw_list, world_map);
    World_OrderView(draw_list);
    Geo_Shadows(draw_list, 1);
}
