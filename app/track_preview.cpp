#include "app/track_preview.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "core/state.h"
#include "engine/fs.h"
#include "engine/oe.h"
#include "world/mapfile.h"
#include "world/tournament.h"
#include "world/world.h"

namespace {

constexpr float kMargin = 24.0f;       // px kept clear inside the box
constexpr float kNameScale = 0.9f;
constexpr int32_t kRoadColour = 0xE8E8E8;
constexpr int32_t kStartColour = 0xFF4040;

// The waypoints of the track last asked for.
struct Shown {
    std::string track;
    std::vector<tcorner> waypoints;
};

Shown& LastShown() {
    static Shown shown;
    return shown;
}

std::vector<tcorner> ReadWaypoints(const std::string& track) {
    const auto bytes = Fs_ReadFile("wld\\" + track + ".wld");
    if (!bytes) return {};
    const auto map = std::make_unique<tworld>();
    MapFile_Read(*bytes, *map);
    const int32_t n = std::clamp(map->waypoint_count, 0, WORLD_CAPACITY);
    return {map->waypoints.begin(), map->waypoints.begin() + n};
}

}  // namespace

void DrawTrackPreview(const std::string& track, float x, float y, float w, float h) {
    Shown& shown = LastShown();
    if (shown.track != track) shown = {track, ReadWaypoints(track)};
    const std::vector<tcorner>& points = shown.waypoints;
    Pr2D_Rect(x, y, w, h, 0, 110, 1);
    const std::string name = Tournament_TrackName(track.c_str());
    const int text_w = Text_GetWidth(game.main_font, name, kNameScale, 0);
    Text_Draw(game.main_font, x + (w - text_w) / 2 + 2, y + 10, name, kNameScale, 0, 255, 0x022000);
    Text_Draw(game.main_font, x + (w - text_w) / 2, y + 8, name, kNameScale, 0, 255, 0xFFFF99);
    if (points.size() < 2) return;
    const auto [min_x, max_x] = std::minmax_element(points.begin(), points.end(),
                                                    [](const tcorner& a, const tcorner& b) { return a.x < b.x; });
    const auto [min_y, max_y] = std::minmax_element(points.begin(), points.end(),
                                                    [](const tcorner& a, const tcorner& b) { return a.y < b.y; });
    const float span_x = std::max(1.0f, static_cast<float>(max_x->x - min_x->x));
    const float span_y = std::max(1.0f, static_cast<float>(max_y->y - min_y->y));
    const float top = y + 2 * kMargin;   // under the name
    const float scale = std::min((w - 2 * kMargin) / span_x, (h - 3 * kMargin) / span_y);
    const float left = x + (w - span_x * scale) / 2;
    const float down = top + (h - 3 * kMargin - span_y * scale) / 2;
    auto px = [&](const tcorner& p) { return left + static_cast<float>(p.x - min_x->x) * scale; };
    auto py = [&](const tcorner& p) { return down + static_cast<float>(p.y - min_y->y) * scale; };
    Pr2D_LineWidth(6.0f);
    for (size_t k = 0; k < points.size(); ++k) {
        const tcorner& a = points[k];
        const tcorner& b = points[(k + 1) % points.size()];
        Pr2D_Line(px(a), py(a), px(b), py(b), kRoadColour, 255, 0);
    }
    Pr2D_LineWidth(1.0f);
    Pr2D_Circle(px(points[0]), py(points[0]), 6.0f, kStartColour, 255, 12, 1);
}
