// font.h: bitmap fonts: a glyph atlas (white pixels, coverage in alpha) and a
// metrics file ("korvamo-font 1", one "atlas", one "line", "glyph" lines).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/oe.h"
#include "engine/texture.h"

namespace oe {

struct Glyph {
    int x = 0, y = 0, w = 0, h = 0;     // rectangle in the atlas
    float xoff = 0, yoff = 0;           // its top-left from the pen at the line box's top
    float advance = 0;                  // pen step at scale 1
};

struct FontMetrics {
    int atlas_width = 0;
    int atlas_height = 0;
    float line_height = 0;
    float baseline = 0;
    std::unordered_map<uint32_t, Glyph> glyphs;   // by code point
    float min_advance = 0;   // the smallest advance and x offset of any glyph:
    float min_xoff = 0;      // how far a later glyph could reach back left

    // The glyph of a code point, else the one of '?', else null.
    const Glyph* Find(uint32_t code_point) const;
};

constexpr size_t kMaxFontGlyphs = 65536;          // more glyph lines: the file is refused
constexpr size_t kMaxFontInfoBytes = 4u << 20;    // a larger metrics file is refused

// Parses a metrics file. A missing or wrong first line, a missing atlas or line
// record, a known record whose numbers do not parse or are out of range, a
// glyph rectangle outside the atlas or too many glyphs give nothing. Unknown
// and empty lines are skipped; lines may end in LF or CR LF.
std::optional<FontMetrics> Font_ParseMetrics(std::string_view text);

// UTF-8 into code points; each byte that does not start a well-formed sequence
// (stray continuation, overlong form, surrogate, beyond U+10FFFF, cut short)
// becomes one '?'.
std::vector<uint32_t> Utf8_Decode(std::string_view text);

// Lays out one line of text with the top-left of its line box at (x, y); each
// glyph advances the pen by advance * scale + step. Appends a patch per visible
// glyph to `out` when given; returns the pen's end x.
float Font_Layout(const FontMetrics& metrics, float x, float y, std::string_view text, float scale,
                  float step, std::vector<TexturePatch>* out);

// The patches of the glyphs that touch the w x h screen, as Font_Layout would
// lay them out: no text costs more than the screen can show, however long.
void Font_LayoutOnScreen(const FontMetrics& metrics, float x, float y, std::string_view text, float scale,
                         float step, float w, float h, std::vector<TexturePatch>& out);

}  // namespace oe

struct OE_FontRec {
    oe::FontMetrics metrics;
    OE_Texture atlas = nullptr;   // kept in the texture store
};

namespace oe {

// Loads the atlas image and the metrics file (game paths); null when either
// fails or the atlas size differs from the one the metrics name. The engine
// owns the font.
OE_Font Font_Load(const std::string& texture_file, const std::string& info_file, uint32_t colour_key);

// Frees every font (their atlases go with Textures_ReleaseAll).
void Fonts_ReleaseAll();

}  // namespace oe
