#include "world/driver.h"

#include <algorithm>

#include "engine/oe.h"
#include "world/geometry.h"
#include "world/tuning.h"

bool Driver_Step(tworld& map, int32_t i) {
    if (i < 0 || i >= std::min(map.count, WORLD_CAPACITY)) return false;
    tminimal& car = map.objects[i];
    // A waypoint index left over from an edited map still reads inside the list.
    const tcorner& w = map.waypoints[std::clamp(car.waypoint, 0, WORLD_CAPACITY - 1)];
    car.angle = M_FindAngle(car.x, car.y, w.x, w.y);
    car.frame = std::clamp(static_cast<float>(Geo_WrapDegrees(90 - car.angle) / 22.5 + 1.0), 1.0f, 16.0f);
    if (map.waypoint_count > 0) {
        car.throttle = 1;
        if (M_Distance(car.x, car.y, w.x, w.y) < 120) car.waypoint += 1;
        if (car.waypoint > map.waypoint_count - 1) {
            car.waypoint = 0;
            car.laps += 1;
        }
    }
    if (car.laps == RACE_LAPS && car.waypoint == 1) {
        car.throttle = 0;
        return true;
    }
    return false;
}
