// Every shipped track is a drive of its own: no two trace the same loop in the
// same direction, however one of them is turned or mirrored on the map, and
// the eight base layouts differ driven either way. Two loops are compared by
// resampling each at equal steps along its waypoints and taking the smallest
// mean distance between matching points over the quarter turns and mirrors of
// one (about its centre, moved onto the other's) and every starting point.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/fs.h"
#include "world/mapfile.h"

namespace {

constexpr size_t kSamples = 256;
constexpr double kSameDrivePx = 150.0;   // loops closer than this on average are the same drive

const char* const kTracks[] = {"beach1",  "beach2",  "beach1r",  "beach2r",  "forest1", "forest2",
                               "forest1r", "forest2r", "icy1",     "icy2",     "icy1r",   "icy2r",
                               "city1",   "city2",   "city1r",   "city2r"};
const char* const kBaseTracks[] = {"beach1", "beach2", "forest1", "forest2", "icy1", "icy2", "city1", "city2"};

struct Point {
    double x = 0.0, y = 0.0;
};
using Loop = std::vector<Point>;

// A way to lay a loop on the map again: (x, y) -> (xx x + xy y, yx x + yy y).
struct Placement {
    const char* name;
    double xx, xy, yx, yy;
};

constexpr std::array<Placement, 8> kPlacements = {{
    {"as it is", 1, 0, 0, 1},
    {"turned a quarter", 0, -1, 1, 0},
    {"turned half round", -1, 0, 0, -1},
    {"turned three quarters", 0, 1, -1, 0},
    {"mirrored in x", -1, 0, 0, 1},
    {"mirrored in y", 1, 0, 0, -1},
    {"mirrored on the diagonal", 0, 1, 1, 0},
    {"mirrored on the other diagonal", 0, -1, -1, 0},
}};

// kSamples points at equal steps round the closed loop of waypoints, from waypoint 0.
Loop Resample(const std::vector<Point>& waypoints) {
    const size_t n = waypoints.size();
    std::vector<double> starts;   // distance round the loop to each waypoint
    double length = 0.0;
    for (size_t i = 0; i < n; ++i) {
        starts.push_back(length);
        length += std::hypot(waypoints[(i + 1) % n].x - waypoints[i].x, waypoints[(i + 1) % n].y - waypoints[i].y);
    }
    Loop loop;
    for (size_t k = 0, i = 0; k < kSamples && n > 0; ++k) {
        const double along = length * static_cast<double>(k) / kSamples;
        while (i + 1 < n && starts[i + 1] <= along) ++i;
        const Point& a = waypoints[i];
        const Point& b = waypoints[(i + 1) % n];
        const double leg = (i + 1 < n ? starts[i + 1] : length) - starts[i];
        const double f = leg > 0.0 ? (along - starts[i]) / leg : 0.0;
        loop.push_back({a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)});
    }
    return loop;
}

Point Centre(const Loop& loop) {
    Point c;
    for (const Point& p : loop) {
        c.x += p.x / static_cast<double>(loop.size());
        c.y += p.y / static_cast<double>(loop.size());
    }
    return c;
}

struct Match {
    double distance = std::numeric_limits<double>::infinity();   // mean, px
    const Placement* placement = nullptr;
};

// How close b comes to a: the smallest mean distance between a's points and
// b's, laid on the map every way with its centre on a's, from every starting
// point; `reversed` drives b the other way round.
Match Closest(const Loop& a, const Loop& b, bool reversed) {
    const Point ca = Centre(a), cb = Centre(b);
    const size_t n = a.size();
    Match best;
    Loop placed(n);
    for (const Placement& p : kPlacements) {
        for (size_t i = 0; i < n; ++i) {
            const Point& q = b[reversed ? n - 1 - i : i];
            const double dx = q.x - cb.x, dy = q.y - cb.y;
            placed[i] = {ca.x + p.xx * dx + p.xy * dy, ca.y + p.yx * dx + p.yy * dy};
        }
        for (size_t shift = 0; shift < n; ++shift) {
            double sum = 0.0;
            for (size_t i = 0; i < n && sum < best.distance * static_cast<double>(n); ++i)
                sum += std::hypot(a[i].x - placed[(i + shift) % n].x, a[i].y - placed[(i + shift) % n].y);
            if (sum < best.distance * static_cast<double>(n)) best = {sum / static_cast<double>(n), &p};
        }
    }
    return best;
}

const Loop& TrackLoop(const std::string& name) {
    static std::map<std::string, Loop> loops;
    auto [it, added] = loops.try_emplace(name);
    if (added) {
        auto world = std::make_unique<tworld>();
        const auto bytes = Fs_ReadFile(std::string(KORVAMO_TEST_DATA) + "/wld/" + name + ".wld");
        EXPECT_TRUE(bytes) << name;
        if (bytes) MapFile_Read(*bytes, *world);
        EXPECT_GE(world->waypoint_count, 3) << name;
        std::vector<Point> waypoints;
        for (int32_t i = 0; i < world->waypoint_count; ++i) {
            const tcorner& w = world->waypoints[i];
            waypoints.push_back({static_cast<double>(w.x), static_cast<double>(w.y)});
        }
        it->second = Resample(waypoints);
    }
    return it->second;
}

std::string Describe(const std::string& a, const std::string& b, bool reversed, const Match& m) {
    return a + " and " + b + (reversed ? " driven the other way" : "") + ", " + m.placement->name + ": " +
           std::to_string(static_cast<int>(m.distance)) + " px apart on average";
}

TEST(LayoutDistance, FindsATurnedMirroredCopyFromAnyStartAndTellsADifferentLoop) {
    // A lopsided loop, the same no way round but its own.
    const std::vector<Point> waypoints = {{0, 0},       {2400, 0},   {2400, 600}, {1500, 600},
                                          {1500, 1800}, {600, 1800}, {600, 900},  {0, 900}};
    // Mirrored on the diagonal, moved, started at its fourth waypoint, that leg split in two.
    const std::vector<Point> copy = {{5600, 2000}, {6200, 2000}, {6800, 2000}, {6800, 1100}, {5900, 1100},
                                     {5900, 500},  {5000, 500},  {5000, 2900}, {5600, 2900}};
    const std::vector<Point> ring = {{0, 0},       {1000, -300}, {2000, 0},    {2300, 900},
                                     {2000, 1800}, {1000, 2100}, {0, 1800},    {-300, 900}};
    const Loop loop = Resample(waypoints);

    EXPECT_LT(Closest(loop, Resample(copy), false).distance, 20.0);   // within half a sample step
    EXPECT_GE(Closest(loop, Resample(copy), true).distance, kSameDrivePx);
    EXPECT_GE(Closest(loop, Resample(ring), false).distance, kSameDrivePx);
    EXPECT_GE(Closest(loop, Resample(ring), true).distance, kSameDrivePx);
}

TEST(TrackLayouts, NoTwoTracksAreTheSameDrive) {
    for (size_t i = 0; i < std::size(kTracks); ++i)
        for (size_t j = i + 1; j < std::size(kTracks); ++j) {
            const Match m = Closest(TrackLoop(kTracks[i]), TrackLoop(kTracks[j]), false);
            EXPECT_GE(m.distance, kSameDrivePx) << "the same drive: " << Describe(kTracks[i], kTracks[j], false, m);
        }
}

// Driven the same way round they differ by the test above.
TEST(TrackLayouts, BaseLayoutsDifferDrivenEitherWay) {
    for (size_t i = 0; i < std::size(kBaseTracks); ++i)
        for (size_t j = i + 1; j < std::size(kBaseTracks); ++j) {
            const Match m = Closest(TrackLoop(kBaseTracks[i]), TrackLoop(kBaseTracks[j]), true);
            EXPECT_GE(m.distance, kSameDrivePx) << "one layout: " << Describe(kBaseTracks[i], kBaseTracks[j], true, m);
        }
}

// What "the same drive" looks like on the shipped tracks.
TEST(TrackLayouts, AReversedTrackIsItsBaseDrivenTheOtherWay) {
    for (const std::string base : kBaseTracks) {
        const Match m = Closest(TrackLoop(base), TrackLoop(base + "r"), true);
        EXPECT_LT(m.distance, kSameDrivePx) << Describe(base, base + "r", true, m);
    }
}

}  // namespace
