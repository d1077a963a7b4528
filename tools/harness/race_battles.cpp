#include "tools/harness/race_battles.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace harness {

namespace {

constexpr double kCloseS = 1.0;
constexpr size_t kGapEvery = 10;   // ticks between gap samples

bool Racing(const RacingCar& car, double t) { return car.finished_s < 0 || t < car.finished_s; }

// The time the car first reached `laps`, from the running best of its
// progress (so backing up does not count twice); none when it never did.
class FirstReach {
public:
    explicit FirstReach(const ProgressTrace* trace) {
        double best = -1e9;
        if (!trace) return;
        for (const ProgressSample& s : *trace) {
            best_.push_back(best = std::max(best, s.laps));
            times_.push_back(s.t_s);
        }
    }

    bool At(double laps, double& t) const {
        const auto it = std::lower_bound(best_.begin(), best_.end(), laps);
        if (it == best_.end()) return false;
        t = times_[static_cast<size_t>(it - best_.begin())];
        return true;
    }

private:
    std::vector<double> best_;    // the best progress so far at each sample
    std::vector<double> times_;   // each sample's time
};

}  // namespace

Battles RaceBattles(const std::vector<RacingCar>& cars, double opening_s) {
    Battles battles;
    const int n = static_cast<int>(cars.size());
    size_t ticks = 0;
    for (const RacingCar& car : cars) ticks = car.progress ? std::max(ticks, car.progress->size()) : ticks;
    std::vector<FirstReach> reach;
    for (const RacingCar& car : cars) reach.emplace_back(car.progress);

    struct Pair {
        int leader = -1;
        double gap_sum = 0.0;
        int samples = 0;
        int close = 0;
    };
    std::vector<Pair> pairs(static_cast<size_t>(n * n));
    for (size_t i = 0; i < ticks; ++i) {
        bool changed = false;
        for (int a = 0; a < n; ++a)
            for (int b = a + 1; b < n; ++b) {
                if (!cars[a].progress || !cars[b].progress) continue;
                const ProgressTrace& ta = *cars[a].progress;
                const ProgressTrace& tb = *cars[b].progress;
                if (i >= ta.size() || i >= tb.size()) continue;
                const double t = ta[i].t_s;
                if (!Racing(cars[a], t) || !Racing(cars[b], t)) continue;
                Pair& p = pairs[static_cast<size_t>(a * n + b)];
                const double pa = ta[i].laps;
                const double pb = tb[i].laps;
                const int ahead = pa >= pb ? a : b;
                if (p.leader < 0) {
                    p.leader = ahead;
                } else if (ahead != p.leader && std::abs(pa - pb) > PASS_MARGIN_LAPS) {
                    p.leader = ahead;
                    if (t >= opening_s) {
                        ++battles.overtakes;
                        changed = true;
                    }
                }
                if (i % kGapEvery != 0) continue;
                double reached = 0.0;
                if (!reach[ahead].At(std::min(pa, pb), reached)) continue;
                const double gap = std::max(t - reached, 0.0);
                p.gap_sum += gap;
                ++p.samples;
                p.close += gap < kCloseS;
            }
        battles.order_changes += changed;
    }
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b) {
            const Pair& p = pairs[static_cast<size_t>(a * n + b)];
            if (p.samples == 0) continue;
            battles.pairs.push_back({a, b, p.gap_sum / p.samples, static_cast<double>(p.close) / p.samples});
        }
    return battles;
}

}  // namespace harness
