#include "tools/harness/race_progress.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace harness {

namespace {

// A car covers at most about 20 px a tick and the legs are hundreds of pixels
// long: this window always holds the car's leg, even when it backs up.
constexpr int64_t kLegsBack = 2;
constexpr int64_t kLegsAhead = 3;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

double Between(const ProgressSample& a, const ProgressSample& b, double laps) {
    return b.laps == a.laps ? b.t_s : a.t_s + (b.t_s - a.t_s) * (laps - a.laps) / (b.laps - a.laps);
}

}  // namespace

LoopTracker::LoopTracker(std::vector<LoopPoint> waypoints) : points_(std::move(waypoints)) {
    for (size_t i = 0; i < points_.size(); ++i) {
        const LoopPoint& a = points_[i];
        const LoopPoint& b = points_[(i + 1) % points_.size()];
        leg_starts_.push_back(length_);
        length_ += std::hypot(b.x - a.x, b.y - a.y);
    }
}

LoopTracker::Foot LoopTracker::FootOn(int64_t leg, double x, double y) const {
    const auto n = static_cast<int64_t>(points_.size());
    const int64_t round = FloorDiv(leg, n);
    const auto i = static_cast<size_t>(leg - round * n);
    const LoopPoint& a = points_[i];
    const LoopPoint& b = points_[(i + 1) % points_.size()];
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double f = length2 > 0.0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    const double along = leg_starts_[i] + f * std::sqrt(length2);
    return {static_cast<double>(round) + along / length_, std::hypot(a.x + f * dx - x, a.y + f * dy - y)};
}

double LoopTracker::Follow(double x, double y) {
    if (points_.size() < 2 || length_ <= 0.0) return 0.0;
    const auto n = static_cast<int64_t>(points_.size());
    const int64_t first = placed_ ? leg_ - kLegsBack : 0;
    const int64_t last = placed_ ? leg_ + kLegsAhead : n - 1;
    Foot best = FootOn(first, x, y);
    int64_t best_leg = first;
    for (int64_t leg = first + 1; leg <= last; ++leg) {
        const Foot foot = FootOn(leg, x, y);
        if (foot.distance < best.distance) {
            best = foot;
            best_leg = leg;
        }
    }
    // A car placed more than half a lap on stands behind the start.
    if (!placed_ && best.laps > 0.5) {
        best_leg -= n;
        best.laps -= 1.0;
    }
    leg_ = best_leg;
    placed_ = true;
    return best.laps;
}

double ProgressAt(const ProgressTrace& trace, double t_s) {
    if (trace.empty()) return 0.0;
    const auto after = std::find_if(trace.begin(), trace.end(), [&](const ProgressSample& s) { return s.t_s > t_s; });
    if (after == trace.begin()) return trace.front().laps;
    if (after == trace.end()) return trace.back().laps;
    const ProgressSample& a = *(after - 1);
    const ProgressSample& b = *after;
    return a.laps + (b.laps - a.laps) * (t_s - a.t_s) / (b.t_s - a.t_s);
}

std::optional<double> TimeReaching(const ProgressTrace& trace, double laps) {
    const auto at = std::find_if(trace.begin(), trace.end(), [&](const ProgressSample& s) { return s.laps >= laps; });
    if (at == trace.end()) return std::nullopt;
    if (at == trace.begin()) return at->t_s;
    return Between(*(at - 1), *at, laps);
}

Gap GapAtSamePlace(const ProgressTrace& winner, double winner_finish_s, const ProgressTrace& second) {
    if (winner.empty() || second.empty()) return {};
    // The lap counters tick a little apart on the road (a computer car's and
    // the player's), so the car counted second may have been level: 0 behind.
    const double line = ProgressAt(winner, winner_finish_s);
    const std::optional<double> winner_at_line = TimeReaching(winner, line);
    if (!winner_at_line) return {};
    if (const std::optional<double> second_at_line = TimeReaching(second, line))
        return {std::max(*second_at_line - *winner_at_line, 0.0), true};
    const ProgressSample& last = second.back();
    const std::optional<double> winner_passed = TimeReaching(winner, last.laps);
    if (!winner_passed) return {};
    return {std::max(last.t_s - *winner_passed, 0.0), false};
}

}  // namespace harness
