// Checks the generated data folder against what the game looks up, and that
// the generator is deterministic and fails cleanly on bad arguments.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "assets/texbase.h"
#include "tools/assetgen/bends.h"
#include "tools/assetgen/theme_art.h"
#include "world/tournament.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = KORVAMO_TEST_DATA;
const fs::path kGenerator = kData.parent_path() / "assetgen";
const char* const kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kCarKinds[] = {"jeep", "car", "tank", "turbo"};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    bool Ok() const { return width > 0 && height > 0; }
    uint8_t Alpha(int x, int y) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
    const uint8_t* Pixel(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

Picture Load(const fs::path& file) {
    Picture p;
    int channels = 0;
    stbi_uc* data = stbi_load(file.c_str(), &p.width, &p.height, &channels, 4);
    if (!data) return {};
    p.rgba.assign(data, data + static_cast<size_t>(p.width) * p.height * 4);
    stbi_image_free(data);
    return p;
}

Picture Share(const std::string& name) { return Load(kData / "gfx" / "share" / (name + ".tga")); }
Picture Object(const std::string& name) { return Load(kData / "gfx" / "obj" / (name + ".tga")); }

std::string ReadAll(const fs::path& file) {
    std::ifstream f(file, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::vector<std::string> EditorKinds() {
    const std::string text = ReadAll(kData / "gfx" / "obj" / "list.txt");
    std::vector<std::string> kinds;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            kinds.push_back(text.substr(at) + "<no CR LF>");
            break;
        }
        kinds.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return kinds;
}

// Mean absolute difference between two columns (or rows) of a picture.
double LineDifference(const Picture& p, bool columns, int a, int b) {
    const int n = columns ? p.height : p.width;
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const uint8_t* pa = columns ? p.Pixel(a, i) : p.Pixel(i, a);
        const uint8_t* pb = columns ? p.Pixel(b, i) : p.Pixel(i, b);
        for (int k = 0; k < 3; ++k) sum += std::abs(pa[k] - pb[k]);
    }
    return sum / (n * 3);
}

TEST(AssetgenTextures, EveryShareNameDecodes) {
    const char* const names[] = {"g_wnd", "g_but", "g_cur", "g_tit", "g_sh", "g_wh", "g_tr", "g_sr",
                                 "g_op", "ann", "g_qt", "logo2", "vemko", "lock", "color", "help1",
                                 "help2", "t0", "t1", "t2", "t3", "for", "light", "smoke"};
    for (const char* name : names) EXPECT_TRUE(Share(name).Ok()) << name;
}

// The tournament and free race screens show each track by its own picture,
// the size of the screens' track image, and its own name.
TEST(AssetgenTextures, EveryTrackHasItsPictureAndName) {
    std::set<std::string> names;
    std::vector<uint8_t> previous;
    for (int32_t track = 0; track < TOURNAMENT_TRACKS; ++track) {
        SCOPED_TRACE(track_files[track]);
        const Picture p = Share(Tournament_TrackPicture(track));
        ASSERT_TRUE(p.Ok());
        EXPECT_EQ(p.width, 400);
        EXPECT_EQ(p.height, 300);
        EXPECT_NE(p.rgba, previous);
        previous = p.rgba;
        EXPECT_STRNE(track_names[track], "");
        names.insert(track_names[track]);
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(TOURNAMENT_TRACKS));
}

TEST(AssetgenTextures, FixedSizesMatchHowTheGameDrawsThem) {
    const std::map<std::string, std::pair<int, int>> share = {
        {"g_cur", {64, 64}}, {"for", {128, 128}}, {"g_wh", {128, 128}}, {"light", {256, 256}},
        {"smoke", {64, 64}}, {"lock", {64, 64}},  {"color", {64, 64}},  {"help1", {800, 364}},
        {"help2", {800, 364}}, {"t0", {400, 300}}, {"g_tit", {800, 256}}};
    for (const auto& [name, size] : share) {
        const Picture p = Share(name);
        EXPECT_EQ(p.width, size.first) << name;
        EXPECT_EQ(p.height, size.second) << name;
    }
    for (const char* name : {"bn_slw1", "bn_spd1", "bn_oil1"}) {
        const Picture p = Object(name);
        EXPECT_EQ(p.width, 32) << name;
        EXPECT_EQ(p.height, 32) << name;
    }
}

TEST(AssetgenTextures, CarFramesExistForEveryKindWithTransparentCorners) {
    for (const char* kind : kCarKinds) {
        for (const char* layer : {"_wh", "_tp"}) {
            for (int d = 1; d <= 16; ++d) {
                const std::string name = std::string(kind) + layer + std::to_string(d);
                const Picture p = Object(name);
                ASSERT_TRUE(p.Ok()) << name;
                EXPECT_EQ(p.width, 64) << name;
                EXPECT_EQ(p.height, 64) << name;
                for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}})
                    EXPECT_EQ(p.Alpha(x, y), 0) << name << " corner " << x << "," << y;
                int solid = 0;
                for (int y = 0; y < 64; ++y)
                    for (int x = 0; x < 64; ++x) solid += p.Alpha(x, y) == 255;
                EXPECT_GT(solid, 150) << name;
            }
        }
    }
}

TEST(AssetgenTextures, CarFramesTurnCounterClockwiseFromUp) {
    // The body's mass lies along its heading: frame 1 is taller than wide,
    // frame 5 (facing left) wider than tall.
    for (const char* kind : kCarKinds) {
        auto extent = [&](int frame) {
            const Picture p = Object(std::string(kind) + "_tp" + std::to_string(frame));
            int x0 = 64, x1 = -1, y0 = 64, y1 = -1;
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x)
                    if (p.Alpha(x, y) > 128) {
                        x0 = std::min(x0, x), x1 = std::max(x1, x);
                        y0 = std::min(y0, y), y1 = std::max(y1, y);
                    }
            return std::pair{x1 - x0, y1 - y0};
        };
        const auto up = extent(1), left = extent(5), down = extent(9), right = extent(13);
        EXPECT_GT(up.second, up.first) << kind;
        EXPECT_GT(left.first, left.second) << kind;
        EXPECT_GT(down.second, down.first) << kind;
        EXPECT_GT(right.first, right.second) << kind;
    }
}

TEST(AssetgenTextures, TankGunPointsAlongTheHeading) {
    // The gun reaches further from the centre than the hull's tail, so it
    // shows which way each frame faces: 1 up, 5 left, 9 down, 13 right.
    auto reach = [](int frame) {
        const Picture p = Object("tank_tp" + std::to_string(frame));
        int left = 0, right = 0, up = 0, down = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (p.Alpha(x, y) > 128) {
                    left = std::max(left, 32 - x), right = std::max(right, x - 31);
                    up = std::max(up, 32 - y), down = std::max(down, y - 31);
                }
        return std::array<int, 4>{up, left, down, right};
    };
    for (int side = 0; side < 4; ++side) {
        const std::array<int, 4> r = reach(1 + 4 * side);
        EXPECT_GT(r[side], r[(side + 2) % 4] + 4) << "frame " << 1 + 4 * side;
    }
}

// Where a whole car's pixel mass lies (wheels and body together), relative
// to the middle of its frame. No car is the same nose and tail: spare
// wheel, big rear tyres, gun, narrow nose. So the mass shifts along the car.
std::pair<double, double> MassOffset(const std::string& kind, int frame) {
    const Picture wheels = Object(kind + "_wh" + std::to_string(frame));
    const Picture body = Object(kind + "_tp" + std::to_string(frame));
    double mass = 0, mx = 0, my = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const double a = std::max(wheels.Alpha(x, y), body.Alpha(x, y)) / 255.0;
            mass += a;
            mx += a * (x + 0.5 - 32);
            my += a * (y + 0.5 - 32);
        }
    return {mx / mass, my / mass};
}

TEST(AssetgenTextures, EveryFrameIsFrameOneTurnedAnticlockwise) {
    // Frame f is frame 1 turned (f - 1) sixteenths of a turn anticlockwise
    // on screen: 5 faces left, 9 down, 13 right. The mass offset turns with it.
    const double kPi = 3.14159265358979;
    for (const char* kind : kCarKinds) {
        const auto [ux, uy] = MassOffset(kind, 1);
        const double size = std::hypot(ux, uy);
        ASSERT_GT(size, 0.4) << kind << ": nose and tail weigh the same";
        for (int frame = 2; frame <= 16; ++frame) {
            const double turn = (frame - 1) * 2 * kPi / 16;
            // Anticlockwise on a screen whose y grows downwards.
            const double ex = ux * std::cos(turn) + uy * std::sin(turn);
            const double ey = -ux * std::sin(turn) + uy * std::cos(turn);
            const auto [fx, fy] = MassOffset(kind, frame);
            EXPECT_LT(std::hypot(fx - ex, fy - ey), 0.3 * size) << kind << " frame " << frame;
        }
    }
}

TEST(AssetgenTextures, BodyLayerIsNeutralGreySoTheGameCanTintIt) {
    for (const char* kind : kCarKinds) {
        const Picture p = Object(std::string(kind) + "_tp1");
        long chroma = 0, count = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                if (p.Alpha(x, y) < 255) continue;
                const uint8_t* px = p.Pixel(x, y);
                chroma += std::max({px[0], px[1], px[2]}) - std::min({px[0], px[1], px[2]});
                ++count;
            }
        ASSERT_GT(count, 0) << kind;
        EXPECT_LT(static_cast<double>(chroma) / count, 12.0) << kind;
    }
}

TEST(AssetgenTextures, ParticleAndCursorAlpha) {
    const Picture light = Share("light");
    EXPECT_GT(light.Alpha(128, 128), 240);
    EXPECT_EQ(light.Alpha(0, 0), 0);
    EXPECT_EQ(light.Alpha(128, 2), 0);
    const uint8_t* centre = light.Pixel(128, 128);
    EXPECT_EQ(centre[0] + centre[1] + centre[2], 3 * 255);
    const Picture smoke = Share("smoke");
    EXPECT_GT(smoke.Alpha(32, 32), 100);
    EXPECT_EQ(smoke.Alpha(0, 0), 0);
    // The game draws the cursor at mouse - (16, 8): the tip must be there.
    const Picture cursor = Share("g_cur");
    EXPECT_GT(cursor.Alpha(16, 9), 200);
    EXPECT_EQ(cursor.Alpha(14, 4), 0);
    EXPECT_EQ(cursor.Alpha(60, 60), 0);
}

TEST(AssetgenTextures, GroundTilesAreSeamless) {
    // Across the wrap-around seam a tile may change no more than between any
    // two neighbouring lines inside it.
    for (const char* kind : {"lnd_sand", "lnd_grass", "lnd_snow", "lnd_ice", "lnd_asphalt", "lnd_road",
                             "lnd_dirt", "lnd_pavement", "lnd_water"}) {
        const Picture p = Object(std::string(kind) + "1");
        ASSERT_TRUE(p.Ok()) << kind;
        EXPECT_EQ(p.width, 128) << kind;
        EXPECT_EQ(p.height, 128) << kind;
        for (bool columns : {true, false}) {
            double inside = 0;
            for (int i = 1; i < 128; ++i) inside = std::max(inside, LineDifference(p, columns, i - 1, i));
            EXPECT_LE(LineDifference(p, columns, 127, 0), inside + 1.0) << kind << (columns ? " columns" : " rows");
        }
    }
}

TEST(AssetgenTextures, EveryLandTileIs128Square) {
    int tiles = 0;
    for (const std::string& kind : EditorKinds()) {
        if (kind.rfind("lnd", 0) != 0) continue;
        const Picture p = Object(kind + "1");
        EXPECT_EQ(p.width, 128) << kind;
        EXPECT_EQ(p.height, 128) << kind;
        ++tiles;
    }
    EXPECT_GE(tiles, 10);
}

TEST(AssetgenTextures, RequiredObjectNamesDecode) {
    for (const char* name : {"lnd_start1", "lnd_water1", "lamp1", "limit1", "rak1", "pen1", "sball1",
                             "bn_slw1", "bn_spd1", "bn_oil1"})
        EXPECT_TRUE(Object(name).Ok()) << name;
}

// The pictures of the object registry by kind, loaded once.
const Picture& Kind(const std::string& kind) {
    static std::map<std::string, Picture> loaded;
    auto [it, fresh] = loaded.try_emplace(kind);
    if (fresh) it->second = Object(kind + "1");
    return it->second;
}

// How much of a pixel the picture covers where a cell's picture is laid: 0..1
// by the pixel's centre, in pixels from a chosen origin.
using Coverage = std::function<double(double x, double y)>;

double Opaque(double, double) { return 1; }

// Where picture b lies right of a (or below it), with a's top-left corner at
// `corner` (b's follows): along their edge both cover what `cover` says, and
// where both are opaque the change across the edge, stretch by stretch of
// 16 px, is no larger than a line's change to its neighbour inside either
// picture there, nor than across the same edge of `like` repeated, with some
// slack. Empty when they join.
std::string SeamFault(const Picture& a, const Picture& b, bool below, std::pair<int, int> corner = {},
                      const Coverage& cover = Opaque, const Picture* like = nullptr) {
    if (!a.Ok() || !b.Ok()) return "missing picture";
    auto at = [below](const Picture& p, int line, int i) { return below ? p.Pixel(i, line) : p.Pixel(line, i); };
    auto differ = [](const uint8_t* p, const uint8_t* q) {
        double d = 0;
        for (int k = 0; k < 3; ++k) d += std::abs(p[k] - q[k]) / 3.0;
        return d;
    };
    const int n = below ? a.width : a.height, last = (below ? a.height : a.width) - 1;
    for (int i = 0; i < n; ++i) {
        // The pixels either side of the edge, where they lie.
        const double along = i + 0.5, x0 = corner.first, y0 = corner.second;
        const double ca = below ? cover(x0 + along, y0 + last + 0.5) : cover(x0 + last + 0.5, y0 + along);
        const double cb = below ? cover(x0 + along, y0 + last + 1.5) : cover(x0 + last + 1.5, y0 + along);
        if (std::abs(at(a, last, i)[3] - 255 * ca) > 64 || std::abs(at(b, 0, i)[3] - 255 * cb) > 64)
            return "cover at " + std::to_string(i) + ": " + std::to_string(at(a, last, i)[3]) + " and " +
                   std::to_string(at(b, 0, i)[3]) + ", the road covers " + std::to_string(ca) + " and " +
                   std::to_string(cb);
    }
    for (int from = 0; from < n; from += 16) {
        double across = 0, inside_a = 0, inside_b = 0, itself = 0;
        for (int i = from; i < from + 16; ++i) {
            if (at(a, last, i)[3] < 250 || at(b, 0, i)[3] < 250) continue;
            across += differ(at(a, last, i), at(b, 0, i));
            inside_a += differ(at(a, last - 1, i), at(a, last, i));
            inside_b += differ(at(b, 0, i), at(b, 1, i));
            if (like) itself += differ(at(*like, last, i), at(*like, 0, i));
        }
        const double allowed = std::max(2 * std::max(inside_a, inside_b), itself) + 16 * 4.0;
        if (across > allowed)
            return "seam at " + std::to_string(from) + ".." + std::to_string(from + 15) + ": " +
                   std::to_string(across / 16) + " across, " + std::to_string(allowed / 16) + " allowed";
    }
    return "";
}

using Layout = std::map<std::pair<int, int>, std::string>;   // cell -> kind

// Every pair of neighbouring cells of a layout joins, the cells' pictures
// covering what `cover` says (in pixels from the corner of cell 0, 0).
void ExpectSeamless(const Layout& layout, const std::string& what, const Coverage& cover = Opaque) {
    for (const auto& [cell, kind] : layout)
        for (bool below : {false, true}) {
            const auto next = layout.find({cell.first + !below, cell.second + below});
            if (next == layout.end()) continue;
            const std::string fault =
                SeamFault(Kind(kind), Kind(next->second), below, {cell.first * 128, cell.second * 128}, cover);
            EXPECT_EQ(fault, "") << what << ": " << kind << (below ? " over " : " left of ") << next->second;
        }
}

// A bend with two cells of straight road beyond each end, as the course lays
// them, in plain kinds; cells counted from the bend's centre.
Layout BendLayout(int r, assetgen::Quadrant q) {
    using assetgen::Quadrant;
    const bool east = q == Quadrant::NE || q == Quadrant::SE, south = q == Quadrant::SE || q == Quadrant::SW;
    auto cell = [=](int a, int b) { return std::pair{east ? a : -a - 1, south ? b : -b - 1}; };
    Layout layout;
    for (int b = 0; b <= r; ++b)
        for (int a = 0; a <= r; ++a) {
            const assetgen::BendCell kind = assetgen::ClassifyBendCell(r, a, b);
            if (kind == assetgen::BendCell::Road) layout[cell(a, b)] = "lnd_road";
            if (kind == assetgen::BendCell::Tile) layout[cell(a, b)] = assetgen::BendTileKind(r, q, a, b);
        }
    for (int k : {-1, -2}) {
        // Beyond the end on the x axis the road runs along y, beyond the other along x.
        layout[cell(r - 1, k)] = east ? "lnd_edge_w" : "lnd_edge_e";
        layout[cell(r, k)] = east ? "lnd_edge_e" : "lnd_edge_w";
        layout[cell(k, r - 1)] = south ? "lnd_edge_n" : "lnd_edge_s";
        layout[cell(k, r)] = south ? "lnd_edge_s" : "lnd_edge_n";
    }
    return layout;
}

// The road of that bend: the ring between its circles in its quadrant, the
// straights (opaque) beyond.
Coverage BendCover(int r, assetgen::Quadrant q) {
    using assetgen::Quadrant;
    const double sx = q == Quadrant::NE || q == Quadrant::SE ? 1 : -1,
                 sy = q == Quadrant::SE || q == Quadrant::SW ? 1 : -1;
    return [=](double x, double y) {
        if (x * sx < 0 || y * sy < 0) return 1.0;
        const double d = std::hypot(x, y);
        return std::clamp(std::min(d - 128.0 * (r - 1), 128.0 * (r + 1) - d) + 0.5, 0.0, 1.0);
    };
}

class AssetgenRoadStyles : public ::testing::TestWithParam<const char*> {
protected:
    Layout Styled(const Layout& plain) const {
        Layout styled;
        for (const auto& [cell, kind] : plain) styled[cell] = assetgen::StyledRoadKind(GetParam(), kind);
        return styled;
    }
};

TEST_P(AssetgenRoadStyles, BendsJoinTheirStraightsInEveryQuadrant) {
    using assetgen::Quadrant;
    for (int r : assetgen::StyleBendRadii(GetParam()))
        for (Quadrant q : {Quadrant::NE, Quadrant::NW, Quadrant::SE, Quadrant::SW})
            ExpectSeamless(Styled(BendLayout(r, q)),
                           "radius " + std::to_string(r) + " quadrant " + std::to_string(static_cast<int>(q)),
                           BendCover(r, q));
}

TEST_P(AssetgenRoadStyles, StraightsAndCornersJoin) {
    // Two cells of road either way, an outer corner and an inner corner.
    const Layout layouts[] = {
        {{{0, 0}, "lnd_edge_n"}, {{1, 0}, "lnd_edge_n"}, {{0, 1}, "lnd_edge_s"}, {{1, 1}, "lnd_edge_s"}},
        {{{0, 0}, "lnd_edge_w"}, {{1, 0}, "lnd_edge_e"}, {{0, 1}, "lnd_edge_w"}, {{1, 1}, "lnd_edge_e"}},
        {{{0, 0}, "lnd_edge_n"}, {{1, 0}, "lnd_edge_ne"}, {{1, 1}, "lnd_edge_e"}, {{0, 1}, "lnd_road"}},
        {{{1, 0}, "lnd_edge_n"}, {{0, 0}, "lnd_edge_nw"}, {{0, 1}, "lnd_edge_w"}, {{1, 1}, "lnd_road"}},
        {{{0, 1}, "lnd_edge_s"}, {{1, 1}, "lnd_edge_se"}, {{1, 0}, "lnd_edge_e"}, {{0, 0}, "lnd_road"}},
        {{{1, 1}, "lnd_edge_s"}, {{0, 1}, "lnd_edge_sw"}, {{0, 0}, "lnd_edge_w"}, {{1, 0}, "lnd_road"}},
        {{{1, 1}, "lnd_inner_ne"},
         {{1, 0}, "lnd_edge_e"},
         {{2, 1}, "lnd_edge_n"},
         {{0, 1}, "lnd_road"},
         {{1, 2}, "lnd_road"}},
        {{{1, 1}, "lnd_inner_nw"},
         {{1, 0}, "lnd_edge_w"},
         {{0, 1}, "lnd_edge_n"},
         {{2, 1}, "lnd_road"},
         {{1, 2}, "lnd_road"}},
        {{{1, 1}, "lnd_inner_se"},
         {{1, 2}, "lnd_edge_e"},
         {{2, 1}, "lnd_edge_s"},
         {{0, 1}, "lnd_road"},
         {{1, 0}, "lnd_road"}},
        {{{1, 1}, "lnd_inner_sw"},
         {{1, 2}, "lnd_edge_w"},
         {{0, 1}, "lnd_edge_s"},
         {{2, 1}, "lnd_road"},
         {{1, 0}, "lnd_road"}},
    };
    for (const Layout& layout : layouts) ExpectSeamless(Styled(layout), "around " + layout.begin()->second);
}

TEST_P(AssetgenRoadStyles, StraightPiecesAreListedAndBendsAreNot) {
    const std::vector<std::string> kinds = EditorKinds();
    auto listed = [&kinds](const std::string& kind) {
        return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
    };
    for (const char* piece : {"lnd_road", "lnd_edge_n", "lnd_edge_sw", "lnd_inner_ne"})
        EXPECT_TRUE(listed(assetgen::StyledRoadKind(GetParam(), piece))) << piece;
    EXPECT_FALSE(listed(assetgen::StyledRoadKind(GetParam(), assetgen::BendTileKind(4, assetgen::Quadrant::NE, 2, 2))));
    // Only road pieces take the style.
    for (const char* other : {"lnd_start", "lnd_grass", "lnd_water", "lamp"})
        EXPECT_EQ(assetgen::StyledRoadKind(GetParam(), other), other);
}

INSTANTIATE_TEST_SUITE_P(Styles, AssetgenRoadStyles, ::testing::Values("", "beach", "forest", "icy", "city"));

TEST(AssetgenThemeArt, EachThemeHasARoadOfItsOwnOrThePlainOne) {
    std::set<std::string> looks;
    for (const char* style : assetgen::kRoadStyles) looks.insert(assetgen::StyledRoadKind(style, "lnd_edge_n"));
    // Four looks: the beach races on the plain road, sand-blown tarmac.
    EXPECT_EQ(looks.size(), 4u);
    EXPECT_EQ(assetgen::StyledRoadKind("beach", "lnd_edge_n"), "lnd_edge_n");
    EXPECT_EQ(assetgen::StyledRoadKind("icy", "lnd_arc4_ne_1_2"), "lnd_icy_arc4_ne_1_2");
}

class AssetgenGrounds : public ::testing::TestWithParam<const char*> {};

TEST_P(AssetgenGrounds, VariantsJoinHoweverTheyAreLaidAndNeverRepeatOnTheGrid) {
    const std::string ground = GetParam();
    constexpr int kSpan = 24;
    std::map<std::pair<int, int>, std::string> field;
    for (int j = -kSpan / 2; j < kSpan / 2; ++j)
        for (int i = -kSpan / 2; i < kSpan / 2; ++i) field[{i, j}] = assetgen::GroundVariantAt(ground, i, j);
    std::set<std::string> used;
    std::set<std::pair<std::string, std::string>> across, down;
    for (const auto& [cell, kind] : field) {
        used.insert(kind);
        if (field.count({cell.first + 1, cell.second})) across.insert({kind, field[{cell.first + 1, cell.second}]});
        if (field.count({cell.first, cell.second + 1})) down.insert({kind, field[{cell.first, cell.second + 1}]});
    }
    EXPECT_TRUE(used.count(ground)) << "the ground's own tile is one of its variants";
    EXPECT_GE(used.size(), 3u);
    for (const std::string& kind : used) {
        EXPECT_EQ(Kind(kind).width, 128) << kind;
        EXPECT_EQ(Kind(kind).height, 128) << kind;
    }
    // As well as the ground's own tile joins itself.
    const Picture& own = Kind(ground);
    for (const auto& [a, b] : across)
        EXPECT_EQ(SeamFault(Kind(a), Kind(b), false, {}, Opaque, &own), "") << a << " left of " << b;
    for (const auto& [a, b] : down)
        EXPECT_EQ(SeamFault(Kind(a), Kind(b), true, {}, Opaque, &own), "") << a << " over " << b;
    // No shift of a few cells maps the field onto itself.
    for (int period = 1; period <= 8; ++period)
        for (auto [dx, dy] : {std::pair{period, 0}, {0, period}, {period, period}}) {
            bool repeats = true;
            for (const auto& [cell, kind] : field) {
                const auto other = field.find({cell.first + dx, cell.second + dy});
                repeats = repeats && (other == field.end() || other->second == kind);
            }
            EXPECT_FALSE(repeats) << "repeats every " << dx << "," << dy << " cells";
        }
}

INSTANTIATE_TEST_SUITE_P(Varied, AssetgenGrounds,
                         ::testing::Values("lnd_sand", "lnd_grass", "lnd_snow", "lnd_ice", "lnd_asphalt",
                                           "lnd_pavement"));

TEST(AssetgenThemeArt, OtherGroundsKeepTheirOwnTile) {
    for (const char* kind : {"lnd_water", "lnd_start", "lnd_dirt"})
        EXPECT_EQ(assetgen::GroundVariantAt(kind, 3, -7), kind);
}

TEST(AssetgenThemeArt, DecalsAreSmallClearAroundAndNotListed) {
    const std::vector<std::string> listed = EditorKinds();
    std::vector<std::string> decals;
    for (const char* style : assetgen::kRoadStyles) {
        EXPECT_FALSE(assetgen::RoadDecals(style).empty()) << style;
        decals.insert(decals.end(), assetgen::RoadDecals(style).begin(), assetgen::RoadDecals(style).end());
    }
    for (const char* ground : {"lnd_sand", "lnd_grass", "lnd_snow", "lnd_asphalt", "lnd_pavement"}) {
        EXPECT_FALSE(assetgen::GroundDecals(ground).empty()) << ground;
        decals.insert(decals.end(), assetgen::GroundDecals(ground).begin(), assetgen::GroundDecals(ground).end());
    }
    for (const std::string& kind : decals) {
        const Picture& p = Kind(kind);
        ASSERT_TRUE(p.Ok()) << kind;
        EXPECT_TRUE(kind.starts_with("lnd_dcl_")) << kind;
        EXPECT_LE(std::max(p.width, p.height), 100) << kind;
        for (int i = 0; i < p.width; ++i)
            EXPECT_EQ(p.Alpha(i, 0) + p.Alpha(i, p.height - 1), 0) << kind << " column " << i;
        for (int i = 0; i < p.height; ++i)
            EXPECT_EQ(p.Alpha(0, i) + p.Alpha(p.width - 1, i), 0) << kind << " row " << i;
        EXPECT_EQ(std::find(listed.begin(), listed.end(), kind), listed.end()) << kind;
    }
}

TEST(AssetgenThemeArt, BarrierBlocksTurnInSteps) {
    EXPECT_EQ(assetgen::BarrierKind(0), "limit");
    EXPECT_EQ(assetgen::BarrierKind(181), "limit");
    EXPECT_EQ(assetgen::BarrierKind(-22.5f), "limit_157");
    EXPECT_EQ(assetgen::BarrierKind(100), "limit_90");
    std::set<std::string> kinds;
    for (int step = 0; step < 8; ++step) {
        const float degrees = step * 22.5f;
        const std::string kind = assetgen::BarrierKind(degrees + 5);
        kinds.insert(kind);
        const Picture& p = Kind(kind);
        ASSERT_TRUE(p.Ok()) << kind;
        EXPECT_LE(std::max(p.width, p.height), 96) << kind;
        // The block's mass leans the way its long side runs: down to the right
        // (y grows downwards) between 0 and 90 degrees, up beyond.
        double mass = 0, mx = 0, my = 0, xy = 0, xx = 0, yy = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if (p.Alpha(x, y) > 200) mass += 1, mx += x, my += y, xx += x * x, yy += y * y, xy += x * y;
        ASSERT_GT(mass, 150) << kind;
        const double cxy = xy / mass - mx / mass * (my / mass), sxx = xx / mass - mx * mx / (mass * mass),
                     syy = yy / mass - my * my / (mass * mass);
        if (step == 0) {
            EXPECT_GT(sxx, syy) << kind;
        } else if (step == 4) {
            EXPECT_LT(sxx, syy) << kind;
        } else {
            EXPECT_EQ(cxy > 0, step < 4) << kind;
        }
    }
    EXPECT_EQ(kinds.size(), 8u);
}

TEST(AssetgenTextures, TheObjectFolderFitsTheGamesListing) {
    int textures = 0;
    for (const auto& entry : fs::directory_iterator(kData / "gfx" / "obj"))
        textures += entry.path().extension() == ".tga";
    EXPECT_LE(textures, FLIST_CAPACITY);
}
TEST(AssetgenEditorList, EveryLineHasATextureAndTilesComeFirst) {
    const std::vector<std::string> kinds = EditorKinds();
    ASSERT_GE(kinds.size(), 20u);
    bool past_tiles = false;
    for (const std::string& kind : kinds) {
        ASSERT_FALSE(kind.empty());
        EXPECT_EQ(kind.find_first_of(" \r\n\t"), std::string::npos) << kind;
        EXPECT_TRUE(Object(kind + "1").Ok()) << kind;
        const bool tile = kind.rfind("lnd", 0) == 0;
        if (!tile) past_tiles = true;
        EXPECT_FALSE(tile && past_tiles) << kind << " comes after a prop";
        EXPECT_NE(kind.rfind("bn", 0), 0u) << "bonuses appear by themselves: " << kind;
    }
    for (const char* needed : {"lnd_start", "lnd_water", "lamp", "limit", "rak", "pen", "sball"})
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), needed), kinds.end()) << needed;
}

struct Wav {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};

bool ParseWav(const std::string& bytes, Wav& wav) {
    auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
                                     static_cast<uint8_t>(bytes[at + 2]) << 16 |
                                     static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24);
    };
    auto u16 = [&](size_t at) { return static_cast<int>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8); };
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return false;
    size_t at = 12;
    bool have_format = false;
    while (at + 8 <= bytes.size()) {
        const std::string id = bytes.substr(at, 4);
        const uint32_t size = u32(at + 4);
        if (at + 8 + size > bytes.size()) return false;
        if (id == "fmt " && size >= 16) {
            wav.format = u16(at + 8);
            wav.channels = u16(at + 10);
            wav.rate = static_cast<int>(u32(at + 12));
            wav.bits = u16(at + 22);
            have_format = true;
        } else if (id == "data" && have_format) {
            for (size_t i = 0; i + 1 < size; i += 2)
                wav.samples.push_back(static_cast<int16_t>(u16(at + 8 + i)));
            return true;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

// Loudness in dB below full scale.
double RmsDb(const Wav& wav) {
    double sum = 0;
    for (int16_t s : wav.samples) sum += static_cast<double>(s) * s;
    if (wav.samples.empty() || sum <= 0) return -1000;
    return 10 * std::log10(sum / wav.samples.size() / (32768.0 * 32768.0));
}

TEST(AssetgenSounds, TenEffectsParseAndAreAudible) {
    for (const char* name : {"amb", "bad", "bum", "click", "eng", "eng_e", "fw", "get", "select", "start"}) {
        Wav wav;
        ASSERT_TRUE(ParseWav(ReadAll(kData / "sfx" / (std::string(name) + ".wav")), wav)) << name;
        EXPECT_EQ(wav.format, 1) << name;
        EXPECT_EQ(wav.bits, 16) << name;
        EXPECT_EQ(wav.channels, 1) << name;
        EXPECT_EQ(wav.rate, 22050) << name;
        ASSERT_FALSE(wav.samples.empty()) << name;
        EXPECT_GT(RmsDb(wav), -30.0) << name;
    }
}

TEST(AssetgenSounds, NoEffectReachesFullScale) {
    // The game plays every effect at full volume; none may clip there.
    for (const char* name : {"amb", "bad", "bum", "click", "eng", "eng_e", "fw", "get", "select", "start"}) {
        Wav wav;
        ASSERT_TRUE(ParseWav(ReadAll(kData / "sfx" / (std::string(name) + ".wav")), wav)) << name;
        int peak = 0;
        for (int16_t s : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_LT(peak, 31000) << name;
    }
}

TEST(AssetgenSounds, EnginesAreQuieterThanACrashAndTheAmbienceQuietest) {
    auto level = [](const char* name) {
        Wav wav;
        EXPECT_TRUE(ParseWav(ReadAll(kData / "sfx" / (std::string(name) + ".wav")), wav)) << name;
        return RmsDb(wav);
    };
    const double crash = level("bum");
    EXPECT_LT(level("eng"), crash - 3) << "the player's engine drowns the crash";
    EXPECT_LT(level("eng_e"), crash - 3) << "a computer car's engine drowns the crash";
    const double ambience = level("amb");
    for (const char* name : {"bad", "bum", "eng", "eng_e", "fw", "get", "start"})
        EXPECT_LT(ambience, level(name)) << name;
}

TEST(AssetgenSounds, EngineHumsAreShortLoops) {
    for (const char* name : {"eng", "eng_e"}) {
        Wav wav;
        ASSERT_TRUE(ParseWav(ReadAll(kData / "sfx" / (std::string(name) + ".wav")), wav)) << name;
        const double seconds = static_cast<double>(wav.samples.size()) / wav.rate;
        EXPECT_GT(seconds, 0.1) << name;
        EXPECT_LT(seconds, 0.4) << name;
        // The jump from the last sample back to the first is no bigger than
        // the steps inside the loop.
        int biggest_step = 0;
        for (size_t i = 1; i < wav.samples.size(); ++i)
            biggest_step = std::max(biggest_step, std::abs(wav.samples[i] - wav.samples[i - 1]));
        EXPECT_LE(std::abs(wav.samples.front() - wav.samples.back()), biggest_step) << name;
    }
    Wav amb;
    ASSERT_TRUE(ParseWav(ReadAll(kData / "sfx" / "amb.wav"), amb));
    EXPECT_GT(amb.samples.size(), 2u * 22050);
}

TEST(AssetgenFont, MetricsParseAndCoverLatin1) {
    std::istringstream in(ReadAll(kData / "fnt" / "font.ofi"));
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line, "korvamo-font 1");
    int atlas_w = 0, atlas_h = 0, line_height = 0, baseline = 0;
    std::map<int, std::vector<int>> glyphs;
    while (std::getline(in, line)) {
        std::istringstream f(line);
        std::string key;
        f >> key;
        if (key == "atlas") f >> atlas_w >> atlas_h;
        if (key == "line") f >> line_height >> baseline;
        if (key == "glyph") {
            std::vector<int> v(8);
            for (int& x : v) ASSERT_TRUE(static_cast<bool>(f >> x)) << line;
            glyphs[v[0]] = v;
        }
    }
    EXPECT_EQ(line_height, 32);
    EXPECT_GT(baseline, 16);
    EXPECT_LT(baseline, 32);
    const Picture atlas = Load(kData / "fnt" / "font.tga");
    ASSERT_TRUE(atlas.Ok());
    EXPECT_EQ(atlas.width, atlas_w);
    EXPECT_EQ(atlas.height, atlas_h);
    EXPECT_EQ(atlas_w & (atlas_w - 1), 0);
    EXPECT_EQ(atlas_h & (atlas_h - 1), 0);
    EXPECT_LE(atlas_w, 1024);
    for (int cp = 32; cp <= 255; ++cp) {
        if (cp > 126 && cp < 160) continue;
        ASSERT_TRUE(glyphs.count(cp)) << cp;
        const std::vector<int>& g = glyphs[cp];
        EXPECT_GE(g[1], 0) << cp;
        EXPECT_GE(g[2], 0) << cp;
        EXPECT_LE(g[1] + g[3], atlas_w) << cp;
        EXPECT_LE(g[2] + g[4], atlas_h) << cp;
        EXPECT_GT(g[7], 0) << cp;
        if (cp >= 33 && cp <= 126) {
            EXPECT_GT(g[3] * g[4], 0) << cp;
            EXPECT_GE(g[6], 0) << cp;
            EXPECT_LE(g[6] + g[4], line_height) << cp;
        }
    }
    // Every atlas pixel is white; only alpha carries the glyphs.
    for (int y = 0; y < atlas.height; ++y)
        for (int x = 0; x < atlas.width; ++x) {
            const uint8_t* px = atlas.Pixel(x, y);
            ASSERT_EQ(px[0] & px[1] & px[2], 255) << x << "," << y;
        }
}

TEST(AssetgenFolders, TrackAndProfileFoldersExist) {
    EXPECT_TRUE(fs::is_directory(kData / "prf"));
    EXPECT_TRUE(fs::is_directory(kData / "wld"));
}

std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = ReadAll(entry.path());
    return files;
}

int RunGenerator(const std::string& args) {
    const std::string command = "\"" + kGenerator.string() + "\" " + args + " > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class AssetgenRuns : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("assetgen_test_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

TEST_F(AssetgenRuns, TwoRunsWriteIdenticalBytes) {
    ASSERT_TRUE(fs::exists(kGenerator)) << kGenerator;
    const fs::path a = root_ / "a", b = root_ / "b";
    const fs::path sheet_a = root_ / "a.png", sheet_b = root_ / "b.png";
    ASSERT_EQ(RunGenerator("--out \"" + a.string() + "\" --contact-sheet \"" + sheet_a.string() + "\" --font " + kFont), 0);
    ASSERT_EQ(RunGenerator("--out \"" + b.string() + "\" --contact-sheet \"" + sheet_b.string() + "\" --font " + kFont), 0);
    EXPECT_TRUE(ReadAll(sheet_a) == ReadAll(sheet_b)) << "the contact sheet differs between runs";
    const auto first = Snapshot(a), second = Snapshot(b);
    ASSERT_GT(first.size(), 150u);
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        ASSERT_TRUE(second.count(name)) << name;
        EXPECT_TRUE(bytes == second.at(name)) << name << " differs between runs";
    }
    // The build's own data folder holds the same files.
    for (const auto& [name, bytes] : first) EXPECT_TRUE(ReadAll(kData / name) == bytes) << name;
}

TEST_F(AssetgenRuns, BadArgumentsAndAMissingFontFailWithoutWriting) {
    ASSERT_TRUE(fs::exists(kGenerator)) << kGenerator;
    EXPECT_EQ(RunGenerator(""), 2);
    EXPECT_EQ(RunGenerator("--out"), 2);
    EXPECT_EQ(RunGenerator("--colour red"), 2);
    const fs::path out = root_ / "nofont";
    EXPECT_EQ(RunGenerator("--out \"" + out.string() + "\" --font \"" + (root_ / "missing.ttf").string() + "\""), 1);
    EXPECT_FALSE(fs::exists(out / "fnt" / "font.ofi"));
    const fs::path garbage = root_ / "garbage.ttf";
    std::ofstream(garbage) << "this is not a font";
    EXPECT_EQ(RunGenerator("--out \"" + out.string() + "\" --font \"" + garbage.string() + "\""), 1);
    EXPECT_FALSE(fs::exists(out / "fnt" / "font.ofi"));
}

TEST_F(AssetgenRuns, ContactSheetShowsEveryTextureWithoutWritingTheDataFolder) {
    ASSERT_TRUE(fs::exists(kGenerator)) << kGenerator;
    const fs::path sheet = root_ / "sheet.png";
    ASSERT_EQ(RunGenerator("--contact-sheet \"" + sheet.string() + "\" --font " + kFont), 0);
    // Only the picture is written.
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 1);
    const Picture p = Load(sheet);
    ASSERT_TRUE(p.Ok());
    // Every texture the generator writes (the track pictures, "t0".."t3" and
    // "tr_" + track, come later, from the track renderer) needs a cell of at least 100 x 100.
    size_t textures = 0;
    for (const char* folder : {"share", "obj"})
        for (const auto& entry : fs::directory_iterator(kData / "gfx" / folder))
            textures += entry.path().extension() == ".tga" &&
                        !std::set<std::string>{"t0", "t1", "t2", "t3"}.count(entry.path().stem().string()) &&
                        !entry.path().stem().string().starts_with("tr_");
    EXPECT_GE(static_cast<double>(p.width) * p.height, textures * 100.0 * 100.0);
    // Pictures are drawn, not only names: the orange of the button skin and
    // the title's lettering shows.
    long orange = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const uint8_t* px = p.Pixel(x, y);
            orange += px[0] > 200 && px[1] > 80 && px[1] < 180 && px[2] < 80;
        }
    EXPECT_GT(orange, 200);
}

TEST_F(AssetgenRuns, StaleTexturesAreRemovedButProfilesKept) {
    ASSERT_TRUE(fs::exists(kGenerator)) << kGenerator;
    const fs::path out = root_ / "data";
    fs::create_directories(out / "gfx" / "obj");
    fs::create_directories(out / "prf");
    std::ofstream(out / "gfx" / "obj" / "old_thing1.tga") << "x";
    std::ofstream(out / "prf" / "Alice") << "x";
    ASSERT_EQ(RunGenerator("--out \"" + out.string() + "\" --font " + kFont), 0);
    EXPECT_FALSE(fs::exists(out / "gfx" / "obj" / "old_thing1.tga"));
    EXPECT_TRUE(fs::exists(out / "prf" / "Alice"));
}

}  // namespace
