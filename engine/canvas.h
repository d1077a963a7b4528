// canvas.h: drawing onto an SDL renderer: textured quads, filled and outlined
// shapes and runs of font glyphs, all through SDL_RenderGeometry except 1 px
// lines and, on the software renderer, opaque copies and rectangle fills that
// give the same pixels faster, and shaded sprites within three levels.
// Works on a window's renderer and on a software renderer over a surface.
//
// SDL_RenderGeometry ignores a texture's colour and alpha modulation, so every
// tint (mix colour, corner colours, alpha) travels in the vertex colours.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "engine/oe.h"
#include "engine/texture.h"

namespace oe {

struct Colour {
    uint8_t r = 255, g = 255, b = 255, a = 255;
    bool operator==(const Colour&) const = default;
};

// 0xRRGGBB (higher bits ignored) with an alpha clamped to 0..255.
Colour ColourFromRgb(int32_t rgb, int alpha);
// Component-wise product, 255 standing for 1.
Colour Multiply(Colour a, Colour b);

enum class Blend { Normal, Add };   // alpha blending; additive glow

// A texture stretched over a rectangle whose corners (top-left, top-right,
// bottom-right, bottom-left) are first moved by `offsets`, then turned by
// `angle` degrees about the rectangle's centre. With y growing downwards a
// positive angle turns the quad clockwise on screen. Each corner's colour
// multiplies the texture there; colours between corners are interpolated.
struct SpriteQuad {
    float x = 0, y = 0, w = 0, h = 0;
    float angle = 0;
    std::array<SDL_FPoint, 4> offsets{};
    std::array<Colour, 4> colours{};
};

class Canvas {
public:
    // The renderer stays the caller's; destroy the canvas before the renderer.
    // `target`, the software renderer's own 32-bit ARGB surface when there is
    // one, lets opaque sprites at their own size be copied straight into it.
    explicit Canvas(SDL_Renderer* renderer, SDL_Surface* target = nullptr);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Fills the whole target with 0xRRGGBB, opaque (start of a frame).
    void Clear(int32_t rgb);

    // Draws nothing for a null texture or one the texture store does not hold.
    // Quads with four equal corner colours take two triangles; otherwise four
    // triangles meet at a centre vertex carrying the average colour, so the
    // shading has no diagonal seam.
    void DrawSprite(const OE_TextureRec* texture, const SpriteQuad& quad, Blend blend);
    // Many parts of one texture in one colour (a line of text).
    void DrawPatches(const OE_TextureRec* texture, std::span<const TexturePatch> patches,
                     Colour colour, Blend blend);

    void FillRect(float x, float y, float w, float h, Colour colour, Blend blend);
    // The border of the rectangle, `width` pixels thick, inside its bounds.
    void OutlineRect(float x, float y, float w, float h, float width, Colour colour, Blend blend);
    // Widths up to 1 draw a 1-pixel line; wider lines are quads centred on it.
    void Line(float x1, float y1, float x2, float y2, float width, Colour colour, Blend blend);
    // A polygon of `segments` sides (3 to 1024); the outline is a ring `width`
    // pixels thick centred on the radius.
    void Circle(float x, float y, float radius, int segments, float width, bool filled, Colour colour,
                Blend blend);

private:
    struct Uploaded {
        SDL_Texture* texture = nullptr;   // null: upload failed
        bool opaque = false;              // every texel at alpha 255
        int width = 0, height = 0;
        std::vector<uint32_t> argb;       // the texels in `target_`'s format; empty without one
    };
    const Uploaded* Upload(const OE_TextureRec* texture);   // null: nothing to draw
    // The software renderer's shortcuts for axis-aligned work on whole pixels:
    // plain copies of opaque sprites and rectangle fills. False when they do
    // not apply and the quad must go through the triangles.
    bool CopyOpaque(const Uploaded& upload, const SpriteQuad& quad, Blend blend);
    // A tinted, faded, added or lit sprite at its own size, neither moved nor
    // turned (the lit ground and props, lamp glows, bonus halos): each texel
    // times the colour the triangles would give it, blended as they would.
    bool Shade(const Uploaded& upload, const SpriteQuad& quad, Blend blend);
    bool FillWhole(float x, float y, float w, float h, Colour colour, Blend blend);
    void CopyRows(const Uploaded& upload, int x, int y);
    void AddVertex(float x, float y, Colour colour, float u = 0, float v = 0);
    void AddQuad(const std::array<SDL_FPoint, 4>& corners, Colour colour);
    void Submit(SDL_Texture* texture, Blend blend);

    SDL_Renderer* renderer_;
    SDL_Surface* target_ = nullptr;
    bool software_ = false;          // the software renderer: no filtering, shortcuts pay
    uint64_t generation_ = 0;        // of the texture store the uploads belong to
    std::unordered_map<int32_t, Uploaded> uploads_;   // by texture id
    std::vector<SDL_Vertex> vertices_;
    std::vector<int> indices_;
};

}  // namespace oe
