#include "world/standings.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/state.h"
#include "engine/oe.h"

namespace {

int32_t Count(const tworld& map) { return std::clamp(map.count, 0, WORLD_CAPACITY); }

}  // namespace

int32_t Race_WaypointsReached(const tworld& map, int32_t i) {
    const int32_t n = std::clamp(map.waypoint_count, 0, WORLD_CAPACITY);
    if (n == 0) return -1;
    const tminimal& car = map.objects[i];
    const int32_t waypoint = std::clamp(car.waypoint, 0, n - 1);
    return car.ai == 0 ? race.player_laps * n + waypoint : car.laps * n + waypoint - 1;
}

double Race_Progress(const tworld& map, int32_t i) {
    const int32_t n = std::clamp(map.waypoint_count, 0, WORLD_CAPACITY);
    if (n == 0) return 0.0;
    const tminimal& car = map.objects[i];
    const int32_t waypoint = std::clamp(car.waypoint, 0, n - 1);
    // The player's waypoint is the last one reached, a computer car's the
    // one it drives to (its laps count as it turns for the line).
    const bool player = car.ai == 0;
    const int32_t reached = Race_WaypointsReached(map, i);
    const int32_t next = player ? (waypoint + 1) % n : waypoint;
    const tcorner& to = map.waypoints[next];
    const tcorner& from = map.waypoints[(next + n - 1) % n];
    const double leg = std::max(1.0, M_Distance(from.x, from.y, to.x, to.y));
    return reached + 1.0 - M_Distance(car.x, car.y, to.x, to.y) / leg;
}

std::vector<int32_t> Race_Order(const tworld& map) {
    std::vector<int32_t> order(race.finish_order.begin(), race.finish_order.begin() + race.finishers);
    std::vector<std::pair<double, int32_t>> racing;   // progress, car
    for (int32_t i = 0; i < Count(map); ++i)
        if (IsCarKind(map.objects[i].kind) && std::find(order.begin(), order.end(), i) == order.end())
            racing.push_back({Race_Progress(map, i), i});
    std::stable_sort(racing.begin(), racing.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [progress, car] : racing) order.push_back(car);
    return order;
}

int32_t Race_PlayerPosition(const tworld& map, const std::vector<int32_t>& order) {
    for (size_t k = 0; k < order.size(); ++k)
        if (map.objects[order[k]].ai == 0) return static_cast<int32_t>(k) + 1;
    return 0;
}

int32_t Race_PlayerPosition(const tworld& map) { return Race_PlayerPosition(map, Race_Order(map)); }

std::string Race_FormatTime(double ms) {
    if (ms < 0) return "-:--.-";
    const int64_t tenths = static_cast<int64_t>(ms / 100.0);
    const int64_t seconds = tenths / 10 % 60;
    return std::to_string(tenths / 600) + ":" + (seconds < 10 ? "0" : "") + std::to_string(seconds) + "." +
           std::to_string(tenths % 10);
}

std::string Race_Ordinal(int32_t place) {
    const int32_t tens = place % 100 / 10, ones = place % 10;
    const char* suffix = tens == 1 || ones == 0 || ones > 3 ? "th" : ones == 1 ? "st" : ones == 2 ? "nd" : "rd";
    return std::to_string(place) + suffix;
}
