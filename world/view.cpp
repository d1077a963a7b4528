#include "world/view.h"

#include <algorithm>
#include <utility>

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
    // Gather the land tiles at the front; they keep their order among themselves.
    int32_t land = 0;
    for (int32_t j = 0; j < count; ++j)
        if (IsLandKind(objects[j].kind)) std::swap(objects[land++], objects[j]);
    // Selection sort of the rest by y; ties keep the first found.
    for (int32_t i = land; i < count; ++i) {
        int32_t best = i;
        for (int32_t j = i + 1; j < count; ++j)
            if (objects[j].y < objects[best].y) best = j;
        if (best != i) std::swap(objects[i], objects[best]);
    }
}

void World_RefreshDrawList() {
    World_BuildView(draw_list, world_map);
    World_OrderView(draw_list);
    Geo_Shadows(draw_list, 1);
}
