// Every generated track, loaded through the race set-up, against the rules a
// track must keep: a closed road wide enough at top speed, waypoints a car can
// follow on the road, barriers where it bends, props off it, the start line
// and the grid, the size limits, and the reversed layouts.
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <filesystem>
#include <map>
#include <set>

#include "core/state.h"
#include "engine/fs.h"
#include "world/mapfile.h"
#include "world/race_setup.h"
#include "world/tuning.h"
#include "world_fixture.h"

namespace {

namespace fs = std::filesystem;

const char* const kTracks[] = {"beach1", "beach2", "beach1r", "beach2r", "forest1", "forest2", "forest1r", "forest2r",
                               "icy1",   "icy2",   "icy1r",   "icy2r",   "city1",   "city2",   "city1r",   "city2r"};

struct Point {
    double x = 0, y = 0;
};

// Plain ("lnd_road", "lnd_arc4_ne_1_2") and themed ("lnd_icy_edge_n") road pieces.
bool IsRoadKind(const std::string& kind) {
    return kind.starts_with("lnd_") &&
           (kind.ends_with("_road") || kind.find("_edge_") != std::string::npos ||
            kind.find("_inner_") != std::string::npos || kind.find("_arc") != std::string::npos);
}

bool IsBarrier(const std::string& kind) { return kind.starts_with("limit") || kind == "pen" || kind == "rak"; }

int TrackIndex(const std::string& name) {
    return static_cast<int>(std::find(std::begin(kTracks), std::end(kTracks), name) - std::begin(kTracks));
}

// The opaque pixels of the road tiles, by cell, so "on the road" means on
// asphalt or kerb as the player sees it.
class RoadMap {
   public:
    explicit RoadMap(const tworld& map) {
        for (int i = 0; i < map.count; ++i) {
            const tminimal& o = map.objects[i];
            if (IsRoadKind(o.kind)) cells_[{Cell(o.x - 64), Cell(o.y - 128)}].push_back(&Alpha(o.kind));
        }
    }

    bool On(Point p) const {
        const int cx = Cell(static_cast<int>(std::floor(p.x))), cy = Cell(static_cast<int>(std::floor(p.y)));
        const auto it = cells_.find({cx, cy});
        if (it == cells_.end()) return false;
        const int px = static_cast<int>(std::floor(p.x)) - cx * 128, py = static_cast<int>(std::floor(p.y)) - cy * 128;
        for (const std::vector<uint8_t>* alpha : it->second)
            if (alpha->size() == 128 * 128 && (*alpha)[py * 128 + px] >= 128) return true;
        return false;
    }

    // The road tile's picture has no see-through pixel.
    static bool Opaque(const std::string& kind) {
        const std::vector<uint8_t>& alpha = Alpha(kind);
        return alpha.size() == 128 * 128 && std::all_of(alpha.begin(), alpha.end(), [](uint8_t a) { return a == 255; });
    }

   private:
    static int Cell(int v) { return static_cast<int>(std::floor(v / 128.0)); }

    static const std::vector<uint8_t>& Alpha(const std::string& kind) {
        static std::map<std::string, std::vector<uint8_t>> cache;
        auto [it, added] = cache.try_emplace(kind);
        if (added) {
            const std::string file = std::string(KORVAMO_TEST_DATA) + "/gfx/obj/" + kind + "1.tga";
            int w = 0, h = 0, n = 0;
            if (stbi_uc* pixels = stbi_load(file.c_str(), &w, &h, &n, 4)) {
                if (w == 128 && h == 128)
                    for (int i = 0; i < w * h; ++i) it->second.push_back(pixels[i * 4 + 3]);
                stbi_image_free(pixels);
            }
        }
        return it->second;
    }

    std::map<std::pair<int, int>, std::vector<const std::vector<uint8_t>*>> cells_;
};

class Tracks : public ::testing::TestWithParam<const char*> {
   protected:
    static void SetUpTestSuite() {
        old_cwd_ = fs::current_path();
        fs::current_path(KORVAMO_TEST_DATA);
        oe::UseRecordingBackend();
        oe::Recorder_Enable(false);
        object_registry = TBase{};
        TexBase_LoadFolder(object_registry, "gfx\\obj\\");
        game.tick_timer = nullptr;
        player.car_kind = 0;
        player.difficulty = 1;
    }

    static void TearDownTestSuite() {
        object_registry = TBase{};
        fs::current_path(old_cwd_);
    }

    void SetUp() override {
        World_Clear(world_map);
        world_map.waypoint_count = 0;
        World_LoadRace(world_map, "wld\\" + std::string(GetParam()) + ".wld");
        map_ = &world_map;
        road_ = std::make_unique<RoadMap>(world_map);
    }

    Point Waypoint(int i) const {
        const int n = map_->waypoint_count;
        const tcorner& w = map_->waypoints[((i % n) + n) % n];
        return {static_cast<double>(w.x), static_cast<double>(w.y)};
    }

    static fs::path old_cwd_;
    const tworld* map_ = nullptr;
    std::unique_ptr<RoadMap> road_;
};

fs::path Tracks::old_cwd_;

TEST_P(Tracks, FitsTheWorldAndTheMinimap) {
    EXPECT_GT(map_->count, 100);
    EXPECT_LE(map_->count, WORLD_CAPACITY);
    EXPECT_GE(map_->waypoint_count, 8);
    EXPECT_LE(map_->waypoint_count, WORLD_CAPACITY);
    int x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
    for (int i = 0; i < map_->waypoint_count; ++i) {
        x0 = std::min(x0, map_->waypoints[i].x);
        x1 = std::max(x1, map_->waypoints[i].x);
        y0 = std::min(y0, map_->waypoints[i].y);
        y1 = std::max(y1, map_->waypoints[i].y);
    }
    EXPECT_LE(x1 - x0, 3600);
    EXPECT_LE(y1 - y0, 2700);
    EXPECT_LE((x1 - x0) / 15 + 32, 272);  // the race minimap
    EXPECT_LE((y1 - y0) / 15 + 32, 212);
}

TEST_P(Tracks, CarsFollowWaypointsOnTheRoad) {
    const int n = map_->waypoint_count;
    for (int i = 0; i < n; ++i) {
        const Point a = Waypoint(i), b = Waypoint(i + 1);
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        EXPECT_GT(len, 200) << "waypoint " << i;
        EXPECT_LT(len, 400) << "waypoint " << i;
        const Point side{-(b.y - a.y) / len, (b.x - a.x) / len};
        // The line between two waypoints, and a car's width either side of it.
        for (double t = 0; t <= len; t += 8)
            for (double off : {-48.0, 0.0, 48.0}) {
                const Point p{a.x + (b.x - a.x) * t / len + side.x * off, a.y + (b.y - a.y) * t / len + side.y * off};
                ASSERT_TRUE(road_->On(p))
                    << "off the road between waypoints " << i << " and " << (i + 1) % n << " at " << p.x << "," << p.y;
            }
        // The road is at least 200 px wide at every waypoint.
        for (double off : {-104.0, 104.0})
            EXPECT_TRUE(road_->On({a.x + side.x * off, a.y + side.y * off})) << "narrow at waypoint " << i;
    }
}

TEST_P(Tracks, BendsAreRoundEnoughForTheCars) {
    const int n = map_->waypoint_count;
    for (int i = 0; i < n; ++i) {
        const Point a = Waypoint(i - 1), b = Waypoint(i), c = Waypoint(i + 1);
        const double ab = std::hypot(b.x - a.x, b.y - a.y), bc = std::hypot(c.x - b.x, c.y - b.y),
                     ca = std::hypot(a.x - c.x, a.y - c.y);
        const double cross = std::fabs((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x));
        if (cross < 1e-6 * ab * bc) continue;  // straight on
        // Hairpins have a 256 px centre line; everything else is wider.
        EXPECT_GE(ab * bc * ca / (2 * cross), 240) << "tight turn at waypoint " << i;
    }
}

TEST_P(Tracks, WaypointsOfDifferentPartsKeepApart) {
    // A car takes a waypoint within 160 px: only neighbours may be that close.
    const int n = map_->waypoint_count;
    for (int i = 0; i < n; ++i)
        for (int j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) continue;
            const Point a = Waypoint(i), b = Waypoint(j);
            EXPECT_GE(std::hypot(a.x - b.x, a.y - b.y), 330) << "waypoints " << i << " and " << j;
        }
}

TEST_P(Tracks, BarriersStandOutsideEveryBend) {
    const int n = map_->waypoint_count;
    for (int i = 0; i < n; ++i) {
        const Point a = Waypoint(i - 1), b = Waypoint(i), c = Waypoint(i + 1);
        const double turn = std::fabs(std::atan2((b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x),
                                                 (b.x - a.x) * (c.x - b.x) + (b.y - a.y) * (c.y - b.y)));
        if (turn < 0.2) continue;
        bool near = false;
        for (int k = 0; k < map_->count && !near; ++k) {
            const tminimal& o = map_->objects[k];
            near = IsBarrier(o.kind) && std::hypot(o.x - b.x, o.y - b.y) < 420;
        }
        EXPECT_TRUE(near) << "no barrier by the bend at waypoint " << i;
    }
}

TEST_P(Tracks, PropsStandOffTheRoad) {
    for (int k = 0; k < map_->count; ++k) {
        const tminimal& o = map_->objects[k];
        if (IsLandKind(o.kind) || IsCarKind(o.kind)) continue;
        // What cars collide with never reaches onto the road ...
        const Point body{static_cast<double>(o.x), o.y - std::floor(o.height / 4.0)};
        for (int a = 0; a < 360; a += 45) {
            const Point p{body.x + o.radius * std::cos(a * std::numbers::pi / 180), body.y + o.radius * std::sin(a * std::numbers::pi / 180)};
            ASSERT_FALSE(road_->On(p)) << o.kind << " " << k << " at " << o.x << "," << o.y;
        }
        // ... and props casting shadows never hide it.
        if (o.kind == "lamp" || IsBarrier(o.kind) || o.kind == "sball") continue;
        for (int j = 0; j <= 4; ++j)
            for (int i = 0; i <= 4; ++i)
                ASSERT_FALSE(road_->On({o.x + o.width * (i / 4.0 - 0.5), o.y - o.height * j / 4.0}))
                    << o.kind << " " << k << " covers the road at " << o.x << "," << o.y;
    }
}

// Ground lies under every road tile that lets it show through, and under no
// opaque one (it would be drawn every frame and never seen).
TEST_P(Tracks, GroundLiesUnderEverythingThatShowsIt) {
    std::set<std::pair<int, int>> ground, covered;  // covered: by opaque road
    int opaque_road = 0;
    for (int k = 0; k < map_->count; ++k) {
        const tminimal& o = map_->objects[k];
        if (!IsLandKind(o.kind)) continue;
        if (IsRoadKind(o.kind)) {
            const bool opaque = RoadMap::Opaque(o.kind);
            opaque_road += opaque;
            if (opaque) covered.insert({o.x, o.y});
            EXPECT_EQ(ground.count({o.x, o.y}), opaque ? 0u : 1u)
                << o.kind << " at " << o.x << "," << o.y << (opaque ? " hides ground" : " has no ground under it");
        } else if (o.kind != "lnd_start") {
            ground.insert({o.x, o.y});
        }
    }
    EXPECT_GT(opaque_road, 20);
    // Around the whole route, as far as the screen reaches from the road.
    int x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
    for (int i = 0; i < map_->waypoint_count; ++i) {
        x0 = std::min(x0, map_->waypoints[i].x);
        x1 = std::max(x1, map_->waypoints[i].x);
        y0 = std::min(y0, map_->waypoints[i].y);
        y1 = std::max(y1, map_->waypoints[i].y);
    }
    for (int y = y0 - 560; y <= y1 + 560; y += 64)
        for (int x = x0 - 640; x <= x1 + 640; x += 64) {
            const int cx = static_cast<int>(std::floor(x / 128.0)) * 128 + 64;
            const int cy = static_cast<int>(std::floor(y / 128.0)) * 128 + 128;
            ASSERT_TRUE(ground.count({cx, cy}) || covered.count({cx, cy})) << "no ground at " << x << "," << y;
        }
}

TEST_P(Tracks, TheGridWaitsBehindTheStartLine) {
    const Point start = Waypoint(0);
    const double direction = Waypoint(1).x > start.x ? 1 : -1;
    EXPECT_EQ(Waypoint(1).y, start.y) << "the start straight runs across the line";
    bool line = false;
    for (int k = 0; k < map_->count; ++k) {
        const tminimal& o = map_->objects[k];
        line = line || (o.kind == "lnd_start" && std::abs(o.x - start.x) < 1 && o.y - 128 <= start.y && start.y <= o.y);
    }
    EXPECT_TRUE(line) << "no lnd_start on the first waypoint";
    std::vector<const tminimal*> cars;
    for (int k = 0; k < map_->count; ++k)
        if (IsCarKind(map_->objects[k].kind)) cars.push_back(&map_->objects[k]);
    int players = 0, rivals = 0;
    for (const tminimal* car : cars) {
        players += car->ai == 0;
        rivals += car->ai == 1;
        EXPECT_LT((car->x - start.x) * direction, -40) << car->kind << " is not behind the line";
        EXPECT_GT((car->x - start.x) * direction, -720) << car->kind << " is far from the line";
        EXPECT_TRUE(road_->On({static_cast<double>(car->x), car->y - 32.0})) << car->kind << " is off the road";
        EXPECT_EQ(car->frame, direction > 0 ? 13.0f : 5.0f) << car->kind << " does not face the race";
        for (const tminimal* other : cars)
            if (other != car) {
                EXPECT_GE(std::hypot(car->x - other->x, car->y - other->y), 70);
            }
    }
    EXPECT_EQ(players, 1);
    EXPECT_GE(rivals, 3);
    // Nobody starts right behind a slower car in its lane, at any difficulty,
    // with the car the tournament gives for the track's group.
    const int group_kind = TrackIndex(GetParam()) / 4;
    auto top_speed = [&](const tminimal& car, int difficulty) {
        const int kind =
            car.ai == 0 ? group_kind
                        : static_cast<int>(std::find(std::begin(car_kind_names), std::end(car_kind_names), car.kind) -
                                           std::begin(car_kind_names));
        return TOP_SPEEDS[kind] - car.ai * (HARDEST_DIFFICULTY - difficulty);
    };
    for (const tminimal* car : cars) {
        const tminimal* ahead = nullptr;
        for (const tminimal* other : cars) {
            const double lead = (other->x - car->x) * direction;
            if (std::abs(other->y - car->y) < 40 && lead > 0 && (!ahead || lead < (ahead->x - car->x) * direction))
                ahead = other;
        }
        if (!ahead) continue;
        for (int difficulty = 0; difficulty <= HARDEST_DIFFICULTY; ++difficulty)
            EXPECT_LE(top_speed(*car, difficulty), top_speed(*ahead, difficulty))
                << car->kind << " starts behind a slower " << ahead->kind << " at difficulty " << difficulty;
    }
}

// Every picture stands on the ground the map covers, none beyond its edge.
TEST_P(Tracks, NothingStandsOutsideTheMap) {
    int x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
    for (int k = 0; k < map_->count; ++k) {
        const tminimal& o = map_->objects[k];
        if (!IsLandKind(o.kind) || o.width != 128 || o.height != 128) continue;   // the cells of the map
        x0 = std::min(x0, o.x - 64);
        x1 = std::max(x1, o.x + 64);
        y0 = std::min(y0, o.y - 128);
        y1 = std::max(y1, o.y);
    }
    for (int k = 0; k < map_->count; ++k) {
        const tminimal& o = map_->objects[k];
        EXPECT_TRUE(o.x - o.width / 2 >= x0 && o.x + o.width / 2 <= x1 && o.y - o.height >= y0 && o.y <= y1)
            << o.kind << " at " << o.x << "," << o.y << " beyond the map " << x0 << "," << y0 << " - " << x1 << "," << y1;
    }
}

// Where lamps light a track, they light every piece of its road.
TEST_P(Tracks, LampsLightTheWholeRoad) {
    bool lamps = false;
    for (int k = 0; k < map_->count; ++k) lamps = lamps || map_->objects[k].kind == "lamp";
    if (!lamps) GTEST_SKIP() << "a track in daylight";
    for (int k = 0; k < map_->count; ++k) {
        const tminimal& o = map_->objects[k];
        if (!IsRoadKind(o.kind)) continue;
        for (int32_t c : o.corner_colours)
            ASSERT_GE(c & 0xFF, 0x66) << o.kind << " in the dark at " << o.x << "," << o.y;
    }
}

TEST_P(Tracks, ThePlayersCarIsStoredAsAJeep) {
    const auto bytes = Fs_ReadFile("wld\\" + std::string(GetParam()) + ".wld");
    ASSERT_TRUE(bytes);
    auto raw = std::make_unique<tworld>();
    MapFile_Read(*bytes, *raw);
    int jeeps = 0;
    for (int k = 0; k < raw->count; ++k) jeeps += raw->objects[k].ai == 0 && raw->objects[k].kind == "jeep";
    EXPECT_EQ(jeeps, 1);
    EXPECT_EQ(raw->count, map_->count);
}

INSTANTIATE_TEST_SUITE_P(Generated, Tracks, ::testing::ValuesIn(kTracks));

// The whole set: every file, the themes, variety, and the reversed layouts.
class TrackSet : public ::testing::Test {
   protected:
    static std::unique_ptr<tworld> Raw(const std::string& name) {
        auto w = std::make_unique<tworld>();
        const auto bytes = Fs_ReadFile(std::string(KORVAMO_TEST_DATA) + "/wld/" + name + ".wld");
        EXPECT_TRUE(bytes) << name;
        if (bytes) MapFile_Read(*bytes, *w);
        return w;
    }

    static int Count(const tworld& w, const std::string& prefix) {
        int n = 0;
        for (int k = 0; k < w.count; ++k) n += w.objects[k].kind.starts_with(prefix);
        return n;
    }

    static int Containing(const tworld& w, const std::string& part) {
        int n = 0;
        for (int k = 0; k < w.count; ++k) n += w.objects[k].kind.find(part) != std::string::npos;
        return n;
    }
};

TEST_F(TrackSet, ReversedTracksRaceTheSameLayoutTheOtherWay) {
    for (const std::string base : {"beach1", "beach2", "forest1", "forest2", "icy1", "icy2", "city1", "city2"}) {
        SCOPED_TRACE(base);
        const auto fwd = Raw(base), back = Raw(base + "r");
        ASSERT_EQ(fwd->count, back->count);
        ASSERT_EQ(fwd->waypoint_count, back->waypoint_count);
        const int n = fwd->waypoint_count;
        EXPECT_EQ(back->waypoints[0].x, fwd->waypoints[0].x);
        for (int i = 1; i < n; ++i) {
            EXPECT_EQ(back->waypoints[i].x, fwd->waypoints[n - i].x);
            EXPECT_EQ(back->waypoints[i].y, fwd->waypoints[n - i].y);
        }
        for (int k = 0; k < fwd->count; ++k) {
            const tminimal& a = fwd->objects[k];
            const tminimal& b = back->objects[k];
            EXPECT_EQ(a.kind, b.kind);
            EXPECT_EQ(a.y, b.y);
            // Only the grid moves, to the other side of the line.
            if (IsCarKind(a.kind)) {
                EXPECT_EQ(a.x - fwd->waypoints[0].x, fwd->waypoints[0].x - b.x);
            } else {
                EXPECT_EQ(a.x, b.x);
            }
        }
    }
}

TEST_F(TrackSet, ThemesAndVariety) {
    const std::map<std::string, std::vector<std::string>> theme = {
        {"beach", {"lnd_sand", "lnd_water", "palm", "rak"}},
        {"forest", {"lnd_grass", "tree", "flower", "bush"}},
        {"icy", {"lnd_snow", "lnd_ice", "snowman", "fir", "pen", "lamp"}},
        {"city", {"lnd_asphalt", "house", "flats", "lamp"}},
    };
    for (const auto& [group, kinds] : theme)
        for (const char* layout : {"1", "2"}) {
            const std::string name = group + layout;
            SCOPED_TRACE(name);
            const auto w = Raw(name);
            for (const std::string& kind : kinds) EXPECT_GT(Count(*w, kind), 0) << kind;
            // Hairpins and wider bends.
            EXPECT_GT(Containing(*w, "_arc2_"), 0);
            EXPECT_GT(Containing(*w, "_arc4_") + Containing(*w, "_arc6_"), 0);
        }
    // Lamps at dusk on the ice and all along the city's streets.
    EXPECT_GT(Count(*Raw("icy1"), "lamp"), 0);
    EXPECT_GE(Count(*Raw("city1"), "lamp"), 30);
    EXPECT_EQ(Count(*Raw("beach1"), "lamp"), 0);
}

TEST_F(TrackSet, EveryTrackHasALongStraight) {
    for (const char* name : kTracks) {
        // The longest unbroken row or column of straight road tiles.
        const auto w = Raw(name);
        std::map<std::pair<int, int>, std::set<int>> lines;  // (direction, row or column) -> cells along it
        for (int k = 0; k < w->count; ++k) {
            const tminimal& o = w->objects[k];
            if (o.kind.starts_with("lnd_") && o.kind.ends_with("_edge_n")) lines[{0, o.y}].insert(o.x / 128);
            if (o.kind.starts_with("lnd_") && o.kind.ends_with("_edge_w")) lines[{1, o.x}].insert(o.y / 128);
        }
        int best = 0;
        for (const auto& [line, cells] : lines) {
            int run = 0, last = 0;
            for (int c : cells) {
                run = run > 0 && c == last + 1 ? run + 1 : 1;
                last = c;
                best = std::max(best, run);
            }
        }
        EXPECT_GE(best * 128, 896) << name;
    }
}

}  // namespace
