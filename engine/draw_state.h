// draw_state.h: what the FX_ and Pr2D_LineWidth calls set for later drawing.
#pragma once

#include <array>
#include <cstdint>

#include "engine/canvas.h"

namespace oe {

struct DrawState {
    int32_t mix_colour = 0xFFFFFF;                   // flag 8
    int blend_mode = 0;                              // 1 additive, anything else normal
    std::array<int, 8> offsets{};                    // flag 32: dx, dy of each corner
    std::array<int32_t, 4> corner_colours{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};   // flag 64
    std::array<int, 4> corner_alphas{255, 255, 255, 255};                            // flag 64
    float line_width = 1.0f;
};

const DrawState& Draw_State();
void Draw_ResetState();   // back to the start-up values above

Blend Draw_Blend();       // the blend mode of the current state

// The quad SSprite_Draw draws at (x, y) (screen coordinates) for these
// arguments and flags under the current state: corners white at `alpha`,
// times the mix colour with flag 8, times the corner colours and alphas with
// flag 64, moved by the corner offsets with flag 32.
SpriteQuad Draw_SpriteQuad(float x, float y, float w, float h, int alpha, float angle, int flags);

}  // namespace oe
