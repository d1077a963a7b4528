#include "font.h"

#include <algorithm>
#include <vector>

namespace assetgen {

namespace {

struct Placed {
    uint32_t codepoint;
    GlyphBitmap glyph;
    int x = 0;
    int y = 0;
};

// Shelf packing in code point order; false when the glyphs do not fit.
bool Pack(std::vector<Placed>& glyphs, int width, int height) {
    constexpr int kGap = 2;  // keeps neighbours out of a scaled glyph's filtering
    int x = kGap, y = kGap, shelf = 0;
    for (Placed& p : glyphs) {
        const int w = p.glyph.width;
        const int h = p.glyph.height;
        if (w == 0 || h == 0) {
            p.x = 0;
            p.y = 0;
            continue;
        }
        if (x + w + kGap > width) {
            x = kGap;
            y += shelf + kGap;
            shelf = 0;
        }
        if (y + h + kGap > height) return false;
        p.x = x;
        p.y = y;
        x += w + kGap;
        shelf = std::max(shelf, h);
    }
    return true;
}

}  // namespace

BitmapFont BuildBitmapFont(const Typeface& face) {
    std::vector<Placed> glyphs;
    for (uint32_t cp = 32; cp <= 255; ++cp) {
        if (cp > 126 && cp < 160) continue;
        glyphs.push_back({cp, face.Glyph(cp, kFontPixelSize), 0, 0});
    }
    int width = 64, height = 64;
    while (!Pack(glyphs, width, height) && width <= 1024) {
        if (width == height) width *= 2;
        else height *= 2;
    }

    const int ascender = face.Ascender(kFontPixelSize);
    const int descender = face.Descender(kFontPixelSize);
    // Centre the face's full extent in the line box.
    const int baseline = (kFontLineHeight - (ascender - descender)) / 2 + ascender;

    BitmapFont font{Canvas(width, height, Grey(1.0f, 0.0f)), ""};
    std::string& m = font.metrics;
    m += "korvamo-font 1\n";
    m += "atlas " + std::to_string(width) + " " + std::to_string(height) + "\n";
    m += "line " + std::to_string(kFontLineHeight) + " " + std::to_string(baseline) + "\n";
    for (const Placed& p : glyphs) {
        const GlyphBitmap& g = p.glyph;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                font.atlas.Set(p.x + x, p.y + y,
                               Grey(1.0f, g.coverage[static_cast<size_t>(y) * g.width + x] / 255.0f));
        m += "glyph " + std::to_string(p.codepoint) + " " + std::to_string(p.x) + " " +
             std::to_string(p.y) + " " + std::to_string(g.width) + " " + std::to_string(g.height) +
             " " + std::to_string(g.left) + " " + std::to_string(baseline - g.top) + " " +
             std::to_string(g.advance) + "\n";
    }
    return font;
}

}  // namespace assetgen
