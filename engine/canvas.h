// canvas.h: drawing onto an SDL renderer: textured quads, filled and outlined
// shapes and runs of font glyphs.
// - Over a software target (the renderer's own 32-bit ARGB surface) every
//   textured quad and glyph is drawn by the canvas itself, straight from the
//   texture store's pixels, by the software renderer's rules (engine/raster.h);
//   no SDL texture is made. Shapes go through the renderer.
// - Otherwise everything goes through SDL_RenderGeometry, except 1 px lines
//   and, on the software renderer, rectangle fills that give the same pixels
//   faster.
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

#include "engine/colour.h"
#include "engine/lit_cache.h"
#include "engine/oe.h"
#include "engine/raster.h"
#include "engine/texture.h"

namespace oe {

// 0xRRGGBB (higher bits ignored) with an alpha clamped to 0..255.
Colour ColourFromRgb(int32_t rgb, int alpha);
// Component-wise product, 255 standing for 1.
Colour Multiply(Colour a, Colour b);

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
    // one, lets the canvas draw every texture straight into it.
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
    SDL_Texture* Upload(const TextureRecord& record);   // null: nothing to draw
    // The corners of a quad, moved by its offsets, then turned.
    static std::array<SDL_FPoint, 4> Corners(const SpriteQuad& quad);
    // Straight into the target: stretched when upright in one colour, else as triangles.
    void DrawDirect(const TextureRecord& record, const SpriteQuad& quad, Blend blend);
    // A lit sprite at its own size on whole pixels, neither moved nor turned
    // (the lit ground): each texel times the colour the triangles would give
    // it, stepped along each row. False when it does not apply.
    bool Shade(const TextureRecord& record, const SpriteQuad& quad, Blend blend);
    // The rows y0..y1 and columns x0..x1 (`clip`, in the sprite) of a lit
    // sprite whose top-left corner is at (x, y) of `pixels`.
    void ShadeRows(const TextureRecord& record, const std::array<Colour, 4>& k, const PixelTarget& pixels, int x, int y,
                   const std::array<int, 4>& clip, Blend blend);
    bool FillWhole(float x, float y, float w, float h, Colour colour, Blend blend);
    PixelTarget Pixels() const;
    void AddVertex(float x, float y, Colour colour, float u = 0, float v = 0);
    void AddQuad(const std::array<SDL_FPoint, 4>& corners, Colour colour);
    void Submit(SDL_Texture* texture, Blend blend);

    SDL_Renderer* renderer_;
    SDL_Surface* target_ = nullptr;
    bool software_ = false;          // the software renderer: no filtering, shortcuts pay
    uint64_t generation_ = 0;        // of the texture store the uploads belong to
    uint64_t released_ = 0;          // textures let go when the uploads were last pruned
    std::unordered_map<int32_t, SDL_Texture*> uploads_;   // by texture id, null where it failed; unused with a target
    std::vector<SDL_Vertex> vertices_;
    std::vector<int> indices_;
    std::vector<uint32_t> shade_row_;   // the colours of a row of a lit sprite
    LitCache lit_cache_;
};

}  // namespace oe
