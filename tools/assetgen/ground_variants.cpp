#include "ground_variants.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "grounds.h"
#include "surface.h"

namespace assetgen {

namespace {

enum class Scheme {
    Corners,   // two versions, one per grid corner by hash: 16 tiles
    Middles,   // a version in the tile's middle: kMiddleVersions tiles
};

constexpr int kMiddleVersions = 3;
constexpr float kMiddleRise = 0.3f;   // of a tile, from its edge to where its middle version is whole

struct Varied {
    const char* kind;
    Scheme scheme;
    uint32_t salt;        // so no two grounds pick alike
    bool keep_contrast;   // false where the versions share their strokes (slab joints), which must not darken
};

constexpr Varied kVaried[] = {
    {"lnd_sand", Scheme::Corners, 1, true},    {"lnd_grass", Scheme::Corners, 2, true},
    {"lnd_snow", Scheme::Corners, 3, true},    {"lnd_ice", Scheme::Middles, 4, true},
    {"lnd_asphalt", Scheme::Corners, 5, true}, {"lnd_pavement", Scheme::Middles, 6, false},
};

const Varied* Find(const std::string& kind) {
    for (const Varied& v : kVaried)
        if (kind == v.kind) return &v;
    return nullptr;
}

uint32_t Hash(int i, int j, uint32_t salt) {
    uint32_t h = static_cast<uint32_t>(i) * 0x8DA6B343u ^ static_cast<uint32_t>(j) * 0xD8163841u ^ salt * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x85EBCA6Bu;
    h ^= h >> 16;
    h *= 0xC2B2AE35u;
    h ^= h >> 15;
    return h;
}

int Codes(Scheme s) { return s == Scheme::Corners ? 16 : kMiddleVersions; }

std::string VariantName(const std::string& kind, int code) {
    return code == 0 ? kind : kind + "_" + static_cast<char>('a' + code);
}

// Of a corner-scheme tile, the code: the version of each corner, NW, NE, SW,
// SE from the lowest bit up.
int CornerCode(uint32_t salt, int i, int j) {
    auto version = [salt](int x, int y) { return static_cast<int>(Hash(x, y, salt) >> 7 & 1); };
    return version(i, j) | version(i + 1, j) << 1 | version(i, j + 1) << 2 | version(i + 1, j + 1) << 3;
}

// 0 along the tile's edges, rising to 1 a little way in.
float MiddleWeight(float u, float v) {
    return SmoothStep(0, kMiddleRise, std::min(u, 1 - u)) * SmoothStep(0, kMiddleRise, std::min(v, 1 - v));
}

// A ground version as a variant shows it: read shifted by (dx, dy), with a
// weight at each point (u, v) of the tile.
struct Layer {
    const Canvas* version;
    int dx = 0;
    int dy = 0;
    std::function<float(float u, float v)> weight;
};

// The layers of a variant. A corner-scheme tile has a middle of its own too:
// one of the versions read shifted, so that the tiles differ in their
// middles as well as at their corners.
std::vector<Layer> Layers(const std::vector<Canvas>& versions, const Varied& ground, int code) {
    if (ground.scheme == Scheme::Middles)
        return {{&versions[0], 0, 0, [](float u, float v) { return 1 - MiddleWeight(u, v); }},
                {&versions[code], 0, 0, MiddleWeight}};
    std::vector<Layer> layers;
    for (int version = 0; version < 2; ++version)
        layers.push_back({&versions[version], 0, 0, [code, version](float u, float v) {
                              const float su = SmoothStep(0, 1, u), sv = SmoothStep(0, 1, v);
                              const float corner[4] = {(1 - su) * (1 - sv), su * (1 - sv), (1 - su) * sv, su * sv};
                              float w = 0;
                              for (int k = 0; k < 4; ++k) w += (code >> k & 1) == version ? corner[k] : 0.0f;
                              return w * (1 - MiddleWeight(u, v));
                          }});
    const uint32_t h = Hash(code, 0, ground.salt);
    layers.push_back(
        {&versions[code & 1], 32 + static_cast<int>(h % 64), 32 + static_cast<int>(h / 64 % 64), MiddleWeight});
    return layers;
}

Canvas Blend(const std::vector<Canvas>& versions, const Varied& ground, int code) {
    Colour mean{};
    for (const Canvas& c : versions)
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) {
                const Colour p = c.Get(x, y);
                mean.r += p.r, mean.g += p.g, mean.b += p.b;
            }
    const float count = static_cast<float>(versions.size() * kCell * kCell);
    mean = {mean.r / count, mean.g / count, mean.b / count, 1};
    const std::vector<Layer> layers = Layers(versions, ground, code);
    Canvas tile(kCell, kCell);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            float r = 0, g = 0, b = 0, squares = 0;
            for (const Layer& layer : layers) {
                const float w = layer.weight((x + 0.5f) / kCell, (y + 0.5f) / kCell);
                const Colour p = layer.version->Get((x + layer.dx) % kCell, (y + layer.dy) % kCell);
                r += w * (p.r - mean.r), g += w * (p.g - mean.g), b += w * (p.b - mean.b);
                squares += w * w;
            }
            // Uncorrelated layers mixed half and half lose a third of their
            // contrast; scaling by the weights' length gives it back.
            const float k = ground.keep_contrast ? 1 / std::sqrt(squares) : 1.0f;
            tile.Set(x, y, {Clamp01(mean.r + r * k), Clamp01(mean.g + g * k), Clamp01(mean.b + b * k), 1});
        }
    return tile;
}

}  // namespace

std::string GroundVariantKind(const std::string& ground, int i, int j) {
    const Varied* v = Find(ground);
    if (!v) return ground;
    if (v->scheme == Scheme::Corners) return VariantName(ground, CornerCode(v->salt, i, j));
    return VariantName(ground, static_cast<int>(Hash(i, j, v->salt) >> 9) % kMiddleVersions);
}

ImageSet MakeGroundVariants(const ImageSet& objects) {
    ImageSet set;
    for (const Varied& ground : kVaried) {
        const int count = ground.scheme == Scheme::Corners ? 2 : kMiddleVersions;
        std::vector<Canvas> versions{FindImage(objects, std::string(ground.kind) + "1")};
        for (int k = 1; k < count; ++k) versions.push_back(PaintGround(ground.kind, k));
        for (int code = 1; code < Codes(ground.scheme); ++code)
            set.push_back({VariantName(ground.kind, code) + "1", Blend(versions, ground, code), false});
    }
    return set;
}

}  // namespace assetgen
