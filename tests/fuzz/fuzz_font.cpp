// The font metrics parser on arbitrary bytes, then a layout with what it gave.
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "engine/font.h"
#include "tests/fuzz/fuzz_targets.h"

bool Fuzz_FontMetrics(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<oe::FontMetrics> metrics = oe::Font_ParseMetrics(text);
    if (!metrics) return true;
    if (metrics->glyphs.size() > oe::kMaxFontGlyphs) return false;
    for (const auto& [code, g] : metrics->glyphs) {
        if (g.x < 0 || g.y < 0 || g.w < 0 || g.h < 0) return false;
        if (int64_t{g.x} + g.w > metrics->atlas_width || int64_t{g.y} + g.h > metrics->atlas_height) return false;
    }
    // The file's own bytes as the text to lay out: any UTF-8, well-formed or not.
    std::vector<oe::TexturePatch> patches;
    const float end = oe::Font_Layout(*metrics, 10, 20, text.substr(0, 256), 1.5f, 1.0f, &patches);
    return std::isfinite(end);
}

#ifdef KORVAMO_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Fuzz_FontMetrics(data, size)) std::abort();
    return 0;
}
#endif
