// draw.cpp: the drawing calls of the engine API. Each call is logged for the
// recording backend, then drawn when a canvas exists. Positions go through
// the camera while one is switched on.
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/core.h"
#include "engine/draw_state.h"
#include "engine/font.h"
#include "engine/record.h"

namespace oe {

namespace {

DrawState state;

float CameraX() { return DrawCamera() ? static_cast<float>(DrawCamera()->x) : 0.0f; }
float CameraY() { return DrawCamera() ? static_cast<float>(DrawCamera()->y) : 0.0f; }

}  // namespace

const DrawState& Draw_State() { return state; }

void Draw_ResetState() { state = DrawState{}; }

Blend Draw_Blend() { return state.blend_mode == 1 ? Blend::Add : Blend::Normal; }

SpriteQuad Draw_SpriteQuad(float x, float y, float w, float h, int alpha, float angle, int flags) {
    SpriteQuad quad{x, y, w, h, angle, {}, {}};
    Colour base = ColourFromRgb(0xFFFFFF, alpha);
    if (flags & OE_SPRITE_COLOR_MIX) base = Multiply(base, ColourFromRgb(state.mix_colour, 255));
    for (size_t i = 0; i < 4; ++i) {
        quad.colours[i] = (flags & OE_SPRITE_VCA)
                              ? Multiply(base, ColourFromRgb(state.corner_colours[i], state.corner_alphas[i]))
                              : base;
        if (flags & OE_SPRITE_VERTEXES) {
            quad.offsets[i] = SDL_FPoint{static_cast<float>(state.offsets[2 * i]),
                                         static_cast<float>(state.offsets[2 * i + 1])};
        }
    }
    return quad;
}

}  // namespace oe

void SSprite_Draw(OE_Texture tex, float x, float y, float w, float h, int alpha, float angle, int flags) {
    oe::Record("SSprite_Draw", {x, y, w, h, double(alpha), angle, double(flags)}, {}, tex);
    oe::Canvas* canvas = oe::CurrentCanvas();
    if (!canvas || !tex) return;
    canvas->DrawSprite(tex, oe::Draw_SpriteQuad(x - oe::CameraX(), y - oe::CameraY(), w, h, alpha, angle, flags),
                       oe::Draw_Blend());
}

void FX_SetColorMix(int32_t colour) {
    oe::Record("FX_SetColorMix", {double(colour)});
    oe::state.mix_colour = colour;
}

void FX_SetBlendMode(int mode) {
    oe::Record("FX_SetBlendMode", {double(mode)});
    oe::state.blend_mode = mode;
}

void FX_SetVertexes(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    oe::Record("FX_SetVertexes", {double(x1), double(y1), double(x2), double(y2), double(x3), double(y3),
                                  double(x4), double(y4)});
    oe::state.offsets = {x1, y1, x2, y2, x3, y3, x4, y4};
}

void FX_SetVCA(int32_t c1, int32_t c2, int32_t c3, int32_t c4, int a1, int a2, int a3, int a4) {
    oe::Record("FX_SetVCA", {double(c1), double(c2), double(c3), double(c4), double(a1), double(a2), double(a3),
                             double(a4)});
    oe::state.corner_colours = {c1, c2, c3, c4};
    oe::state.corner_alphas = {a1, a2, a3, a4};
}

void Pr2D_Rect(float x, float y, float w, float h, int32_t colour, int alpha, int flags) {
    oe::Record("Pr2D_Rect", {x, y, w, h, double(colour), double(alpha), double(flags)});
    oe::Canvas* canvas = oe::CurrentCanvas();
    if (!canvas) return;
    x -= oe::CameraX();
    y -= oe::CameraY();
    const oe::Colour c = oe::ColourFromRgb(colour, alpha);
    if (flags & OE_PR2D_FILL) {
        canvas->FillRect(x, y, w, h, c, oe::Draw_Blend());
    } else {
        canvas->OutlineRect(x, y, w, h, oe::state.line_width, c, oe::Draw_Blend());
    }
}

// The flags of a line (the game passes 2) change nothing here.
void Pr2D_Line(float x1, float y1, float x2, float y2, int32_t colour, int alpha, int flags) {
    oe::Record("Pr2D_Line", {x1, y1, x2, y2, double(colour), double(alpha), double(flags)});
    oe::Canvas* canvas = oe::CurrentCanvas();
    if (!canvas) return;
    const float cx = oe::CameraX(), cy = oe::CameraY();
    canvas->Line(x1 - cx, y1 - cy, x2 - cx, y2 - cy, oe::state.line_width, oe::ColourFromRgb(colour, alpha),
                 oe::Draw_Blend());
}

void Pr2D_Circle(float x, float y, float radius, int32_t colour, int alpha, int segments, int flags) {
    oe::Record("Pr2D_Circle", {x, y, radius, double(colour), double(alpha), double(segments), double(flags)});
    oe::Canvas* canvas = oe::CurrentCanvas();
    if (!canvas) return;
    canvas->Circle(x - oe::CameraX(), y - oe::CameraY(), radius, segments, oe::state.line_width,
                   (flags & OE_PR2D_FILL) != 0, oe::ColourFromRgb(colour, alpha), oe::Draw_Blend());
}

void Pr2D_LineWidth(float width) {
    oe::Record("Pr2D_LineWidth", {width});
    oe::state.line_width = width;
}

// The font flags (the game passes 266) change nothing here.
OE_Font Text_LoadFontFromFile(const std::string& texture_file, const std::string& info_file, uint32_t colour_key,
                              int flags) {
    OE_Font font = oe::Font_Load(texture_file, info_file, colour_key);
    oe::Record("Text_LoadFontFromFile", {double(int32_t(colour_key)), double(flags)},
               texture_file + " " + info_file, font);
    return font;
}

void Text_Draw(OE_Font font, float x, float y, const std::string& text, float scale, float step, int alpha,
               int32_t colour) {
    oe::Record("Text_Draw", {x, y, scale, step, double(alpha), double(colour)}, text, font);
    oe::Canvas* canvas = oe::CurrentCanvas();
    if (!canvas || !font) return;
    std::vector<oe::TexturePatch> patches;
    oe::Font_LayoutOnScreen(font->metrics, x - oe::CameraX(), y - oe::CameraY(), text, scale, step, 800, 600,
                            patches);
    canvas->DrawPatches(font->atlas, patches, oe::ColourFromRgb(colour, alpha), oe::Draw_Blend());
}

int Text_GetWidth(OE_Font font, const std::string& text, float scale, float step) {
    oe::Record("Text_GetWidth", {scale, step}, text, font);
    if (!font) return 0;
    const float width = oe::Font_Layout(font->metrics, 0.0f, 0.0f, text, scale, step, nullptr);
    if (!std::isfinite(width)) return 0;
    return static_cast<int>(std::lround(std::clamp(double(width), -2.0e9, 2.0e9)));
}
