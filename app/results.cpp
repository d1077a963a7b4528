#include "app/results.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/state.h"
#include "app/hud.h"
#include "engine/oe.h"
#include "world/race_timing.h"
#include "world/rivals.h"
#include "world/standings.h"

namespace {

constexpr int kPanelTop = 150;          // level with the result windows
constexpr int kPanelWidth = 184;
constexpr int kPanelHeight = 200;
constexpr int kLineHeight = 28;
constexpr float kTextScale = 0.8f;
constexpr int32_t kShadowColour = 0x022000;
constexpr int32_t kPlayerColour = 0x66FF66;
constexpr int32_t kTitleColour = 0xFFFF99;
// Each placing's times go on a smaller line under its driver.
constexpr int kDetailHeight = 22;
constexpr int kDetailIndent = 40;
constexpr float kDetailScale = 0.65f;
constexpr int32_t kDetailColour = 0xDDDDDD;
constexpr size_t kPlacingsShown = 5;

using Lines = std::vector<std::pair<std::string, int32_t>>;   // text and colour

void Line(int x, int y, const std::string& text, int32_t colour, float scale = kTextScale) {
    Text_Draw(game.main_font, x + 2, y + 2, text, scale, 0, 255, kShadowColour);
    Text_Draw(game.main_font, x, y, text, scale, 0, 255, colour);
}

// A dark panel with a title and its lines under it.
void Panel(int x, const std::string& title, const Lines& lines) {
    Pr2D_Rect(x, kPanelTop, kPanelWidth, kPanelHeight, 0, 128, 1);
    Line(x + 12, kPanelTop + 10, title, kTitleColour);
    int y = kPanelTop + 16 + kLineHeight;
    for (const auto& [text, colour] : lines) {
        Line(x + 12, y, text, colour);
        y += kLineHeight;
    }
}

// What a placing's second line tells: the winner's time; a finisher's time
// and gap to the winner; for a car still racing its gap, or laps, behind the winner.
std::string PlacingTimes(const tworld& map, const std::vector<int32_t>& cars, size_t k) {
    const int32_t car = cars[k], winner = cars[0];
    const bool finished = static_cast<int32_t>(k) < race.finishers;
    const std::string time = finished ? Race_FormatTime(race.finish_ms[k]) : "";
    if (k == 0) return time;
    const int32_t laps = finished ? 0 : RaceTiming_LapsDown(map, car, winner);
    const std::string behind =
        laps > 0 ? RaceTiming_FormatLaps(laps) : RaceTiming_FormatGap(RaceTiming_Gap(map, car, winner));
    return time.empty() || behind.empty() ? time + behind : time + "  " + behind;
}

}  // namespace

void DrawResults(const tworld& map) {
    const std::vector<int32_t> cars = Race_Order(map);
    const size_t shown = std::min(cars.size(), kPlacingsShown);
    const int height = std::max<int>(kPanelHeight, 16 + kLineHeight + static_cast<int>(shown) * (kLineHeight + kDetailHeight));
    Pr2D_Rect(8, kPanelTop, kPanelWidth, height, 0, 128, 1);
    Line(20, kPanelTop + 10, "Placings", kTitleColour);
    int y = kPanelTop + 16 + kLineHeight;
    for (size_t k = 0; k < shown; ++k) {
        const tminimal& car = map.objects[cars[k]];
        const int32_t colour = car.ai == 0 ? kPlayerColour : ReadableColour(car.colour);
        Line(20, y, Race_Ordinal(static_cast<int32_t>(k) + 1) + "  " + Rival_Name(map, cars[k]), colour);
        const std::string times = PlacingTimes(map, cars, k);
        if (!times.empty()) Line(20 + kDetailIndent, y + kLineHeight - 4, times, kDetailColour, kDetailScale);
        y += kLineHeight + kDetailHeight;
    }
    Lines points = {
        {"Time  " + Race_FormatTime(race.race_ms), 0xFFFFFF},
        {"Best  " + Race_FormatTime(race.best_lap_ms), 0xFFFFFF},
        {"Bonus  +" + std::to_string(race.bonus_points), 0xFFFFFF},
    };
    if (race.points_lost > 0) points.push_back({"Lost  -" + std::to_string(race.points_lost), 0xFF8080});
    if (race.new_best_lap) points.push_back({"New best lap!", kTitleColour});
    if (race.new_best_race) points.push_back({"New best race!", kTitleColour});
    Panel(800 - 8 - kPanelWidth, "Your race", points);
}
