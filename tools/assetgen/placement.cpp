#include "placement.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Placement::Placement(const Course& course, const ImageSet& objects) : course_(course), objects_(objects) {}

bool Placement::ClearOfRoad(const std::string& kind, Vec2 base, float picture_gap, float body_gap) const {
    const Canvas& s = Sprite(kind);
    const float w = static_cast<float>(s.Width()), h = static_cast<float>(s.Height());
    const Vec2 middle{base.x, base.y - h / 2};
    const float reach = std::hypot(w, h) / 2;
    if (RoadGap(middle) < reach + picture_gap) {
        for (int j = 0; j <= 4; ++j)
            for (int i = 0; i <= 4; ++i)
                if (RoadGap({base.x + w * (i / 4.0f - 0.5f), base.y - h * j / 4.0f}) < picture_gap) return false;
    }
    const Vec2 body{base.x, base.y - std::floor(h / 4)};
    return RoadGap(body) >= std::floor(w / 4) + body_gap;
}

bool Placement::OnTheMap(const std::string& kind, Vec2 base) const {
    const Canvas& s = Sprite(kind);
    const float w = static_cast<float>(s.Width()), h = static_cast<float>(s.Height());
    return base.x - w / 2 >= CellX0() * kCell && base.x + w / 2 <= (CellX1() + 1) * kCell &&
           base.y - h >= CellY0() * kCell && base.y <= (CellY1() + 1) * kCell;
}

bool Placement::Crowded(Vec2 p, float size) const {
    return std::any_of(placed_.begin(), placed_.end(),
                       [&](const Placed& q) { return Length(p - q.at) < 0.45f * (size + q.size); });
}

bool Placement::Near(Vec2 p, const std::string& kind, float distance) const {
    return std::any_of(placed_.begin(), placed_.end(),
                       [&](const Placed& q) { return q.kind.starts_with(kind) && Length(p - q.at) < distance; });
}

void Placement::Put(const std::string& kind, Vec2 base, uint8_t dynamic) {
    scene_.things.push_back(
        {kind, static_cast<int>(std::lround(base.x)), static_cast<int>(std::lround(base.y)), 0, dynamic});
    placed_.push_back({base, static_cast<float>(std::max(Sprite(kind).Width(), Sprite(kind).Height())), kind});
}

}  // namespace assetgen
