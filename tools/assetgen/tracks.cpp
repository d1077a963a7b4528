// The sixteen tracks: eight layouts on four themes, each raced both ways,
// written as the game's map files.
#include "tracks.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "dress.h"
#include "world/mapfile.h"

namespace assetgen {

namespace {

struct TrackDesign {
    const char* name;   // the forward track; name + "r" races it the other way
    Layout layout;
    int theme;
};

const std::vector<Theme>& Themes() {
    static const std::vector<Theme> themes = {
        // Beach: sand, the sea along the south, palms, crabs by the bends.
        {"lnd_sand", "lnd_water", Patches::Sea,
         {{"palm", 8}, {"parasol", 3}, {"hut", 1}, {"rock", 1}}, 150, "rak", 0, false,
         {{"jeep", 0xFF0000}, {"car", 0x0000FF}, {"jeep", 0xFFFFFF}}},
        // Forest: grass, trees, bushes and flowers.
        {"lnd_grass", nullptr, Patches::None,
         {{"tree", 8}, {"bush", 4}, {"flower", 4}, {"rock", 1}, {"stump", 1}}, 120, nullptr, 0, false,
         {{"car", 0x9C3D0F}, {"jeep", 0x4B88C3}, {"car", 0xEB4C37}}},
        // Ice: snow, frozen ponds, firs and snowmen, a few lamps at dusk.
        {"lnd_snow", "lnd_ice", Patches::Ponds,
         {{"fir", 8}, {"snowman", 2}, {"igloo", 1}, {"sball", 2}}, 140, "pen", 700, false,
         {{"tank", 0x4B4C87}, {"car", 0xAF385F}, {"tank", 0x87B05F}}},
        // City at night: asphalt, sidewalks, houses and flats, street lamps.
        {"lnd_asphalt", "lnd_pavement", Patches::Sidewalks,
         {{"house", 4}, {"flats", 4}, {"tyres", 1}, {"cone", 1}}, 190, nullptr, 420, true,
         {{"turbo", 0xEB4C37}, {"tank", 0xFFFFFF}, {"turbo", 0x4BD84B}}},
    };
    return themes;
}

const std::vector<TrackDesign>& Designs() {
    static const std::vector<TrackDesign> designs = {
        {"beach1", {{{0, 0, 4}, {20, 0, 6}, {20, 16, 4}, {10, 16, 4}, {10, 8, 4}, {0, 8, 4}}, 9}, 0},
        {"beach2", {{{0, 0, 4}, {15, 0, 4}, {15, 8, 4}, {23, 8, 4}, {23, 18, 6}, {8, 18, 4}, {8, 10, 4}, {0, 10, 4}}, 7}, 0},
        {"forest1", {{{0, 0, 6}, {24, 0, 6}, {24, 17, 4}, {16, 17, 4}, {16, 8, 4}, {8, 8, 4}, {8, 17, 4}, {0, 17, 4}}, 10}, 1},
        {"forest2", {{{8, 0, 4}, {23, 0, 4}, {23, 10, 4}, {15, 10, 4}, {15, 18, 4}, {0, 18, 6}, {0, 8, 4}, {8, 8, 4}}, 7}, 1},
        {"icy1", {{{22, 17, 4}, {0, 17, 6}, {0, 0, 6}, {12, 0, 4}, {12, 8, 4}, {22, 8, 4}}, 9}, 2},
        {"icy2", {{{0, 0, 6}, {22, 0, 4}, {22, 8, 4}, {14, 8, 4}, {14, 17, 4}, {0, 17, 6}}, 10}, 2},
        {"city1", {{{24, 17, 6}, {0, 17, 6}, {0, 0, 4}, {8, 0, 4}, {8, 9, 4}, {16, 9, 4}, {16, 0, 4}, {24, 0, 4}}, 12}, 3},
        {"city2", {{{23, 17, 6}, {0, 17, 4}, {0, 9, 4}, {10, 9, 4}, {10, 0, 4}, {23, 0, 6}}, 9}, 3},
    };
    return designs;
}

// The map file of a scene, moved so its ground starts at (0, 0).
std::vector<uint8_t> Encode(const Scene& scene) {
    int dx = 0, dy = 0;
    if (!scene.things.empty()) {
        const Thing& first = scene.things.front();   // the top-left ground tile
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
        World_AddWaypoint(*world, static_cast<int32_t>(std::lround(p.x)) + dx, static_cast<int32_t>(std::lround(p.y)) + dy);
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
        const Scene forward = Dress(*course, Themes()[design.theme], objects, ++seed);
        files.push_back({design.name, Encode(forward)});
        files.push_back({std::string(design.name) + "r", Encode(Reversed(forward, *course))});
    }
    return files;
}

}  // namespace assetgen
