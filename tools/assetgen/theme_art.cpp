#include "theme_art.h"

#include <cmath>
#include <future>
#include <span>
#include <vector>

#include "barriers.h"
#include "bends.h"
#include "decals.h"
#include "ground_variants.h"
#include "road_pieces.h"
#include "road_styles.h"

namespace assetgen {

namespace {

// The styles whose roads have pieces of their own; the beach races on the
// plain road, sand-blown tarmac. The game's folder listing holds at most 1025
// textures and a style's pieces are up to two hundred of them (a bend tile
// for every cell of every radius and quadrant), so each style has the bends
// its tracks take and no more.
struct OwnRoad {
    const char* style;
    RoadLook (*look)();
    std::span<const int> radii;   // the bends its tracks take
};

constexpr int kNoSweepers[] = {2, 4};
constexpr OwnRoad kOwnRoads[] = {
    {"forest", ForestRoad, kNoSweepers}, {"icy", IcyRoad, kBendRadii}, {"city", CityRoad, kNoSweepers}};

bool HasOwnRoad(const std::string& style) {
    for (const OwnRoad& own : kOwnRoads)
        if (style == own.style) return true;
    return false;
}

bool IsRoadPiece(const std::string& kind) {
    return kind == "lnd_road" || kind.starts_with("lnd_edge_") || kind.starts_with("lnd_inner_") ||
           kind.starts_with("lnd_arc");
}

// Every piece of a road of its own, in the order of the plain road's.
ImageSet RoadSet(const std::string& style, const RoadLook& look, std::span<const int> radii) {
    const std::string prefix = "lnd_" + style + "_";
    ImageSet set{{prefix + "road1", look.surface, true}};
    ImageSet edges = MakeRoadEdges(prefix, look.surface, look.edge);
    ImageSet bends = MakeBendTiles(prefix, look.surface, look.edge, radii);
    for (ImageSet* part : {&edges, &bends})
        for (Image& image : *part) set.push_back(std::move(image));
    return set;
}

constexpr float kBarrierStep = 22.5f;   // degrees between the barrier pictures
constexpr int kBarrierSteps = 8;        // over half a turn

}  // namespace

std::string StyledRoadKind(const std::string& style, const std::string& kind) {
    if (!HasOwnRoad(style) || !IsRoadPiece(kind)) return kind;
    return "lnd_" + style + "_" + kind.substr(4);
}

std::span<const int> StyleBendRadii(const std::string& style) {
    for (const OwnRoad& own : kOwnRoads)
        if (style == own.style) return own.radii;
    return kBendRadii;
}

std::string GroundVariantAt(const std::string& ground, int i, int j) { return GroundVariantKind(ground, i, j); }

const std::vector<std::string>& RoadDecals(const std::string& style) { return DecalsOn(style); }

const std::vector<std::string>& GroundDecals(const std::string& ground) { return DecalsOn(ground); }

std::string BarrierKind(float degrees) {
    const float turn = std::fmod(std::fmod(degrees, 180.0f) + 180.0f, 180.0f);
    const int step = static_cast<int>(std::lround(turn / kBarrierStep)) % kBarrierSteps;
    return step == 0 ? "limit" : "limit_" + std::to_string(static_cast<int>(step * kBarrierStep));
}

ImageSet MakeThemeArt(const ImageSet& objects) {
    // One job per road of its own, one for the grounds, one for the rest; the
    // order of the set stays fixed.
    std::vector<std::future<ImageSet>> jobs;
    for (const OwnRoad& own : kOwnRoads)
        jobs.push_back(std::async(std::launch::async, [&own] { return RoadSet(own.style, own.look(), own.radii); }));
    jobs.push_back(std::async(std::launch::async, [&objects] { return MakeGroundVariants(objects); }));
    jobs.push_back(std::async(std::launch::async, [] {
        ImageSet set = MakeDecals();
        for (int step = 1; step < kBarrierSteps; ++step)
            set.push_back({BarrierKind(step * kBarrierStep) + "1", BarrierBlock(step * kBarrierStep), false});
        return set;
    }));
    ImageSet set;
    for (auto& job : jobs)
        for (Image& image : job.get()) set.push_back(std::move(image));
    return set;
}

}  // namespace assetgen
