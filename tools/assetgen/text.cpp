#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <vector>

namespace assetgen {

struct Typeface::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

Typeface::Typeface(const std::string& path) : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->library) != 0) {
        impl_->library = nullptr;
        return;
    }
    if (FT_New_Face(impl_->library, path.c_str(), 0, &impl_->face) != 0) impl_->face = nullptr;
}

Typeface::~Typeface() {
    if (impl_->face) FT_Done_Face(impl_->face);
    if (impl_->library) FT_Done_FreeType(impl_->library);
}

bool Typeface::Ok() const { return impl_->face != nullptr; }

GlyphBitmap Typeface::Glyph(uint32_t codepoint, int pixel_size, float bold) const {
    GlyphBitmap g;
    if (!Ok()) return g;
    FT_Face face = impl_->face;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_size));
    if (FT_Load_Char(face, codepoint, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return g;
    FT_GlyphSlot slot = face->glyph;
    const FT_Pos strength = static_cast<FT_Pos>(std::lround(bold * 64.0f));
    if (strength > 0 && slot->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_Outline_Embolden(&slot->outline, strength);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.advance = static_cast<int>((slot->advance.x + strength + 32) >> 6);
    g.coverage.resize(static_cast<size_t>(g.width) * g.height);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            g.coverage[static_cast<size_t>(y) * g.width + x] = bm.buffer[y * bm.pitch + x];
    return g;
}

int Typeface::Ascender(int pixel_size) const {
    if (!Ok()) return 0;
    FT_Set_Pixel_Sizes(impl_->face, 0, static_cast<FT_UInt>(pixel_size));
    return static_cast<int>((impl_->face->size->metrics.ascender + 63) >> 6);
}

int Typeface::Descender(int pixel_size) const {
    if (!Ok()) return 0;
    FT_Set_Pixel_Sizes(impl_->face, 0, static_cast<FT_UInt>(pixel_size));
    return static_cast<int>(impl_->face->size->metrics.descender >> 6);
}

namespace {

std::vector<uint32_t> DecodeUtf8(const std::string& s) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        ++i;
        for (; extra > 0 && i < s.size(); --extra, ++i) cp = (cp << 6) | (s[i] & 0x3F);
        out.push_back(cp);
    }
    return out;
}

}  // namespace

int Typeface::Measure(const std::string& text, int pixel_size, float bold) const {
    int width = 0;
    for (uint32_t cp : DecodeUtf8(text)) width += Glyph(cp, pixel_size, bold).advance;
    return width;
}

Canvas Typeface::Render(const std::string& text, int pixel_size, float bold, int& ascent) const {
    std::vector<GlyphBitmap> glyphs;
    for (uint32_t cp : DecodeUtf8(text)) glyphs.push_back(Glyph(cp, pixel_size, bold));
    const int pad = static_cast<int>(std::ceil(bold)) + 2;
    ascent = Ascender(pixel_size) + pad;
    const int height = ascent - Descender(pixel_size) + pad;
    int width = 2 * pad;
    for (const GlyphBitmap& g : glyphs) width += g.advance;
    Canvas out(std::max(width, 1), std::max(height, 1));
    int pen = pad;
    for (const GlyphBitmap& g : glyphs) {
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) {
                const float a = g.coverage[static_cast<size_t>(y) * g.width + x] / 255.0f;
                if (a > 0) out.Blend(pen + g.left + x, ascent - g.top + y, Grey(1.0f, a));
            }
        pen += g.advance;
    }
    return out;
}

namespace {

float Origin(const Canvas& mask, float x, Align align, int pad) {
    const float w = static_cast<float>(mask.Width() - 2 * pad);
    if (align == Align::Centre) return std::round(x - w * 0.5f) - pad;
    if (align == Align::Right) return std::round(x - w) - pad;
    return std::round(x) - pad;
}

void PaintMask(Canvas& canvas, const Canvas& mask, int ox, int oy, const Paint& paint) {
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x) {
            const float a = mask.Get(x, y).a;
            if (a <= 0) continue;
            Colour c = paint({static_cast<float>(x) / mask.Width(),
                              static_cast<float>(y) / mask.Height()});
            c.a *= a;
            canvas.Blend(ox + x, oy + y, c);
        }
}

Canvas Dilate(const Canvas& mask, int radius, int border) {
    Canvas out(mask.Width() + 2 * border, mask.Height() + 2 * border);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            float best = 0;
            for (int dy = -radius; dy <= radius && best < 1.0f; ++dy)
                for (int dx = -radius; dx <= radius; ++dx) {
                    const float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                    if (d > radius + 0.5f) continue;
                    const float a = mask.Get(x - border + dx, y - border + dy).a *
                                    Clamp01(radius + 0.5f - d);
                    best = std::max(best, a);
                }
            if (best > 0) out.Set(x, y, Grey(1.0f, best));
        }
    return out;
}

}  // namespace

void DrawText(Canvas& canvas, const Typeface& face, const std::string& text, int size, float x,
              float y, Align align, const Paint& paint, float bold) {
    int ascent = 0;
    const Canvas mask = face.Render(text, size, bold, ascent);
    const int pad = static_cast<int>(std::ceil(bold)) + 2;
    PaintMask(canvas, mask, static_cast<int>(Origin(mask, x, align, pad)),
              static_cast<int>(std::round(y)) - ascent, paint);
}

void DrawText(Canvas& canvas, const Typeface& face, const std::string& text, int size, float x,
              float y, Align align, Colour colour, float bold) {
    DrawText(canvas, face, text, size, x, y, align, [colour](Vec2) { return colour; }, bold);
}

void DrawOutlinedText(Canvas& canvas, const Typeface& face, const std::string& text, int size,
                      float x, float y, Align align, const Paint& paint, Colour outline_colour,
                      int outline, float bold) {
    int ascent = 0;
    const Canvas mask = face.Render(text, size, bold, ascent);
    const int pad = static_cast<int>(std::ceil(bold)) + 2;
    const int ox = static_cast<int>(Origin(mask, x, align, pad));
    const int oy = static_cast<int>(std::round(y)) - ascent;
    const int border = outline + 8;
    Canvas rim = Dilate(mask, outline, border);
    Canvas shadow = Silhouette(rim, Grey(0.0f, 0.55f));
    Blur(shadow, 3, false);
    const int drop = std::max(3, outline);
    PaintMask(canvas, shadow, ox - border + drop, oy - border + drop,
              [](Vec2) { return Grey(0.0f); });
    PaintMask(canvas, rim, ox - border, oy - border, [outline_colour](Vec2) { return outline_colour; });
    PaintMask(canvas, mask, ox, oy, paint);
}

}  // namespace assetgen
