#include "contact_sheet.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "text.h"

namespace assetgen {

namespace {

constexpr int kColumns = 10;
constexpr int kCell = 136;        // picture area of a cell, square
constexpr int kLabel = 18;        // name line under it
constexpr int kGap = 8;
constexpr int kHeading = 40;
constexpr int kLabelSize = 11;

int RowsFor(const ImageSet& set) { return (static_cast<int>(set.size()) + kColumns - 1) / kColumns; }

// Draws one section and returns the y below it.
int Section(Canvas& sheet, const ImageSet& set, const std::string& title, int top,
            const Typeface& face) {
    DrawText(sheet, face, title, 24, kGap, top + 30, Align::Left, Grey(0.95f), 0.5f);
    top += kHeading;
    for (size_t i = 0; i < set.size(); ++i) {
        const int column = static_cast<int>(i) % kColumns;
        const int row = static_cast<int>(i) / kColumns;
        const float cx = static_cast<float>(kGap + column * (kCell + kGap));
        const float cy = static_cast<float>(top + row * (kCell + kLabel + kGap));
        const Canvas& picture = set[i].canvas;
        const float scale = std::min(1.0f, static_cast<float>(kCell) /
                                               std::max(picture.Width(), picture.Height()));
        const float w = picture.Width() * scale;
        const float h = picture.Height() * scale;
        const float x = cx + std::floor((kCell - w) / 2);
        const float y = cy + std::floor((kCell - h) / 2);
        Wash(sheet,
             [](Vec2 p) {
                 const bool dark = (static_cast<int>(p.x) / 8 + static_cast<int>(p.y) / 8) % 2;
                 return Grey(dark ? 0.36f : 0.46f);
             },
             {static_cast<int>(x), static_cast<int>(y), static_cast<int>(std::ceil(x + w)),
              static_cast<int>(std::ceil(y + h))});
        Composite(sheet, picture, x, y, w, h);
        DrawText(sheet, face, set[i].name, kLabelSize, cx + kCell / 2.0f, cy + kCell + kLabel - 5,
                 Align::Centre, Grey(0.85f));
    }
    return top + RowsFor(set) * (kCell + kLabel + kGap);
}

}  // namespace

Canvas ContactSheet(const ImageSet& shared, const ImageSet& objects, const Typeface& face) {
    const int width = kGap + kColumns * (kCell + kGap);
    const int height =
        2 * kHeading + (RowsFor(shared) + RowsFor(objects)) * (kCell + kLabel + kGap) + kGap;
    Canvas sheet(width, height, Hex(0x1C1E22));
    const int below = Section(sheet, shared, "gfx/share", 0, face);
    Section(sheet, objects, "gfx/obj", below, face);
    return sheet;
}

bool WritePng(const std::string& path, const Canvas& canvas, bool keep_alpha) {
    const int w = canvas.Width();
    const int h = canvas.Height();
    const int channels = keep_alpha ? 4 : 3;
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * channels);
    auto byte = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Colour c = canvas.Get(x, y);
            const float k = keep_alpha ? 1.0f : c.a;   // over black unless the alpha is kept
            uint8_t* out = &pixels[(static_cast<size_t>(y) * w + x) * channels];
            out[0] = byte(c.r * k);
            out[1] = byte(c.g * k);
            out[2] = byte(c.b * k);
            if (keep_alpha) out[3] = byte(c.a);
        }
    return stbi_write_png(path.c_str(), w, h, channels, pixels.data(), w * channels) != 0;
}

}  // namespace assetgen
