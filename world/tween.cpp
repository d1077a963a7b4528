#include "world/tween.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/state.h"

namespace {

tcorner camera_before_tick;

int32_t Between(int32_t from, int32_t to, float progress) {
    return from + static_cast<int32_t>(std::lround(static_cast<float>(to - from) * progress));
}

}  // namespace

void Tween_Remember(tworld& map) {
    const int32_t count = std::clamp(map.count, 0, WORLD_CAPACITY);
    // Only dynamic objects move, and only they are drawn on their way.
    for (int32_t i = 0; i < count; ++i)
        if (tminimal& o = map.objects[i]; o.dynamic) o.before_tick = {o.x, o.y};
    if (game.main_camera) camera_before_tick = {game.main_camera->x, game.main_camera->y};
}

tcorner Tween_Between(tcorner from, tcorner to, float progress) {
    if (std::abs(int64_t{to.x} - from.x) > TWEEN_MAX_STEP || std::abs(int64_t{to.y} - from.y) > TWEEN_MAX_STEP)
        return to;
    const float p = std::clamp(progress, 0.0f, 1.0f);
    return {Between(from.x, to.x, p), Between(from.y, to.y, p)};
}

Tween_Camera::Tween_Camera(float progress) {
    if (!game.main_camera) return;
    held_ = {game.main_camera->x, game.main_camera->y};
    const tcorner shown = Tween_Between(camera_before_tick, held_, progress);
    game.main_camera->x = shown.x;
    game.main_camera->y = shown.y;
}

Tween_Camera::~Tween_Camera() {
    if (!game.main_camera) return;
    game.main_camera->x = held_.x;
    game.main_camera->y = held_.y;
}
