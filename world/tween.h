// tween.h: frames drawn between two ticks show what moves on its way from
// where the last tick found it to where that tick left it: cars and pushed
// props, the race's camera and its smoke. Only drawing sees these positions;
// the race itself runs on the ticks' own.
#pragma once

#include "world/world.h"

// A move longer than this in one tick (a car put back on the road, a new race)
// is shown at once rather than swept across the screen.
constexpr int32_t TWEEN_MAX_STEP = 160;

// Before a race tick: where every dynamic object of `map` and the main camera stand.
void Tween_Remember(tworld& map);
// The point `progress` of the way from `from` to `to` (0: from, 1: to); `to`
// itself when the two are more than TWEEN_MAX_STEP apart on either axis.
tcorner Tween_Between(tcorner from, tcorner to, float progress);

// For as long as it lives, the main camera stands `progress` of the way from
// where the last tick found it to where it is; then it is put back exactly.
class Tween_Camera {
public:
    explicit Tween_Camera(float progress);
    ~Tween_Camera();
    Tween_Camera(const Tween_Camera&) = delete;
    Tween_Camera& operator=(const Tween_Camera&) = delete;

private:
    tcorner held_;
};
