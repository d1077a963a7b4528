// Dressing a course: everything on a track but the road itself is placed
// here, always clear of the road, from a seeded generator.
#include "dress.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "noise.h"
#include "world/world.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;
constexpr int kMargin = 5;          // ground cells beyond the road on every side

// Light props that a car shoves aside.
bool Pushable(const std::string& kind) { return kind == "tyres" || kind == "cone" || kind == "sball"; }

class Dresser {
public:
    Dresser(const Course& course, const Theme& theme, const ImageSet& objects, uint64_t seed)
        : course_(course), theme_(theme), objects_(objects), rng_(seed), noise_(static_cast<uint32_t>(seed)) {}

    Scene Run() {
        Ground();
        for (const RoadTile& t : course_.tiles) Land(t.kind, t.x, t.y);
        const int sx = static_cast<int>(course_.start.x), sy = static_cast<int>(course_.start.y);
        Land("lnd_start", sx, sy);
        Land("lnd_start", sx, sy + kCell);
        Barriers();
        if (theme_.lamp_spacing > 0) Lamps();
        Props();
        Grid();
        scene_.waypoints = Waypoints(course_, kWaypointSpacing);
        return std::move(scene_);
    }

private:
    const Canvas& Sprite(const std::string& kind) const { return FindImage(objects_, kind + "1"); }

    void Land(const std::string& kind, int x, int y) { scene_.things.push_back({kind, x, y}); }

    void Put(const std::string& kind, Vec2 p, uint8_t dynamic = 0) {
        scene_.things.push_back({kind, static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)), 0, dynamic});
        placed_.push_back({p, static_cast<float>(std::max(Sprite(kind).Width(), Sprite(kind).Height()))});
    }

    float RoadGap(Vec2 p) const { return DistanceToLine(course_, p) - kHalfRoad; }

    // Distance between the road and a sprite standing at `base` (its whole
    // picture, so tall props never hide the road) and its collision circle.
    bool ClearOfRoad(const std::string& kind, Vec2 base, float picture_gap, float body_gap) const {
        const Canvas& s = Sprite(kind);
        const float w = static_cast<float>(s.Width()), h = static_cast<float>(s.Height());
        const Vec2 middle{base.x, base.y - h / 2};
        const float reach = std::hypot(w, h) / 2;
        const float gap = RoadGap(middle);
        if (gap < reach + picture_gap) {
            for (int j = 0; j <= 4; ++j)
                for (int i = 0; i <= 4; ++i)
                    if (RoadGap({base.x + w * (i / 4.0f - 0.5f), base.y - h * j / 4.0f}) < picture_gap) return false;
        }
        const Vec2 body{base.x, base.y - std::floor(h / 4)};
        return RoadGap(body) >= std::floor(w / 4) + body_gap;
    }

    bool Crowded(Vec2 p, float size) const {
        for (const auto& [q, other] : placed_)
            if (Length(p - q) < 0.45f * (size + other)) return true;
        return false;
    }

    bool OnPatch(Vec2 p) const {
        const int i = static_cast<int>(std::floor(p.x / kCell)), j = static_cast<int>(std::floor(p.y / kCell));
        return patched_.count({i, j}) > 0;
    }

    // The tile's picture is a whole cell with no see-through pixel (it is
    // written with alpha 255 everywhere).
    bool CoversItsCell(const std::string& kind) const {
        const Canvas& picture = Sprite(kind);
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
            auto [it, fresh] = covers.try_emplace(t.kind, false);
            if (fresh) it->second = CoversItsCell(t.kind);
            if (it->second) hidden.insert({(t.x - kCell / 2) / kCell, t.y / kCell - 1});
        }
        return hidden;
    }

    // Ground under everything but opaque road; patches of the theme's second
    // ground where they keep clear of the road.
    void Ground() {
        const int x0 = course_.cell_x0 - kMargin, x1 = course_.cell_x1 + kMargin;
        const int y0 = course_.cell_y0 - kMargin, y1 = course_.cell_y1 + kMargin;
        const std::set<std::pair<int, int>> hidden = HiddenByRoad();
        std::vector<Vec2> ponds;
        if (theme_.patches == Patches::Ponds) {
            for (int tries = 0; tries < 400 && ponds.size() < 3; ++tries) {
                const Vec2 p{rng_.Range(x0 * kCell, (x1 + 1) * kCell), rng_.Range(y0 * kCell, (y1 + 1) * kCell)};
                if (RoadGap(p) > 450 && std::none_of(ponds.begin(), ponds.end(), [p](Vec2 q) { return Length(p - q) < 900; }))
                    ponds.push_back(p);
            }
        }
        std::vector<Thing> water;
        for (int j = y0; j <= y1; ++j)
            for (int i = x0; i <= x1; ++i) {
                const Vec2 centre{(i + 0.5f) * kCell, (j + 0.5f) * kCell};
                const float gap = RoadGap(centre);
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
                    case Patches::Sidewalks: patch = gap < kCell + 40; break;
                    case Patches::None: break;
                }
                const int x = i * kCell + kCell / 2, y = (j + 1) * kCell;
                if (patch) patched_.insert({i, j});
                // Water sways at its corners: sand stays under it.
                const bool layered = patch && theme_.patches == Patches::Sea;
                if (!hidden.count({i, j})) Land(patch && !layered ? theme_.patch : theme_.ground, x, y);
                if (layered) water.push_back({theme_.patch, x, y});
            }
        scene_.things.insert(scene_.things.end(), water.begin(), water.end());
    }

    // A row of barriers along the outside of every bend, with the theme's
    // critters gathered behind some of them.
    void Barriers() {
        int bend = 0;
        for (const Bend& b : course_.bends) {
            const bool east = b.quadrant == Quadrant::NE || b.quadrant == Quadrant::SE;
            const bool south = b.quadrant == Quadrant::SE || b.quadrant == Quadrant::SW;
            const Vec2 sign{east ? 1.0f : -1.0f, south ? 1.0f : -1.0f};
            const float outer = b.radius + kHalfRoad;
            auto at = [&](float rho, float theta) {
                return b.centre + Vec2{sign.x * std::cos(theta) * rho, sign.y * std::sin(theta) * rho};
            };
            for (float s = 0; s <= outer * kPi / 2 + 1; s += 40) {
                const float theta = std::min(s / outer, kPi / 2);
                for (float rho = outer + 8; rho < outer + 80; rho += 4)
                    if (ClearOfRoad("limit", at(rho, theta), 4, 0)) {
                        Put("limit", at(rho, theta));
                        break;
                    }
            }
            if (theme_.critter && bend++ % 2 == 0) {
                for (int k = 0, tries = 0; k < 4 && tries < 60; ++tries) {
                    const Vec2 p = at(outer + rng_.Range(90, 170), rng_.Range(0.2f, kPi / 2 - 0.2f));
                    if (!ClearOfRoad(theme_.critter, p, 40, 30) || Crowded(p, 40) || OnPatch(p)) continue;
                    Put(theme_.critter, p);
                    ++k;
                }
            }
        }
    }

    // Street lamps along the road, their poles just off it.
    void Lamps() {
        const auto& line = course_.line;
        const size_t n = line.size();
        float next = theme_.lamp_spacing / 2, travelled = 0;
        int side = 1;
        for (size_t i = 0; i < n; ++i) {
            const Vec2 d = line[(i + 1) % n] - line[i];
            travelled += Length(d);
            if (travelled < next) continue;
            next += theme_.lamp_spacing;
            const Vec2 normal = Vec2{-d.y, d.x} * (1.0f / Length(d));
            for (int s : theme_.lamps_both_sides ? std::vector<int>{1, -1} : std::vector<int>{side}) {
                for (float rho = kHalfRoad + 30; rho < kHalfRoad + 140; rho += 6) {
                    const Vec2 p = line[i] + normal * (rho * static_cast<float>(s));
                    if (ClearOfRoad("lamp", p, -1000, 24) && RoadGap(p) > 20 && !Crowded(p, 48)) {
                        Put("lamp", p);
                        break;
                    }
                }
            }
            side = -side;
        }
    }

    // Props on a jittered grid wherever they keep off the road, the patches
    // and each other.
    void Props() {
        int total = 0;
        for (const auto& [kind, weight] : theme_.props) total += weight;
        const float step = theme_.prop_spacing;
        const float x0 = (course_.cell_x0 - kMargin) * kCell, x1 = (course_.cell_x1 + kMargin + 1) * kCell;
        const float y0 = (course_.cell_y0 - kMargin) * kCell, y1 = (course_.cell_y1 + kMargin + 2) * kCell;
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
                const Canvas& s = Sprite(kind);
                const float size = static_cast<float>(std::max(s.Width(), s.Height()));
                if (OnPatch(p) || Crowded(p, size) || !ClearOfRoad(kind, p, 24, 40)) continue;
                Put(kind, p, Pushable(kind) ? 1 : 0);
            }
    }

    // The rivals and the player's car, in two lanes behind the start line, the player last.
    void Grid() {
        const float d = static_cast<float>(course_.direction);
        const Vec2 s = course_.start;
        for (size_t k = 0; k < theme_.rivals.size() + 1; ++k) {
            const float back = 70.0f + 80.0f * k;
            const float lane = k % 2 == 0 ? -kCell / 2 : kCell / 2;
            const bool player = k == theme_.rivals.size();
            const std::string kind = player ? "jeep" : theme_.rivals[k].first;
            const int32_t colour = player ? 0x00FF00 : theme_.rivals[k].second;
            scene_.things.push_back({kind, static_cast<int>(s.x - d * back), static_cast<int>(s.y + lane + 32),
                                     static_cast<uint8_t>(player ? 0 : 1), 1, colour});
        }
    }

    const Course& course_;
    const Theme& theme_;
    const ImageSet& objects_;
    Rng rng_;
    Noise noise_;
    Scene scene_;
    std::vector<std::pair<Vec2, float>> placed_;
    std::set<std::pair<int, int>> patched_;
};

}  // namespace

Scene Dress(const Course& course, const Theme& theme, const ImageSet& objects, uint64_t seed) {
    return Dresser(course, theme, objects, seed).Run();
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
