#include "app/leave_warning.h"

#include <string>

#include "core/state.h"
#include "engine/oe.h"
#include "world/race_leave.h"

namespace {

constexpr float kTextScale = 0.8f;
constexpr float kCentreX = 400.0f;
constexpr float kTop = 500.0f;   // just under the pause window
constexpr int32_t kShadowColour = 0x200000;
constexpr int32_t kWarningColour = 0xFFCC66;
// A dark band under the text keeps it readable on any ground.
constexpr float kBandPadding = 10.0f;
constexpr float kBandHeight = 36.0f;
constexpr int32_t kBandAlpha = 170;

}  // namespace

void DrawLeaveWarning() {
    if (!Race_LeavingCountsAsLost()) return;
    const std::string text =
        "Exit to Menu now and the race counts as lost: -" + std::to_string(Race_LeavingCost()) + " points";
    const float width = Text_GetWidth(game.main_font, text, kTextScale, 0);
    const float x = kCentreX - width / 2.0f;
    Pr2D_Rect(x - kBandPadding, kTop - kBandPadding / 2, width + 2 * kBandPadding, kBandHeight, 0, kBandAlpha, 1);
    Text_Draw(game.main_font, x + 2, kTop + 2, text, kTextScale, 0, 255, kShadowColour);
    Text_Draw(game.main_font, x, kTop, text, kTextScale, 0, 255, kWarningColour);
}
