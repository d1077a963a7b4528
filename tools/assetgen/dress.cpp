// Dressing a course: everything on a track but the road itself is placed
// here, always clear of the road and on the map, from a seeded generator.
#include "dress.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "noise.h"
#include "placement.h"
#include "roadside.h"
#include "theme_art.h"
#include "world/world.h"

namespace assetgen {

namespace {

constexpr float kRoadDecalSpacing = 180;    // along the road, pixels between decal sites
constexpr float kGroundDecalSpacing = 230;  // between ground decal sites, both ways
constexpr float kGridFront = 70;            // from the start line to the pole sitter, pixels
constexpr float kPoleLead = 360;            // from the pole sitter back to the second row
constexpr float kGridRow = 240;             // between the cars behind it in one lane

// Light props that a car shoves aside.
bool Pushable(const std::string& kind) { return kind == "tyres" || kind == "cone" || kind == "sball"; }

class Dresser {
public:
    Dresser(const Course& course, const Theme& theme, const std::array<Rival, 3>& rivals, const ImageSet& objects,
            uint64_t seed)
        : course_(course),
          theme_(theme),
          rivals_(rivals),
          place_(course, objects),
          rng_(seed),
          noise_(static_cast<uint32_t>(seed)) {}

    Scene Run() {
        Ground();
        for (const RoadTile& t : course_.tiles) place_.Land(Road(t.kind), t.x, t.y);
        const int sx = static_cast<int>(course_.start.x), sy = static_cast<int>(course_.start.y);
        place_.Land("lnd_start", sx, sy);
        place_.Land("lnd_start", sx, sy + kCell);
        StrewRoadDecals();
        StrewGroundDecals();
        PlaceBendBarriers(place_, theme_, rng_);
        PlaceSeparators(place_);
        PlaceLamps(place_, theme_);
        Props();
        Grid();
        Scene scene = std::move(place_.scene());
        scene.waypoints = Waypoints(course_, kWaypointSpacing);
        return scene;
    }

private:
    std::string Road(const std::string& kind) const { return StyledRoadKind(theme_.style, kind); }

    bool OnPatch(Vec2 p) const {
        const int i = static_cast<int>(std::floor(p.x / kCell)), j = static_cast<int>(std::floor(p.y / kCell));
        return patched_.count({i, j}) > 0;
    }

    // The tile's picture is a whole cell with no see-through pixel.
    bool CoversItsCell(const std::string& kind) const {
        const Canvas& picture = place_.Sprite(kind);
        if (picture.Width() != kCell || picture.Height() != kCell) return false;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (picture.Get(x, y).a < 254.5f / 255.0f) return false;
        return true;
    }

    // The ground cells that an opaque road tile hides entirely: no ground is
    // laid there, as it would be drawn every frame and never seen.
    std::set<std::pair<int, int>> HiddenByRoad() const {
        std::set<std::pair<int, int>> hidden;
        std::map<std::string, bool> covers;
        for (const RoadTile& t : course_.tiles) {
            if ((t.x - kCell / 2) % kCell != 0 || t.y % kCell != 0) continue;
            auto [it, fresh] = covers.try_emplace(Road(t.kind), false);
            if (fresh) it->second = CoversItsCell(Road(t.kind));
            if (it->second) hidden.insert({(t.x - kCell / 2) / kCell, t.y / kCell - 1});
        }
        return hidden;
    }

    // Ground under everything but opaque road, in variants; patches of the
    // theme's second ground where they keep clear of the road.
    void Ground() {
        const int x0 = place_.CellX0(), x1 = place_.CellX1(), y0 = place_.CellY0(), y1 = place_.CellY1();
        const std::set<std::pair<int, int>> hidden = HiddenByRoad();
        std::vector<Vec2> ponds;
        if (theme_.patches == Patches::Ponds) {
            for (int tries = 0; tries < 400 && ponds.size() < 3; ++tries) {
                const Vec2 p{rng_.Range(x0 * kCell, (x1 + 1) * kCell), rng_.Range(y0 * kCell, (y1 + 1) * kCell)};
                if (place_.RoadGap(p) > 450 &&
                    std::none_of(ponds.begin(), ponds.end(), [p](Vec2 q) { return Length(p - q) < 900; }))
                    ponds.push_back(p);
            }
        }
        std::vector<Thing> water;
        for (int j = y0; j <= y1; ++j)
            for (int i = x0; i <= x1; ++i) {
                const Vec2 centre{(i + 0.5f) * kCell, (j + 0.5f) * kCell};
                const float gap = place_.RoadGap(centre);
                bool patch = false;
                switch (theme_.patches) {
                    case Patches::Sea:
                        patch = gap > 250 && j > course_.cell_y1 + 1 - 2.0f * noise_.At(i * 0.3f, 0.5f, 64) + 0.5f;
                        break;
                    case Patches::Ponds:
                        patch = gap > 160 && std::any_of(ponds.begin(), ponds.end(), [&](Vec2 q) {
                                    return Length(centre - q) < 200 + 130 * noise_.At(i * 0.7f, j * 0.7f, 64);
                                });
                        break;
                    case Patches::Sidewalks:
                        patch = gap < kCell + 40;
                        break;
                    case Patches::None:
                        break;
                }
                const int x = i * kCell + kCell / 2, y = (j + 1) * kCell;
                if (patch) patched_.insert({i, j});
                // Water sways at its corners: sand stays under it.
                const bool layered = patch && theme_.patches == Patches::Sea;
                if (!hidden.count({i, j}))
                    place_.Land(GroundVariantAt(patch && !layered ? theme_.patch : theme_.ground, i, j), x, y);
                if (layered) water.push_back({theme_.patch, x, y});
            }
        for (const Thing& w : water) place_.Land(w.kind, w.x, w.y);
    }

    // A decal of the list at p when its whole picture stays inside `fits`.
    template <class Fits>
    void Decal(const std::vector<std::string>& kinds, Vec2 p, Fits fits) {
        if (kinds.empty()) return;
        const std::string& kind = kinds[rng_.Below(static_cast<int>(kinds.size()))];
        const Canvas& s = place_.Sprite(kind);
        const Vec2 base{p.x, p.y + s.Height() / 2.0f};
        if (!fits(kind, base)) return;
        place_.Land(kind, static_cast<int>(std::lround(base.x)), static_cast<int>(std::lround(base.y)));
    }

    // Decals strewn over the road, away from the start line and the kerbs.
    void StrewRoadDecals() {
        const auto& line = course_.line;
        const size_t n = line.size();
        float next = kRoadDecalSpacing, travelled = 0;
        for (size_t i = 0; i < n; ++i) {
            const Vec2 d = line[(i + 1) % n] - line[i];
            travelled += Length(d);
            if (travelled < next) continue;
            next += kRoadDecalSpacing * rng_.Range(0.6f, 1.4f);
            const Vec2 normal = Vec2{-d.y, d.x} * (1.0f / Length(d));
            const Vec2 p = line[i] + normal * rng_.Range(-kHalfRoad * 0.6f, kHalfRoad * 0.6f);
            if (Length(p - course_.start) < 3 * kCell) continue;
            Decal(RoadDecals(theme_.style), p, [&](const std::string& kind, Vec2 base) {
                const Canvas& s = place_.Sprite(kind);
                const float reach = std::hypot(static_cast<float>(s.Width()), static_cast<float>(s.Height())) / 2;
                return place_.RoadGap({base.x, base.y - s.Height() / 2.0f}) < -reach - 20;
            });
        }
    }

    // Decals on a jittered grid over the ground, off the road and the patches.
    void StrewGroundDecals() {
        const float x0 = place_.CellX0() * kCell, x1 = (place_.CellX1() + 1) * kCell;
        const float y0 = place_.CellY0() * kCell, y1 = (place_.CellY1() + 1) * kCell;
        for (float y = y0; y < y1; y += kGroundDecalSpacing)
            for (float x = x0; x < x1; x += kGroundDecalSpacing) {
                const Vec2 p{x + rng_.Range(0, kGroundDecalSpacing), y + rng_.Range(0, kGroundDecalSpacing)};
                Decal(GroundDecals(theme_.ground), p, [&](const std::string& kind, Vec2 base) {
                    return !OnPatch(p) && place_.OnTheMap(kind, base) && place_.ClearOfRoad(kind, base, 8, 0);
                });
            }
    }

    // Props on a jittered grid wherever they keep off the road, the patches,
    // the map's edge and each other.
    void Props() {
        int total = 0;
        for (const auto& [kind, weight] : theme_.props) total += weight;
        const float step = theme_.prop_spacing;
        const float x0 = place_.CellX0() * kCell, x1 = (place_.CellX1() + 1) * kCell;
        const float y0 = place_.CellY0() * kCell, y1 = (place_.CellY1() + 2) * kCell;
        for (float y = y0; y < y1; y += step)
            for (float x = x0; x < x1; x += step) {
                const Vec2 p{x + rng_.Range(0, step), y + rng_.Range(0, step)};
                int pick = rng_.Below(total);
                const char* kind = theme_.props.front().first;
                for (const auto& [k, weight] : theme_.props) {
                    if (pick < weight) {
                        kind = k;
                        break;
                    }
                    pick -= weight;
                }
                const Canvas& s = place_.Sprite(kind);
                const float size = static_cast<float>(std::max(s.Width(), s.Height()));
                if (OnPatch(p) || !place_.OnTheMap(kind, p) || place_.Crowded(p, size) ||
                    !place_.ClearOfRoad(kind, p, 24, 40))
                    continue;
                place_.Put(kind, p, Pushable(kind) ? 1 : 0);
            }
    }

    // The grid behind the start line in two lanes: the pole sitter alone in
    // front with a lead that lets a faster car get away, then the second
    // computer car beside the player's car, the third behind the second. The
    // player's car comes last in the map.
    void Grid() {
        const float d = static_cast<float>(course_.direction);
        const Vec2 s = course_.start;
        auto car = [&](const std::string& kind, int32_t colour, float back, int lane, bool player) {
            place_.scene().things.push_back({kind, static_cast<int>(s.x - d * back),
                                             static_cast<int>(s.y + lane * kCell / 2 + 32),
                                             static_cast<uint8_t>(player ? 0 : 1), 1, colour});
        };
        car(rivals_[0].kind, rivals_[0].colour, kGridFront, -1, false);
        car(rivals_[1].kind, rivals_[1].colour, kGridFront + kPoleLead, -1, false);
        car(rivals_[2].kind, rivals_[2].colour, kGridFront + kPoleLead + kGridRow, -1, false);
        car("jeep", 0x00FF00, kGridFront + kPoleLead, 1, true);
    }

    const Course& course_;
    const Theme& theme_;
    const std::array<Rival, 3>& rivals_;
    Placement place_;
    Rng rng_;
    Noise noise_;
    std::set<std::pair<int, int>> patched_;
};

}  // namespace

Scene Dress(const Course& course, const Theme& theme, const std::array<Rival, 3>& rivals, const ImageSet& objects,
            uint64_t seed) {
    return Dresser(course, theme, rivals, objects, seed).Run();
}

Scene Reversed(const Scene& scene, const Course& course) {
    Scene back = scene;
    std::reverse(back.waypoints.begin() + 1, back.waypoints.end());
    const int line = static_cast<int>(course.start.x);
    for (Thing& t : back.things)
        if (IsCarKind(t.kind)) t.x = 2 * line - t.x;
    return back;
}

}  // namespace assetgen
