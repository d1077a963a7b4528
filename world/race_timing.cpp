#include "world/race_timing.h"

#include <algorithm>

#include "core/state.h"
#include "world/standings.h"

namespace {

// The racing time car i finished at; -1 while it has not.
double FinishedAt(int32_t i) {
    for (int32_t k = 0; k < std::min(race.finishers, RACE_FINISHERS_CAPACITY); ++k)
        if (race.finish_order[k] == i) return race.finish_ms[k];
    return -1.0;
}

}  // namespace

void RaceTiming_Update(const tworld& map, double ms) {
    const int32_t count = std::clamp(map.count, 0, WORLD_CAPACITY);
    if (race.waypoint_ms.size() < static_cast<size_t>(count)) race.waypoint_ms.resize(count);
    for (int32_t i = 0; i < count; ++i) {
        if (!IsCarKind(map.objects[i].kind)) continue;
        std::vector<double>& times = race.waypoint_ms[i];
        // A car sent back to an earlier waypoint keeps the times it already has.
        const int32_t reached = Race_WaypointsReached(map, i);
        while (static_cast<int32_t>(times.size()) <= reached) times.push_back(ms);
    }
}

double RaceTiming_ReachedAt(int32_t i, int32_t k) {
    if (i < 0 || static_cast<size_t>(i) >= race.waypoint_ms.size() || k < 0) return -1.0;
    const std::vector<double>& times = race.waypoint_ms[i];
    return static_cast<size_t>(k) < times.size() ? times[k] : -1.0;
}

double RaceTiming_Gap(const tworld& map, int32_t behind, int32_t ahead) {
    const double ahead_done = FinishedAt(ahead), done = FinishedAt(behind);
    if (ahead_done >= 0 && done >= 0) return std::max(0.0, done - ahead_done);
    const int32_t k = Race_WaypointsReached(map, behind);
    const double then = RaceTiming_ReachedAt(behind, k), ahead_then = RaceTiming_ReachedAt(ahead, k);
    if (then < 0 || ahead_then < 0) return -1.0;
    return std::max(0.0, then - ahead_then);
}

std::vector<double> RaceTiming_Gaps(const tworld& map, const std::vector<int32_t>& order) {
    std::vector<double> gaps(order.size(), 0.0);
    for (size_t k = 1; k < order.size(); ++k) gaps[k] = RaceTiming_Gap(map, order[k], order[k - 1]);
    return gaps;
}

int32_t RaceTiming_LapsDown(const tworld& map, int32_t behind, int32_t ahead) {
    const int32_t n = std::clamp(map.waypoint_count, 0, WORLD_CAPACITY);
    if (n == 0) return 0;
    return std::max(0, Race_WaypointsReached(map, ahead) - Race_WaypointsReached(map, behind)) / n;
}

std::string RaceTiming_FormatGap(double ms) {
    if (ms < 0) return "";
    if (ms >= 60000.0) return "+" + Race_FormatTime(ms);
    const int64_t tenths = static_cast<int64_t>(ms / 100.0);
    return "+" + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string RaceTiming_FormatLaps(int32_t laps) {
    return "+" + std::to_string(laps) + (laps == 1 ? " lap" : " laps");
}
