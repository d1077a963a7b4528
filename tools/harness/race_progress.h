// race_progress.h: how far round the track a car has come, in laps measured
// along the loop of waypoints, and how far one car is behind another at the
// same place on the track, as race timing measures it. The race simulator
// records a car's progress every tick and times the winner's margin with it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace harness {

struct LoopPoint {
    double x = 0.0;
    double y = 0.0;
};

// Follows one car round the closed loop of waypoints. Progress counts laps
// from waypoint 0: the car's position projected on the loop plus the times it
// went round, so it grows steadily while the car drives on and falls back only
// as far as the car backs up. A car starting just behind waypoint 0 is a
// little below 0.
class LoopTracker {
public:
    explicit LoopTracker(std::vector<LoopPoint> waypoints);

    // The progress of a car at (x, y). The first call places the car on the
    // nearest leg of the whole loop; later calls look only at the few legs
    // around the last one, so a stretch of road running alongside is never
    // taken for the car's own. A loop of fewer than two waypoints gives 0.
    double Follow(double x, double y);

private:
    struct Foot {
        double laps;       // progress of the leg's point nearest to the car
        double distance;   // from the car to that point
    };
    Foot FootOn(int64_t leg, double x, double y) const;

    std::vector<LoopPoint> points_;
    std::vector<double> leg_starts_;   // distance along the loop from waypoint 0 to each leg's start
    double length_ = 0.0;
    int64_t leg_ = 0;                  // counts on past the last leg each time the car goes round
    bool placed_ = false;
};

struct ProgressSample {
    double t_s = 0.0;    // racing time from the start signal
    double laps = 0.0;
};
using ProgressTrace = std::vector<ProgressSample>;   // by increasing time

// The progress at time t_s, interpolated between samples; before the first
// sample the first, after the last the last. An empty trace gives 0.
double ProgressAt(const ProgressTrace& trace, double t_s);

// The time the trace first reaches the progress, interpolated between the
// samples either side; none when it never does.
std::optional<double> TimeReaching(const ProgressTrace& trace, double laps);

struct Gap {
    double s = -1.0;        // how long the second car is behind the winner; -1: cannot tell
    bool at_line = false;   // measured where the winner's race was complete, not estimated
};

// How long the second car is behind the winner at the same place on the
// track. At the place where the winner was at winner_finish_s when the second
// car got there before its trace ends; otherwise at the second car's last
// place, how long before the end of its trace the winner passed there: a
// lower bound, since the second car still had that far to go. A car level
// with the winner on the road is 0 behind.
Gap GapAtSamePlace(const ProgressTrace& winner, double winner_finish_s, const ProgressTrace& second);

}  // namespace harness
