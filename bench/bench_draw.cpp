// Sprites per second on the software canvas the headless harness draws with:
// through SDL's software renderer (direct 0) and drawn by the canvas itself
// straight into the surface (direct 1).
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/canvas.h"
#include "engine/texture.h"

namespace {

class SoftwareCanvas {
public:
    // `direct`: the canvas may write the surface itself, as the harness's does.
    explicit SoftwareCanvas(bool direct = false)
        : surface_(SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888)),
          renderer_(surface_ ? SDL_CreateSoftwareRenderer(surface_) : nullptr) {
        if (renderer_) canvas_ = std::make_unique<oe::Canvas>(renderer_, direct ? surface_ : nullptr);
    }
    ~SoftwareCanvas() {
        canvas_.reset();
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (surface_) SDL_FreeSurface(surface_);
        oe::Textures_ReleaseAll();
    }
    oe::Canvas* canvas() { return canvas_.get(); }
    void Flush() { SDL_RenderFlush(renderer_); }

private:
    SDL_Surface* surface_;
    SDL_Renderer* renderer_;
    std::unique_ptr<oe::Canvas> canvas_;
};

// A 64x64 texture with some alpha, like the game's tiles and props.
OE_Texture MakeTexture() {
    std::vector<uint8_t> px(64 * 64 * 4);
    for (size_t i = 0; i < px.size(); i += 4) {
        px[i] = uint8_t(i), px[i + 1] = uint8_t(i >> 4), px[i + 2] = 128, px[i + 3] = (i / 4) % 7 ? 255 : 100;
    }
    return oe::Texture_Create(64, 64, std::move(px));
}

struct SpriteKind {
    std::array<oe::Colour, 4> colours;
    float angle = 0;
    float size = 64;                        // drawn size of the 64x64 texture
    std::array<SDL_FPoint, 4> offsets{};    // corner offsets
    oe::Blend blend = oe::Blend::Normal;
};

// Draws 64x64 sprites over the screen in batches of 100, as a frame would;
// state.range(0) 1 draws them straight into the surface.
void RunSprites(benchmark::State& state, const SpriteKind& kind) {
    SoftwareCanvas screen(state.range(0) == 1);
    if (!screen.canvas()) {
        state.SkipWithError("no software renderer");
        return;
    }
    OE_Texture texture = MakeTexture();
    oe::SpriteQuad quad;
    quad.w = quad.h = kind.size;
    quad.angle = kind.angle;
    quad.colours = kind.colours;
    quad.offsets = kind.offsets;
    int64_t sprites = 0;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {
            quad.x = float((i * 67) % 736);
            quad.y = float((i * 41) % 536);
            screen.canvas()->DrawSprite(texture, quad, kind.blend);
        }
        screen.Flush();
        sprites += 100;
    }
    state.counters["sprites/s"] = benchmark::Counter(double(sprites), benchmark::Counter::kIsRate);
}

constexpr oe::Colour kWhite{255, 255, 255, 255};

constexpr oe::Colour kTint{200, 120, 60, 200}, kShadow{0, 0, 0, 120};
constexpr std::array<oe::Colour, 4> kLit{oe::Colour{255, 220, 180, 255}, oe::Colour{200, 200, 255, 255},
                                         oe::Colour{90, 90, 120, 255}, oe::Colour{160, 140, 120, 255}};

void BM_PlainSprites(benchmark::State& state) { RunSprites(state, {{kWhite, kWhite, kWhite, kWhite}}); }

void BM_TintedSprites(benchmark::State& state) { RunSprites(state, {{kTint, kTint, kTint, kTint}}); }

void BM_FourCornerColourSprites(benchmark::State& state) { RunSprites(state, {kLit}); }

void BM_RotatedSprites(benchmark::State& state) { RunSprites(state, {{kWhite, kWhite, kWhite, kWhite}, 30}); }

// The world's shadows: black at alpha 120, turned, the top edge raised.
void BM_ShadowSprites(benchmark::State& state) {
    RunSprites(state, {{kShadow, kShadow, kShadow, kShadow}, 25, 64, {{{0, -30}, {0, -30}, {0, 0}, {0, 0}}}});
}

// Smoke puffs: tinted, faded and added, scaled to 40 px.
void BM_ScaledAddedSprites(benchmark::State& state) {
    RunSprites(state, {{kTint, kTint, kTint, kTint}, 0, 40, {}, oe::Blend::Add});
}

// Water: four corner colours, corners moved.
void BM_SkewedLitSprites(benchmark::State& state) {
    RunSprites(state, {kLit, 0, 64, {{{-3, 2}, {4, -2}, {3, 3}, {-2, 4}}}});
}

// 128 px ground tiles with lit corners, 48 a frame (a screen's worth):
// state.range(0) 1 opaque, 0 with an alpha edge; state.range(1) 1 shaded by
// the canvas itself, 0 through the triangles.
void BM_LitTiles128(benchmark::State& state) {
    SoftwareCanvas screen(state.range(1) == 1);
    if (!screen.canvas()) {
        state.SkipWithError("no software renderer");
        return;
    }
    std::vector<uint8_t> px(128 * 128 * 4);
    for (size_t i = 0; i < px.size(); i += 4) {
        const size_t x = i / 4 % 128;
        px[i] = uint8_t(i), px[i + 1] = uint8_t(i >> 5), px[i + 2] = 90;
        px[i + 3] = state.range(0) == 1 || x > 16 ? 255 : uint8_t(x * 15);
    }
    const OE_Texture tile = oe::Texture_Create(128, 128, std::move(px));
    oe::SpriteQuad quad;
    quad.w = quad.h = 128;
    quad.colours = {oe::Colour{255, 220, 180, 255}, oe::Colour{200, 200, 255, 255}, oe::Colour{90, 90, 120, 255},
                    oe::Colour{160, 140, 120, 255}};
    int64_t tiles = 0;
    for (auto _ : state) {
        for (int i = 0; i < 48; ++i) {
            quad.x = float(i % 8 * 100 - 20);
            quad.y = float(i / 8 * 100 - 20);
            screen.canvas()->DrawSprite(tile, quad, oe::Blend::Normal);
        }
        screen.Flush();
        tiles += 48;
    }
    state.counters["tiles/s"] = benchmark::Counter(double(tiles), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_PlainSprites)->ArgName("direct")->Arg(0)->Arg(1);
BENCHMARK(BM_TintedSprites)->ArgName("direct")->Arg(0)->Arg(1);
BENCHMARK(BM_FourCornerColourSprites)->ArgName("direct")->Arg(0)->Arg(1);
BENCHMARK(BM_RotatedSprites)->ArgName("direct")->Arg(0)->Arg(1);
BENCHMARK(BM_ShadowSprites)->ArgName("direct")->Arg(0)->Arg(1);
BENCHMARK(BM_ScaledAddedSprites)->ArgName("direct")->Arg(0)->Arg(1);
BENCHMARK(BM_SkewedLitSprites)->ArgName("direct")->Arg(0)->Arg(1);
// Lamp glows: 256 px soft light added over the ground at alpha 200, 5 a frame.
void BM_Glows256Added(benchmark::State& state) {
    SoftwareCanvas screen(true);
    if (!screen.canvas()) {
        state.SkipWithError("no software renderer");
        return;
    }
    std::vector<uint8_t> px(256 * 256 * 4);
    for (size_t i = 0; i < px.size(); i += 4) {
        const int dx = int(i / 4 % 256) - 128, dy = int(i / 4 / 256) - 128;
        px[i] = 255, px[i + 1] = 230, px[i + 2] = 160, px[i + 3] = uint8_t(std::max(0, 255 - (dx * dx + dy * dy) / 64));
    }
    const OE_Texture glow = oe::Texture_Create(256, 256, std::move(px));
    oe::SpriteQuad quad;
    quad.w = quad.h = 256;
    const oe::Colour faded{255, 255, 255, 200};
    quad.colours = {faded, faded, faded, faded};
    for (auto _ : state) {
        for (int i = 0; i < 5; ++i) {
            quad.x = float(i * 130);
            quad.y = float(i * 60);
            screen.canvas()->DrawSprite(glow, quad, oe::Blend::Add);
        }
        screen.Flush();
    }
}

BENCHMARK(BM_Glows256Added)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LitTiles128)->ArgNames({"opaque", "shaded"})->ArgsProduct({{1, 0}, {1, 0}})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
