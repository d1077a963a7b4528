#include "engine/font.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <system_error>

#include "engine/fs.h"
#include "engine/image.h"
#include "engine/load_error.h"

namespace oe {

namespace {

constexpr float kMaxMetric = 65536.0f;   // any offset, advance or height beyond is nonsense

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool ParseInt(std::string_view word, int64_t lo, int64_t hi, int& out) {
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

bool ParseFloat(std::string_view word, float& out) {
    float v = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(v) || std::fabs(v) > kMaxMetric)
        return false;
    out = v;
    return true;
}

bool ParseGlyph(const std::vector<std::string_view>& w, FontMetrics& m) {
    if (w.size() != 9) return false;
    int code = 0;
    Glyph g;
    if (!ParseInt(w[1], 0, 0x10FFFF, code)) return false;
    if (!ParseInt(w[2], 0, kMaxImageSide, g.x) || !ParseInt(w[3], 0, kMaxImageSide, g.y) ||
        !ParseInt(w[4], 0, kMaxImageSide, g.w) || !ParseInt(w[5], 0, kMaxImageSide, g.h))
        return false;
    if (!ParseFloat(w[6], g.xoff) || !ParseFloat(w[7], g.yoff) || !ParseFloat(w[8], g.advance)) return false;
    m.glyphs[static_cast<uint32_t>(code)] = g;
    m.min_advance = std::min(m.min_advance, g.advance);
    m.min_xoff = std::min(m.min_xoff, g.xoff);
    return true;
}

// Length of the well-formed UTF-8 sequence at `s`, or 0.
size_t SequenceLength(std::string_view s, uint32_t& code) {
    const auto b = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
    const uint8_t lead = b(0);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    size_t n = 0;
    uint8_t lo = 0x80, hi = 0xBF;   // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2, code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3, code = lead & 0x0Fu;
        if (lead == 0xE0) lo = 0xA0;
        if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4, code = lead & 0x07u;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < n || b(1) < lo || b(1) > hi) return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0u) != 0x80u) return 0;
        code = code << 6 | (b(i) & 0x3Fu);
    }
    return n;
}

std::vector<std::unique_ptr<OE_FontRec>>& Fonts() {
    static std::vector<std::unique_ptr<OE_FontRec>> fonts;
    return fonts;
}

}  // namespace

const Glyph* FontMetrics::Find(uint32_t code_point) const {
    if (auto it = glyphs.find(code_point); it != glyphs.end()) return &it->second;
    if (auto it = glyphs.find('?'); it != glyphs.end()) return &it->second;
    return nullptr;
}

std::optional<FontMetrics> Font_ParseMetrics(std::string_view text) {
    FontMetrics m;
    bool magic = false, atlas = false, line = false;
    size_t glyph_lines = 0;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view raw = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        const std::vector<std::string_view> w = Split(raw);
        if (!magic) {
            if (w.size() != 2 || w[0] != "korvamo-font" || w[1] != "1") return std::nullopt;
            magic = true;
        } else if (w.empty()) {
            continue;
        } else if (w[0] == "atlas") {
            if (w.size() != 3 || !ParseInt(w[1], 1, kMaxImageSide, m.atlas_width) ||
                !ParseInt(w[2], 1, kMaxImageSide, m.atlas_height))
                return std::nullopt;
            atlas = true;
        } else if (w[0] == "line") {
            if (w.size() != 3 || !ParseFloat(w[1], m.line_height) || !ParseFloat(w[2], m.baseline))
                return std::nullopt;
            line = true;
        } else if (w[0] == "glyph") {
            if (++glyph_lines > kMaxFontGlyphs || !ParseGlyph(w, m)) return std::nullopt;
        }
    }
    if (!magic || !atlas || !line) return std::nullopt;
    for (const auto& [code, g] : m.glyphs) {
        if (g.x + g.w > m.atlas_width || g.y + g.h > m.atlas_height) return std::nullopt;
    }
    return m;
}

std::vector<uint32_t> Utf8_Decode(std::string_view text) {
    std::vector<uint32_t> out;
    out.reserve(text.size());
    while (!text.empty()) {
        uint32_t code = 0;
        const size_t n = SequenceLength(text, code);
        out.push_back(n ? code : uint32_t('?'));
        text.remove_prefix(n ? n : 1);
    }
    return out;
}

namespace {

// Walks the glyphs of a line in order. `visit(glyph, pen)` sees each glyph
// with the pen at its origin and returns false to stop; the pen's end comes back.
template <class Visit>
float WalkGlyphs(const FontMetrics& metrics, float x, std::string_view text, float scale, float step, Visit visit) {
    float pen = x;
    while (!text.empty()) {
        uint32_t code = 0;
        const size_t n = SequenceLength(text, code);
        text.remove_prefix(n ? n : 1);
        const Glyph* g = metrics.Find(n ? code : uint32_t('?'));
        if (!g) continue;
        if (!visit(*g, pen)) break;
        pen += g->advance * scale + step;
    }
    return pen;
}

TexturePatch PatchOf(const Glyph& g, float pen, float y, float scale) {
    return TexturePatch{pen + g.xoff * scale, y + g.yoff * scale, g.w * scale, g.h * scale, g.x, g.y, g.w, g.h};
}

}  // namespace

void Font_LayoutOnScreen(const FontMetrics& metrics, float x, float y, std::string_view text, float scale,
                         float step, float w, float h, std::vector<TexturePatch>& out) {
    // Past the right edge no later glyph can come back when nothing moves the pen left.
    const bool forward = scale >= 0 && step >= 0 && metrics.min_advance >= 0;
    WalkGlyphs(metrics, x, text, scale, step, [&](const Glyph& g, float pen) {
        if (forward && pen + metrics.min_xoff * scale >= w) return false;
        const TexturePatch p = PatchOf(g, pen, y, scale);
        const bool touches = std::min(p.x, p.x + p.w) < w && std::min(p.y, p.y + p.h) < h &&
                             std::max(p.x, p.x + p.w) > 0 && std::max(p.y, p.y + p.h) > 0;
        if (g.w > 0 && g.h > 0 && touches) out.push_back(p);
        return true;
    });
}

float Font_Layout(const FontMetrics& metrics, float x, float y, std::string_view text, float scale, float step,
                  std::vector<TexturePatch>* out) {
    return WalkGlyphs(metrics, x, text, scale, step, [&](const Glyph& g, float pen) {
        if (out && g.w > 0 && g.h > 0) out->push_back(PatchOf(g, pen, y, scale));
        return true;
    });
}

OE_Font Font_Load(const std::string& texture_file, const std::string& info_file, uint32_t colour_key) {
    const auto fail = [](const char* reason) -> OE_Font {
        SetLoadError(reason);
        return nullptr;
    };
    const auto info = Fs_ReadFile(info_file);
    if (!info || info->size() > kMaxFontInfoBytes) return fail("its metrics file is missing, unreadable or too large");
    auto metrics = Font_ParseMetrics(std::string_view(reinterpret_cast<const char*>(info->data()), info->size()));
    if (!metrics) return fail("its metrics file is damaged");
    const auto pixels = Fs_ReadFile(texture_file);
    if (!pixels) return fail("its atlas image is missing or unreadable");
    Image image = Image_Decode(pixels->data(), pixels->size(), colour_key);
    if (image.width != metrics->atlas_width || image.height != metrics->atlas_height)
        return fail("its atlas image is damaged or does not match its metrics");
    OE_Texture atlas = Texture_Create(image.width, image.height, std::move(image.rgba));
    if (!atlas) return fail("its atlas image cannot be made into a texture");
    auto font = std::make_unique<OE_FontRec>();
    font->metrics = std::move(*metrics);
    font->atlas = atlas;
    Fonts().push_back(std::move(font));
    return Fonts().back().get();
}

void Fonts_ReleaseAll() { Fonts().clear(); }

}  // namespace oe
