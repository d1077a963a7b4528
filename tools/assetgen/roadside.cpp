#include "roadside.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "theme_art.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kBarrierStep = 40;             // between barrier blocks along a row, pixels
constexpr float kBarrierOffset = 36;           // from the road's edge to the middle of a bend's barrier row
constexpr float kSeparatedGap = 3.5f * kCell;  // ground strips up to this wide get a barrier row
constexpr float kLitReach = 450;               // a road corner farther than this from a lamp's light is dark
constexpr float kLightShift = 128;             // the light is taken at a corner moved this far up and left

float Degrees(Vec2 d) { return std::atan2(d.y, d.x) * 180.0f / kPi; }

// Puts a barrier block whose middle is at `centre`, turned along `along`,
// unless its collision circle would reach the road or it would double one
// already there. Only the circle counts: the picture of a turned block is
// a square much larger than the block.
void PutBarrier(Placement& place, Vec2 centre, Vec2 along) {
    const std::string kind = BarrierKind(Degrees(along));
    const Canvas& picture = place.Sprite(kind);
    const Vec2 base = centre + Vec2{0, picture.Height() / 2.0f};
    const Vec2 body = base - Vec2{0, std::floor(picture.Height() / 4.0f)};
    if (place.Near(base, "limit", kBarrierStep * 0.6f) ||
        place.RoadGap(body) < std::floor(picture.Width() / 4.0f) + 2 || !place.OnTheMap(kind, base))
        return;
    place.Put(kind, base);
}

// The unit vector along a straight, and its length.
std::pair<Vec2, float> Direction(const std::pair<Vec2, Vec2>& s) {
    const Vec2 d = s.second - s.first;
    const float len = Length(d);
    return {len > 0 ? d * (1.0f / len) : Vec2{1, 0}, len};
}

// How far from the lamps' light the darkest corner of a road tile lies, as
// the game lights a 128 px tile standing at (x, y).
float DarkestCorner(const std::vector<Vec2>& lamps, const RoadTile& t) {
    float worst = 0;
    for (const Vec2 corner : {Vec2{0, 0}, Vec2{kCell, 0}, Vec2{kCell, kCell}, Vec2{0, kCell}}) {
        const Vec2 p = Vec2{static_cast<float>(t.x), static_cast<float>(t.y)} + corner - Vec2{kLightShift, kLightShift};
        float nearest = 1e30f;
        for (const Vec2 lamp : lamps) nearest = std::min(nearest, Length(p - lamp));
        worst = std::max(worst, nearest);
    }
    return worst;
}

bool LampFits(const Placement& place, Vec2 p) {
    return place.ClearOfRoad("lamp", p, -1000, 24) && place.RoadGap(p) > 20 && !place.Crowded(p, 48) &&
           place.OnTheMap("lamp", p);
}

}  // namespace

void PlaceBendBarriers(Placement& place, const Theme& theme, Rng& rng) {
    int bend = 0;
    for (const Bend& b : place.course().bends) {
        const bool east = b.quadrant == Quadrant::NE || b.quadrant == Quadrant::SE;
        const bool south = b.quadrant == Quadrant::SE || b.quadrant == Quadrant::SW;
        const Vec2 sign{east ? 1.0f : -1.0f, south ? 1.0f : -1.0f};
        const float outer = b.radius + kHalfRoad;
        auto at = [&](float rho, float theta) {
            return b.centre + Vec2{sign.x * std::cos(theta) * rho, sign.y * std::sin(theta) * rho};
        };
        const float rho = outer + kBarrierOffset;
        const int blocks = static_cast<int>(std::ceil(rho * kPi / 2 / kBarrierStep));
        for (int k = 0; k <= blocks; ++k) {
            const float theta = kPi / 2 * k / blocks;
            PutBarrier(place, at(rho, theta), {-sign.x * std::sin(theta), sign.y * std::cos(theta)});
        }
        if (theme.critter && bend++ % 2 == 0) {
            for (int k = 0, tries = 0; k < 4 && tries < 60; ++tries) {
                const Vec2 p = at(outer + rng.Range(90, 170), rng.Range(0.2f, kPi / 2 - 0.2f));
                if (!place.ClearOfRoad(theme.critter, p, 40, 30) || place.Crowded(p, 40) ||
                    !place.OnTheMap(theme.critter, p))
                    continue;
                place.Put(theme.critter, p);
                ++k;
            }
        }
    }
}

void PlaceSeparators(Placement& place) {
    const auto& straights = place.course().straights;
    for (size_t i = 0; i < straights.size(); ++i)
        for (size_t j = i + 1; j < straights.size(); ++j) {
            const auto [da, la] = Direction(straights[i]);
            const auto [db, lb] = Direction(straights[j]);
            if (std::fabs(Dot(da, db)) < 0.99f) continue;
            // Where the two run side by side, measured along the first.
            const Vec2 a0 = straights[i].first;
            const Vec2 normal{-da.y, da.x};
            const float apart = Dot(straights[j].first - a0, normal);
            const float gap = std::fabs(apart) - 2 * kHalfRoad;
            if (gap <= 0 || gap > kSeparatedGap) continue;
            const float b0 = Dot(straights[j].first - a0, da), b1 = Dot(straights[j].second - a0, da);
            const float from = std::max(0.0f, std::min(b0, b1)), to = std::min(la, std::max(b0, b1));
            for (float s = from; s <= to; s += kBarrierStep) PutBarrier(place, a0 + da * s + normal * (apart / 2), da);
        }
}

void PlaceLamps(Placement& place, const Theme& theme) {
    if (theme.lamp_spacing <= 0) return;
    const auto& line = place.course().line;
    const size_t n = line.size();
    std::vector<Vec2> lamps;
    auto put = [&](Vec2 p) {
        place.Put("lamp", p);
        lamps.push_back(p);
    };
    auto normal_at = [&](size_t i) {
        const Vec2 d = line[(i + 1) % n] - line[i];
        return Vec2{-d.y, d.x} * (1.0f / Length(d));
    };
    // Evenly along the road, on alternate sides or on both.
    float next = theme.lamp_spacing / 2, travelled = 0;
    int side = 1;
    for (size_t i = 0; i < n; ++i) {
        travelled += Length(line[(i + 1) % n] - line[i]);
        if (travelled < next) continue;
        next += theme.lamp_spacing;
        for (int s : theme.lamps_both_sides ? std::vector<int>{1, -1} : std::vector<int>{side}) {
            for (float rho = kHalfRoad + 30; rho < kHalfRoad + 140; rho += 6) {
                const Vec2 p = line[i] + normal_at(i) * (rho * static_cast<float>(s));
                if (LampFits(place, p)) {
                    put(p);
                    break;
                }
            }
        }
        side = -side;
    }
    // Then wherever a road tile is still dark, the roadside spot that lights it best.
    for (const RoadTile& t : place.course().tiles) {
        if (DarkestCorner(lamps, t) <= kLitReach) continue;
        const Vec2 middle{static_cast<float>(t.x), t.y - kCell / 2.0f};
        size_t nearest = 0;
        for (size_t i = 1; i < n; ++i)
            if (Length(line[i] - middle) < Length(line[nearest] - middle)) nearest = i;
        Vec2 best{};
        float best_dark = 1e30f;
        for (int s : {1, -1})
            for (float rho = kHalfRoad + 30; rho < kHalfRoad + 200; rho += 6) {
                const Vec2 p = line[nearest] + normal_at(nearest) * (rho * static_cast<float>(s));
                if (!LampFits(place, p)) continue;
                lamps.push_back(p);
                const float dark = DarkestCorner(lamps, t);
                lamps.pop_back();
                if (dark < best_dark) best_dark = dark, best = p;
            }
        if (best_dark < 1e30f) put(best);
    }
}

}  // namespace assetgen
