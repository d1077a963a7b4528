// text.h: FreeType text for the pictures and the bitmap font.
#pragma once

#include <memory>
#include <string>

#include "raster.h"

namespace assetgen {

// One glyph rendered as coverage: (left, top) is where the bitmap's
// top-left corner sits relative to the pen on the baseline.
struct GlyphBitmap {
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

enum class Align { Left, Centre, Right };

class Typeface {
public:
    // An unreadable font file leaves the face unusable (Ok() is false).
    explicit Typeface(const std::string& path);
    ~Typeface();
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    bool Ok() const;
    // `bold` thickens the outline by that many pixels.
    GlyphBitmap Glyph(uint32_t codepoint, int pixel_size, float bold = 0) const;
    int Ascender(int pixel_size) const;
    int Descender(int pixel_size) const;  // negative, below the baseline
    int Measure(const std::string& text, int pixel_size, float bold = 0) const;
    // White text with its coverage in alpha; the baseline lies at `ascent`.
    Canvas Render(const std::string& text, int pixel_size, float bold, int& ascent) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Paints text with its baseline at y, filled by `paint` (given the position
// within the text block, 0..1 from top to bottom as y of the Vec2).
void DrawText(Canvas& canvas, const Typeface& face, const std::string& text, int size, float x,
              float y, Align align, const Paint& paint, float bold = 0);
void DrawText(Canvas& canvas, const Typeface& face, const std::string& text, int size, float x,
              float y, Align align, Colour colour, float bold = 0);
// Text with a dark outline of `outline` pixels and a soft shadow under it.
void DrawOutlinedText(Canvas& canvas, const Typeface& face, const std::string& text, int size,
                      float x, float y, Align align, const Paint& paint, Colour outline_colour,
                      int outline, float bold = 0);

}  // namespace assetgen
