// The contact grid against a scan of the whole map: on random maps whose
// objects move, come and go, the objects a mover touches or could take as a
// bonus are found among the grid's offers, in the same order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "world/contact_grid.h"

namespace {

struct Shape {
    const char* name;
    int32_t objects;
    int32_t area;       // bases spread over area x area pixels
    bool outliers;      // a few objects millions of pixels away
};

void PrintTo(const Shape& shape, std::ostream* os) { *os << shape.name; }

class ContactGridScan : public ::testing::TestWithParam<Shape> {
protected:
    std::mt19937 rng_{12345};

    int32_t Uniform(int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng_); }

    tminimal RandomObject(int32_t area, bool outliers) {
        static const char* const kinds[] = {"lnd_grass", "tree", "barrel", "car", "bn_spd", "limit"};
        static const int32_t sizes[] = {0, 8, 32, 40, 64, 96, 128, 300};
        tminimal o;
        o.kind = kinds[Uniform(0, 5)];
        o.x = Uniform(0, area);
        o.y = Uniform(0, area);
        if (outliers && Uniform(0, 50) == 0) o.x = Uniform(0, 1) ? 2'000'000'000 : -2'000'000'000;
        o.width = sizes[Uniform(0, 7)];
        o.height = sizes[Uniform(0, 7)];
        o.radius = o.width / 4;
        return o;
    }

    // The whole map in index order: what the mover touches or could take.
    static std::vector<int32_t> Scan(const tworld& map, const tminimal& mover, int32_t after) {
        std::vector<int32_t> found;
        for (int32_t j = after + 1; j < map.count; ++j)
            if (Reaches(mover, map.objects[j])) found.push_back(j);
        return found;
    }

    static bool Reaches(const tminimal& mover, const tminimal& o) {
        if (IsLandKind(o.kind)) return false;
        const bool pickup = std::llabs(int64_t{mover.x} - o.x) < BONUS_PICKUP_REACH &&
                            std::llabs(int64_t{mover.y} - o.y) < BONUS_PICKUP_REACH;
        return pickup || Contact_Touch(mover, o).touching;
    }

    void ExpectSameAsScan(const ContactGrid& grid, const tworld& map, const tminimal& mover, int32_t after) {
        std::vector<int32_t> offered;
        grid.Near(mover, after, offered);
        std::vector<int32_t> reached;
        for (size_t k = 0; k < offered.size(); ++k) {
            ASSERT_GT(offered[k], k == 0 ? after : offered[k - 1]) << "ascending, past `after`, none twice";
            ASSERT_LT(offered[k], map.count);
            if (Reaches(mover, map.objects[offered[k]])) reached.push_back(offered[k]);
        }
        ASSERT_EQ(reached, Scan(map, mover, after)) << "mover at " << mover.x << "," << mover.y;
    }
};

TEST_P(ContactGridScan, FindsWhatTheWholeMapScanFinds) {
    const Shape shape = GetParam();
    auto map = std::make_unique<tworld>();
    for (int32_t i = 0; i < shape.objects; ++i) World_Append(*map, RandomObject(shape.area, shape.outliers));
    ContactGrid grid;
    grid.Build(*map);
    int64_t touches = 0;
    for (int round = 0; round < 40; ++round) {
        // Some objects move, a few far; the grid is told of each, as the race step does.
        for (int m = 0; m < map->count / 8; ++m) {
            const int32_t i = Uniform(0, map->count - 1);
            const int32_t step = Uniform(0, 9) == 0 ? 2000 : 40;
            map->objects[i].x += Uniform(-step, step);
            map->objects[i].y += Uniform(-step, step);
            grid.Moved(*map, i);
        }
        // Objects come and go between builds.
        if (round % 3 == 0 && map->count > 0) World_RemoveAt(*map, Uniform(0, map->count - 1));
        if (round % 4 == 0) World_Append(*map, RandomObject(shape.area, shape.outliers));
        if (round % 3 == 0 || round % 4 == 0) grid.Build(*map);
        for (int q = 0; q < 25; ++q) {
            const bool own = map->count > 0 && Uniform(0, 1) == 0;
            const tminimal mover = own ? map->objects[Uniform(0, map->count - 1)]
                                       : RandomObject(shape.area, shape.outliers);
            const int32_t after = Uniform(-1, std::max(map->count - 1, -1));
            ExpectSameAsScan(grid, *map, mover, after);
            touches += static_cast<int64_t>(Scan(*map, mover, after).size());
        }
    }
    if (shape.objects > 100) {
        EXPECT_GT(touches, 0) << "the maps are dense enough to touch";
    }
}

INSTANTIATE_TEST_SUITE_P(RandomMaps, ContactGridScan,
                         ::testing::Values(Shape{"empty", 0, 1000, false}, Shape{"sparse", 300, 6000, false},
                                           Shape{"crowded", 1500, 600, false},
                                           Shape{"spread_with_outliers", 800, 3000, true}),
                         [](const ::testing::TestParamInfo<Shape>& info) { return std::string(info.param.name); });

}  // namespace
