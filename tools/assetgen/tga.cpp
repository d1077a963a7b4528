#include "tga.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace assetgen {

namespace {

uint8_t Byte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

struct Rgba {
    uint8_t r, g, b, a;
};

// Spreads visible colours into the transparent surroundings a few pixels deep.
void BleedEdges(std::vector<Rgba>& px, int w, int h) {
    std::vector<uint8_t> known(px.size());
    for (size_t i = 0; i < px.size(); ++i) known[i] = px[i].a > 0;
    for (int pass = 0; pass < 4; ++pass) {
        std::vector<uint8_t> next = known;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const size_t i = static_cast<size_t>(y) * w + x;
                if (known[i]) continue;
                int r = 0, g = 0, b = 0, n = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                        const size_t j = static_cast<size_t>(ny) * w + nx;
                        if (!known[j]) continue;
                        r += px[j].r;
                        g += px[j].g;
                        b += px[j].b;
                        ++n;
                    }
                if (n == 0) continue;
                px[i] = {static_cast<uint8_t>(r / n), static_cast<uint8_t>(g / n),
                         static_cast<uint8_t>(b / n), 0};
                next[i] = 1;
            }
        }
        known.swap(next);
    }
}

}  // namespace

std::vector<uint8_t> EncodeTga(const Canvas& canvas) {
    const int w = canvas.Width();
    const int h = canvas.Height();
    std::vector<Rgba> px(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Colour c = canvas.Get(x, y);
            px[static_cast<size_t>(y) * w + x] = {Byte(c.r), Byte(c.g), Byte(c.b), Byte(c.a)};
        }
    BleedEdges(px, w, h);

    std::vector<uint8_t> out(18, 0);
    out[2] = 2;  // uncompressed true colour
    out[12] = static_cast<uint8_t>(w & 0xFF);
    out[13] = static_cast<uint8_t>(w >> 8);
    out[14] = static_cast<uint8_t>(h & 0xFF);
    out[15] = static_cast<uint8_t>(h >> 8);
    out[16] = 32;
    out[17] = 0x28;  // 8 alpha bits, rows stored top to bottom
    out.reserve(out.size() + px.size() * 4);
    for (const Rgba& p : px) {
        out.push_back(p.b);
        out.push_back(p.g);
        out.push_back(p.r);
        out.push_back(p.a);
    }
    return out;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

}  // namespace assetgen
