#include "app/hud.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "assets/soundbase.h"
#include "assets/texbase.h"
#include "core/state.h"
#include "engine/oe.h"
#include "world/race_rules.h"
#include "world/race_timing.h"
#include "world/rivals.h"
#include "world/standings.h"
#include "world/tuning.h"

namespace {

constexpr int32_t kShadowColour = 0x022000;
constexpr int kPositionPanelWidth = 140;
constexpr float kTimesScale = 0.75f;   // the times panel's text
// The missed checkpoint hint under the place, an arrow before its text.
constexpr float kHintTop = 108.0f;
constexpr float kHintArrowRoom = 32.0f;
// The standings under the steering wheel.
constexpr int kStandingsTop = 136;
constexpr int kStandingsWidth = 170;
constexpr int kStandingsLine = 24;
constexpr size_t kStandingsRows = 8;
constexpr float kStandingsScale = 0.7f;
// The countdown badge: centred on the screen unless the player's car stands
// there, then below it, or else above it.
constexpr int32_t kBadgeLeft = 336;
constexpr int32_t kBadgeSize = 128;
constexpr std::array<int32_t, 3> kBadgeTops = {236, 380, 100};
constexpr int64_t kBadgeMargin = 8;

struct Phase {
    double from;      // milliseconds since the race start, exclusive except for the first
    int32_t colour;   // the badge's tint
    const char* text;
};

constexpr std::array<Phase, 4> kPhases = {{
    {0, 0x0000FF, "3"},
    {1000, 0x00AAFF, "2"},
    {2000, 0x00FFAA, "1"},
    {3000, 0x00FF00, "GO!!!"},
}};

// Text with its shadow two pixels right of and below it.
void DrawShadowed(float x, float y, const std::string& text, float scale, int32_t colour) {
    Text_Draw(game.main_font, x + 2, y + 2, text, scale, 0, 255, kShadowColour);
    Text_Draw(game.main_font, x, y, text, scale, 0, 255, colour);
}

}  // namespace

int32_t CountdownBadgeTop(const tworld& map) {
    const int32_t count = std::clamp(map.count, 0, WORLD_CAPACITY);
    const tcorner camera = game.main_camera ? tcorner{game.main_camera->x, game.main_camera->y} : tcorner{};
    for (int32_t i = 0; i < count; ++i) {
        const tminimal& car = map.objects[i];
        if (car.ai != 0 || !IsCarKind(car.kind)) continue;
        // The car's sprite on screen, a little margin around it.
        const int64_t left = int64_t{car.x} - camera.x - 32 - kBadgeMargin, right = left + 64 + 2 * kBadgeMargin;
        const int64_t top = int64_t{car.y} - camera.y - 64 - kBadgeMargin, bottom = top + 64 + 2 * kBadgeMargin;
        for (const int32_t badge_top : kBadgeTops) {
            const bool clear = right <= kBadgeLeft || left >= kBadgeLeft + kBadgeSize || bottom <= badge_top ||
                               top >= badge_top + kBadgeSize;
            if (clear) return badge_top;
        }
    }
    return kBadgeTops[0];
}

void DrawCountdown(const tworld& map) {
    const double e = std::abs(game.race_start_time - game.current_time);
    for (const Phase& phase : kPhases) {
        const double to = phase.from + 1000;
        // The first phase starts at 0 itself; each later whole second belongs to none.
        const bool inside = (phase.from == 0 ? e >= 0 : e > phase.from) && e < to;
        if (!inside) continue;
        if (e > to - 100) SndBase_Play(sound_registry, "start", false);
        const int32_t top = CountdownBadgeTop(map);
        FX_SetColorMix(phase.colour);
        SSprite_Draw(TexBase_Find(share_registry, "for"), kBadgeLeft, top, kBadgeSize, kBadgeSize, 255, 0, 9);
        // Measured at scale 1 and drawn at scale 2: centred on x = 400.
        const int w = Text_GetWidth(game.main_font, phase.text, 1.0f, 0);
        Text_Draw(game.main_font, 404 - w, top + 36, phase.text, 2.0f, 0, 255, kShadowColour);
        Text_Draw(game.main_font, 400 - w, top + 32, phase.text, 2.0f, 0, 255, 0x0FFFFF);
        return;
    }
}

void DrawMissedCheckpoint() {
    if (race.missed_checkpoint_at < 0 || game.current_time - race.missed_checkpoint_at > MISSED_CHECKPOINT_MS) return;
    const char* const text = "Missed checkpoint";
    const int w = Text_GetWidth(game.main_font, text, 1.0f, 0);
    const float left = 400 - w / 2.0f - 16 - kHintArrowRoom;
    Pr2D_Rect(left, kHintTop, w + 32 + kHintArrowRoom, 44, 0, 96, 1);
    DrawShadowed(left + kHintArrowRoom + 16, kHintTop + 8, text, 1.0f, 0xFF6060);
    // An arrow at the panel's left end pointing from the car to the waypoint it missed.
    const float dx = static_cast<float>(race.missed_x - race.player_x);
    const float dy = static_cast<float>(race.missed_y - race.player_y);
    const float length = std::hypot(dx, dy);
    if (length < 1.0f) return;
    const float ux = dx / length, uy = dy / length;
    const float cx = left + 8 + kHintArrowRoom / 2, cy = kHintTop + 22;
    const float tip_x = cx + ux * 14, tip_y = cy + uy * 14;
    Pr2D_LineWidth(3.0f);
    Pr2D_Line(cx - ux * 12, cy - uy * 12, tip_x, tip_y, 0xFF6060, 255, 0);
    for (const float side : {1.0f, -1.0f})
        Pr2D_Line(tip_x, tip_y, tip_x - ux * 8 + side * uy * 7, tip_y - uy * 8 - side * ux * 7, 0xFF6060, 255, 0);
    Pr2D_LineWidth(1.0f);
}

void DrawLapCounter() {
    Pr2D_Rect(116, 32, 116, 64, 0, 64, 1);
    const std::string laps = std::to_string(race.player_laps + 1) + "/" + std::to_string(RACE_LAPS) + " Laps";
    DrawShadowed(128, 48, laps, 1.0f, 0xFFFFFF);
}

void DrawBonusPanel() {
    Pr2D_Rect(578, 20, 180, 80, 0, 64, 1);
    int32_t x = 620;
    for (const char* icon : {"bn_slw1", "bn_spd1", "bn_oil1"}) {
        SSprite_Draw(TexBase_Find(object_registry, icon), x, 32, 32, 32, 255, 0, 1);
        x += 32;
    }
}

void DrawScore() {
    const std::string text = "Score: " + std::to_string(player.score);
    const int w = Text_GetWidth(game.main_font, text, 1.0f, 0);
    DrawShadowed(672 - w / 2, 56, text, 1.0f, 0xFFFFFF);
}

int32_t ReadableColour(int32_t tint) {
    int32_t colour = 0;
    for (const int shift : {16, 8, 0}) {
        const int32_t c = (tint >> shift) & 0xFF;
        colour |= (c + (0xFF - c) / 2) << shift;   // halfway to white
    }
    return colour;
}

void DrawStandings(const tworld& map) {
    const std::vector<int32_t> cars = Race_Order(map);
    if (cars.empty()) return;
    const std::vector<double> gaps = RaceTiming_Gaps(map, cars);
    const int rows = static_cast<int>(std::min<size_t>(cars.size(), kStandingsRows));
    Pr2D_Rect(16, kStandingsTop, kStandingsWidth, rows * kStandingsLine + 12, 0, 110, 1);
    for (int k = 0; k < rows; ++k) {
        const tminimal& car = map.objects[cars[k]];
        const float y = static_cast<float>(kStandingsTop + 6 + k * kStandingsLine);
        const int32_t colour = car.ai == 0 ? 0xFFFFFF : ReadableColour(car.colour);
        DrawShadowed(26, y, std::to_string(k + 1) + " " + Rival_Name(map, cars[k]), kStandingsScale, colour);
        if (k == 0 || gaps[k] < 0) continue;
        const std::string gap = RaceTiming_FormatGap(gaps[k]);
        const int w = Text_GetWidth(game.main_font, gap, kStandingsScale, 0);
        DrawShadowed(static_cast<float>(16 + kStandingsWidth - 10 - w), y, gap, kStandingsScale, 0xDDDDDD);
    }
}

void DrawPosition(const tworld& map) {
    const std::vector<int32_t> cars = Race_Order(map);
    const int32_t place = Race_PlayerPosition(map, cars);
    if (place == 0) return;
    const std::string text = Race_Ordinal(place) + " / " + std::to_string(cars.size());
    const int w = Text_GetWidth(game.main_font, text, 1.0f, 0);
    Pr2D_Rect(400 - kPositionPanelWidth / 2, 32, kPositionPanelWidth, 64, 0, 64, 1);
    DrawShadowed(400 - w / 2.0f, 48, text, 1.0f, 0xFFFFFF);
}

void DrawTimes() {
    const bool released = game.current_time >= Race_ReleaseTime();
    const bool finished = race.race_ms >= 0;
    const double lap = finished ? -1 : released ? Race_LapTime() : 0;
    const double total = finished ? race.race_ms : released ? game.current_time - Race_ReleaseTime() : -1;
    const std::string lines[] = {"Lap  " + Race_FormatTime(lap), "Best " + Race_FormatTime(race.best_lap_ms),
                                 "Race " + Race_FormatTime(total)};
    Pr2D_Rect(16, 508, 164, 80, 0, 64, 1);
    float y = 514;
    for (const std::string& line : lines) {
        DrawShadowed(28, y, line, kTimesScale, 0xFFFFFF);
        y += 24;
    }
}
