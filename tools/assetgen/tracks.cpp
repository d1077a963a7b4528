// The sixteen tracks: eight layouts on four themes, each raced both ways,
// written as the game's map files.
#include "tracks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "dress.h"
#include "world/mapfile.h"

namespace assetgen {

namespace {

// The computer cars of a track in grid order: on pole, then the second row
// beside each other. The player's car starts beside the pole sitter.
using Rivals = std::array<Rival, 3>;

struct TrackDesign {
    const char* name;  // the forward track; name + "r" races it the other way
    Layout layout;
    int theme;
    Rivals rivals;
};

const std::vector<Theme>& Themes() {
    static const std::vector<Theme> themes = {
        // Beach: sand, the sea along the south, palms, crabs by the bends.
        {"beach", "lnd_sand", "lnd_water", Patches::Sea, {{"palm", 8}, {"parasol", 3}, {"hut", 1}, {"rock", 1}}, 150,
         "rak", 0, false},
        // Forest: grass, trees, bushes and flowers.
        {"forest", "lnd_grass", nullptr, Patches::None,
         {{"tree", 8}, {"bush", 4}, {"flower", 4}, {"rock", 1}, {"stump", 1}}, 120, nullptr, 0, false},
        // Ice: snow, frozen ponds, firs and snowmen, lamps at dusk.
        {"icy", "lnd_snow", "lnd_ice", Patches::Ponds, {{"fir", 8}, {"snowman", 2}, {"igloo", 1}, {"sball", 2}}, 140,
         "pen", 700, false},
        // City at night: asphalt, sidewalks, houses and flats, street lamps.
        {"city", "lnd_asphalt", "lnd_pavement", Patches::Sidewalks,
         {{"house", 4}, {"flats", 4}, {"tyres", 1}, {"cone", 1}}, 190, nullptr, 420, true},
    };
    return themes;
}

// Eight layouts, each raced both ways. Each group of the tournament meets
// faster computer cars; within a group, tracks where a rival has the next
// faster kind than the player's car are the hard ones.
const std::vector<TrackDesign>& Designs() {
    static const std::vector<TrackDesign> designs = {
        // Switchbacks under a long top straight.
        {"beach1",
         {{{0, 0, 4}, {24, 0, 2}, {24, 4, 2}, {6, 4, 2}, {6, 8, 2}, {20, 8, 2}, {20, 12, 2}, {10, 12, 2}, {10, 16, 2},
           {26, 16, 2}, {26, 20, 2, 1}, {0, 20, 4}},
          12},
         0,
         {{{"jeep", 0xFF0000}, {"jeep", 0x0000FF}, {"jeep", 0xFFFFFF}}}},
        // A long back straight between two sweepers, a comb of hairpins.
        {"beach2",
         {{{27, 0, 6}, {0, 0, 6, -1}, {0, 20, 4}, {8, 20, 2}, {8, 4, 2}, {12, 4, 2}, {12, 16, 2}, {16, 16, 2},
           {16, 10, 2}, {20, 10, 2}, {20, 20, 2}, {27, 20, 2}},
          13},
         0,
         {{{"car", 0xEB4C37}, {"car", 0x4B88C3}, {"jeep", 0x87B05F}}}},
        // Hairpins down the right, an S up the left.
        {"forest1",
         {{{0, 0, 4}, {27, 0, 4, 1}, {27, 20, 2}, {23, 20, 2}, {23, 4, 2}, {19, 4, 2}, {19, 20, 2}, {15, 20, 2},
           {15, 8, 2}, {11, 8, 2}, {11, 20, 2}, {4, 20, 2}, {4, 16, 2}, {0, 16, 2}},
          12},
         1,
         {{{"tank", 0x9C3D0F}, {"car", 0x4B88C3}, {"jeep", 0xEB4C37}}}},
        // Two combs of hairpins, one rising from the bottom left, one hanging from the top right.
        {"forest2",
         {{{19, 0, 2}, {0, 0, 4, -1}, {0, 20, 2}, {4, 20, 2}, {4, 8, 2}, {8, 8, 2}, {8, 20, 2}, {12, 20, 2},
           {12, 14, 2}, {16, 14, 2}, {16, 20, 2}, {27, 20, 4}, {27, 0, 2}, {23, 0, 2}, {23, 10, 2}, {19, 10, 2}},
          9},
         1,
         {{{"turbo", 0xAF385F}, {"car", 0x4B4C87}, {"jeep", 0xFFFFFF}}}},
        // A sweeping loop with an S in it, hairpins on the left.
        {"icy1",
         {{{0, 21, 2}, {27, 21, 6, -1}, {27, 0, 4}, {21, 0, 2}, {21, 13, 2}, {17, 13, 2}, {17, 0, 2}, {13, 0, 2},
           {13, 17, 2}, {9, 17, 2}, {9, 0, 2}, {5, 0, 2}, {5, 17, 2}, {0, 17, 2}},
          14},
         2,
         {{{"tank", 0x4B4C87}, {"tank", 0xAF385F}, {"car", 0x87B05F}}}},
        // A long top straight over hairpins rising from the bottom, a step on the left.
        {"icy2",
         {{{0, 0, 2}, {28, 0, 6}, {28, 21, 4}, {22, 21, 2}, {22, 5, 2}, {18, 5, 2}, {18, 21, 2}, {12, 21, 2},
           {12, 5, 2}, {8, 5, 2}, {8, 21, 2}, {4, 21, 2}, {4, 4, 2}, {0, 4, 2}},
          14},
         2,
         {{{"turbo", 0x4BD84B}, {"tank", 0xFFFFFF}, {"car", 0x333333}}}},
        // City blocks of every size, a wide avenue.
        {"city1",
         {{{0, 0, 4}, {27, 0, 2}, {27, 4, 2}, {12, 4, 2}, {12, 8, 2}, {27, 8, 2, 1}, {27, 21, 4}, {20, 21, 2},
           {20, 12, 2}, {14, 12, 2}, {14, 21, 2}, {8, 21, 2}, {8, 8, 2}, {4, 8, 2}, {4, 21, 2}, {0, 21, 2}},
          12},
         3,
         {{{"turbo", 0xEB4C37}, {"turbo", 0x4BD84B}, {"tank", 0xFFFFFF}}}},
        // A row of short blocks over two long avenues.
        {"city2",
         {{{28, 20, 2}, {0, 20, 4}, {0, 0, 2}, {4, 0, 2}, {4, 8, 2}, {8, 8, 2}, {8, 0, 2}, {12, 0, 2}, {12, 8, 2},
           {16, 8, 2}, {16, 0, 2}, {20, 0, 2}, {20, 8, 2}, {24, 8, 2}, {24, 0, 2}, {28, 0, 2}, {28, 12, 2}, {4, 12, 2},
           {4, 16, 2}, {28, 16, 2}},
          12},
         3,
         {{{"turbo", 0xFF0000}, {"turbo", 0xAFC4AF}, {"tank", 0x4B4CD7}}}},
    };
    return designs;
}

// The map file of a scene, moved so its ground starts at (0, 0).
std::vector<uint8_t> Encode(const Scene& scene) {
    int dx = 0, dy = 0;
    if (!scene.things.empty()) {
        const Thing& first = scene.things.front();  // the top-left ground tile
        dx = kCell / 2 - first.x;
        dy = kCell - first.y;
    }
    auto world = std::make_unique<tworld>();
    // Land tiles stack (sand under water, ground under the road), so objects
    // are appended rather than added where nothing stands yet.
    for (const Thing& t : scene.things) {
        tminimal o;
        o.kind = t.kind;
        o.x = t.x + dx;
        o.y = t.y + dy;
        o.ai = t.ai;
        o.dynamic = t.dynamic;
        o.colour = t.colour;
        World_Append(*world, o);
    }
    for (const Vec2& p : scene.waypoints)
        World_AddWaypoint(*world, static_cast<int32_t>(std::lround(p.x)) + dx,
                          static_cast<int32_t>(std::lround(p.y)) + dy);
    return MapFile_Encode(*world);
}

}  // namespace

std::vector<TrackFile> MakeTracks(const ImageSet& objects, std::string& error) {
    std::vector<TrackFile> files;
    uint64_t seed = 900;
    for (const TrackDesign& design : Designs()) {
        const auto course = BuildCourse(design.layout, error);
        if (!course) {
            error = std::string(design.name) + ": " + error;
            return {};
        }
        const Scene forward = Dress(*course, Themes()[design.theme], design.rivals, objects, ++seed);
        // Every piece of the track has its picture (a style has only the bends its tracks take).
        for (const Thing& t : forward.things)
            if (FindImage(objects, t.kind + (IsCarKind(t.kind) ? "_wh1" : "1")).Width() == 0) {
                error = std::string(design.name) + ": no picture for " + t.kind;
                return {};
            }
        files.push_back({design.name, Encode(forward)});
        files.push_back({std::string(design.name) + "r", Encode(Reversed(forward, *course))});
    }
    return files;
}

}  // namespace assetgen
