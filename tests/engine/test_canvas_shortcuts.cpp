// The software canvas with a target draws every texture into it itself, and
// fills opaque rectangles without blending. Each case here draws the same
// thing once on that canvas and once on a second one that leaves everything
// to SDL's software renderer (for the shortcuts: a sprite turned by a full 360
// degrees, a rectangle drawn as a wide line), and the two frames must agree
// pixel for pixel; lit sprites, whose colours the canvas works out along
// each row, within three levels.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/canvas.h"
#include "engine/texture.h"
#include "image_files.h"

namespace {

using oe::Blend;
using oe::Colour;
using oe::SpriteQuad;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

struct Screen {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::unique_ptr<oe::Canvas> canvas;
};

class CanvasShortcuts : public ::testing::Test {
protected:
    void SetUp() override {
        for (Screen& s : screens_) {
            s.surface = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
            ASSERT_NE(s.surface, nullptr) << SDL_GetError();
            s.renderer = SDL_CreateSoftwareRenderer(s.surface);
            ASSERT_NE(s.renderer, nullptr) << SDL_GetError();
            // The first canvas may write opaque sprites straight into its surface.
            s.canvas = std::make_unique<oe::Canvas>(s.renderer, &s == &screens_[0] ? s.surface : nullptr);
            s.canvas->Clear(0x203040);
        }
    }
    void TearDown() override {
        for (Screen& s : screens_) {
            s.canvas.reset();
            if (s.renderer) SDL_DestroyRenderer(s.renderer);
            if (s.surface) SDL_FreeSurface(s.surface);
        }
        oe::Textures_ReleaseAll();
    }

    oe::Canvas& Fast() { return *screens_[0].canvas; }
    oe::Canvas& General() { return *screens_[1].canvas; }

    uint32_t Pixel(const Screen& s, int x, int y) {
        const auto* row = static_cast<const uint8_t*>(s.surface->pixels) + y * s.surface->pitch;
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    }

    // Empty when both frames agree, else where they first differ.
    std::string FirstDifference() {
        for (Screen& s : screens_) SDL_RenderFlush(s.renderer);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t a = Pixel(screens_[0], x, y), b = Pixel(screens_[1], x, y);
                if (a != b)
                    return "at " + std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(a) +
                           " vs " + std::to_string(b);
            }
        return {};
    }

    // The largest difference of one colour channel between the two frames.
    int MaxDifference() {
        for (Screen& s : screens_) SDL_RenderFlush(s.renderer);
        int most = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t a = Pixel(screens_[0], x, y), b = Pixel(screens_[1], x, y);
                for (int shift : {0, 8, 16})
                    most = std::max(most, std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)));
            }
        return most;
    }

    // The same sprite straight and turned all the way round.
    void DrawBoth(OE_Texture texture, SpriteQuad quad, Blend blend = Blend::Normal) {
        quad.angle = 0;
        Fast().DrawSprite(texture, quad, blend);
        quad.angle = 360;
        General().DrawSprite(texture, quad, blend);
    }

    // The same rectangle as a fill and as a horizontal line as thick as it is tall.
    void FillBoth(float x, float y, float w, float h, Colour colour, Blend blend = Blend::Normal) {
        Fast().FillRect(x, y, w, h, colour, blend);
        General().Line(x, y + h / 2, x + w, y + h / 2, h, colour, blend);
    }

    // Every texel different, so a shifted or mis-scaled copy shows.
    static OE_Texture Pattern(int w, int h, uint8_t alpha = 255) {
        std::vector<uint8_t> px(size_t(w) * h * 4);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = &px[(size_t(y) * w + x) * 4];
                p[0] = uint8_t(x * 255 / w), p[1] = uint8_t(y * 255 / h), p[2] = uint8_t((x * 7 + y * 13) & 255);
                p[3] = 255;
            }
        px[3] = alpha;   // the top-left texel alone may be translucent
        return oe::Texture_Create(w, h, px);
    }

    // A quad whose corners (top-left, top-right, bottom-right, bottom-left) carry their own colours.
    static SpriteQuad Shaded(float x, float y, float w, float h, std::array<Colour, 4> corners) {
        SpriteQuad q = Quad(x, y, w, h);
        q.colours = corners;
        return q;
    }

    static SpriteQuad Quad(float x, float y, float w, float h, Colour c = {}) {
        SpriteQuad q;
        q.x = x, q.y = y, q.w = w, q.h = h;
        q.colours = {c, c, c, c};
        return q;
    }

    std::array<Screen, 2> screens_;
};

TEST_F(CanvasShortcuts, OpaqueSpriteAtItsOwnSize) {
    const OE_Texture t = Pattern(64, 48);
    DrawBoth(t, Quad(100, 120, 64, 48));
    EXPECT_EQ(FirstDifference(), "");
    // The shortcut really drew the texture: its corners landed where they belong.
    EXPECT_EQ(Pixel(screens_[0], 100, 120), 0x000000u);
    EXPECT_EQ(Pixel(screens_[0], 163, 167), (uint32_t(63 * 255 / 64) << 16) | (uint32_t(47 * 255 / 48) << 8) |
                                                 uint32_t((63 * 7 + 47 * 13) & 255));
    EXPECT_EQ(Pixel(screens_[0], 164, 167), 0x203040u);
    EXPECT_EQ(Pixel(screens_[0], 163, 168), 0x203040u);
}

TEST_F(CanvasShortcuts, OpaqueSpriteStretchedAndShrunk) {
    DrawBoth(Pattern(16, 8), Quad(10, 10, 40, 24));
    DrawBoth(Pattern(128, 128), Quad(300, 200, 50, 70));
    DrawBoth(Pattern(7, 5), Quad(500, 300, 256, 160));
    EXPECT_EQ(FirstDifference(), "");
}

TEST_F(CanvasShortcuts, OpaqueSpriteOverTheEdges) {
    const OE_Texture t = Pattern(32, 32);
    DrawBoth(t, Quad(-10, -20, 64, 64));
    DrawBoth(t, Quad(780, 590, 64, 32));
    DrawBoth(t, Quad(-5, 300, 32, 32));
    DrawBoth(t, Quad(790, 100, 32, 32));
    DrawBoth(t, Quad(900, 100, 32, 32));   // wholly off screen
    EXPECT_EQ(FirstDifference(), "");
}

TEST_F(CanvasShortcuts, OpaqueSpriteAtItsOwnSizeOverTheEdges) {
    const OE_Texture t = Pattern(32, 24);
    DrawBoth(t, Quad(-10, -20, 32, 24));
    DrawBoth(t, Quad(780, 590, 32, 24));
    DrawBoth(t, Quad(-5, 300, 32, 24));
    DrawBoth(t, Quad(790, 100, 32, 24));
    DrawBoth(t, Quad(-32, 10, 32, 24));    // just off the left
    DrawBoth(t, Quad(100, 600, 32, 24));   // just below
    EXPECT_EQ(FirstDifference(), "");
    EXPECT_EQ(Pixel(screens_[0], 0, 0), Pixel(screens_[1], 0, 0));
    EXPECT_NE(Pixel(screens_[0], 0, 0), 0x203040u);
}

TEST_F(CanvasShortcuts, TranslucentTexelsStillBlend) {
    // One translucent texel makes the texture unfit for a plain copy.
    const OE_Texture t = Pattern(8, 8, 100);
    DrawBoth(t, Quad(40, 40, 8, 8));
    DrawBoth(t, Quad(60, 40, 32, 32));
    EXPECT_EQ(FirstDifference(), "");
    EXPECT_NE(Pixel(screens_[0], 40, 40), 0x000000u);   // the background shows through
}

TEST_F(CanvasShortcuts, TintedFadedAddedOrOffPixelSpritesAgree) {
    const OE_Texture t = Pattern(16, 16);
    DrawBoth(t, Quad(20, 20, 32, 32, Colour{255, 128, 0, 255}));
    DrawBoth(t, Quad(60, 20, 32, 32, Colour{255, 255, 255, 100}));
    DrawBoth(t, Quad(100, 20, 32, 32), Blend::Add);
    DrawBoth(t, Quad(140.5f, 20.25f, 32, 32));
    EXPECT_EQ(FirstDifference(), "");
    // Additive: the background still counts.
    EXPECT_EQ(Pixel(screens_[0], 100, 20), 0x203040u);
}

TEST_F(CanvasShortcuts, OpaqueFillsMatchTheGeneralPath) {
    FillBoth(100, 100, 50, 30, Colour{255, 0, 0, 255});
    FillBoth(0, 0, 800, 4, Colour{0, 200, 100, 255});
    FillBoth(-20, 580, 60, 40, Colour{10, 20, 30, 255});
    FillBoth(780, -10, 50, 30, Colour{90, 80, 70, 255});
    FillBoth(300.5f, 300, 20, 20, Colour{1, 2, 3, 255});   // not on whole pixels
    EXPECT_EQ(FirstDifference(), "");
    EXPECT_EQ(Pixel(screens_[0], 100, 100), 0xFF0000u);
    EXPECT_EQ(Pixel(screens_[0], 149, 129), 0xFF0000u);
    EXPECT_EQ(Pixel(screens_[0], 150, 129), 0x203040u);
    EXPECT_EQ(Pixel(screens_[0], 149, 130), 0x203040u);
}

TEST_F(CanvasShortcuts, TranslucentAndAdditiveFillsStillBlend) {
    Fast().FillRect(100, 100, 50, 50, Colour{255, 0, 0, 128}, Blend::Normal);
    Fast().FillRect(200, 100, 50, 50, Colour{16, 16, 16, 255}, Blend::Add);
    Fast().FillRect(300, 100, 50, 50, Colour{16, 16, 16, 128}, Blend::Add);
    Fast().OutlineRect(400, 100, 50, 50, 2, Colour{16, 16, 16, 255}, Blend::Add);
    SDL_RenderFlush(screens_[0].renderer);
    const uint32_t half = Pixel(screens_[0], 120, 120);
    EXPECT_NEAR(int(half >> 16), 0x20 + (255 - 0x20) * 128 / 255, 1);
    EXPECT_NEAR(int(half & 255), 0x40 * 127 / 255, 1);
    EXPECT_EQ(Pixel(screens_[0], 220, 120), 0x304050u);
    EXPECT_EQ(Pixel(screens_[0], 320, 120), 0x283848u);
    EXPECT_EQ(Pixel(screens_[0], 401, 101), 0x304050u);
    EXPECT_EQ(Pixel(screens_[0], 420, 120), 0x203040u);
}

// The triangles' own texture lookup strays by a texel here and there once a
// quad is split at its centre, so the shading is compared on plain textures
// and the texel placement against the texture itself.
TEST_F(CanvasShortcuts, ShadedSpritesAtTheirOwnSizeAgreeWithinThreeLevels) {
    const std::array<Colour, 4> lit{Colour{255, 240, 200, 255}, Colour{60, 60, 80, 255},
                                    Colour{20, 20, 30, 255}, Colour{180, 170, 120, 255}};
    const OE_Texture flat = oe::Texture_Create(128, 128, std::vector<uint8_t>(128 * 128 * 4, 230));
    const OE_Texture flat_wide = oe::Texture_Create(64, 32, std::vector<uint8_t>(64 * 32 * 4, 255));
    std::vector<uint8_t> half(64 * 64 * 4, 200);
    for (size_t i = 3; i < half.size(); i += 4) half[i] = uint8_t(i / 4 % 64 * 4);   // alpha 0 to 252
    const OE_Texture translucent = oe::Texture_Create(64, 64, half);
    DrawBoth(flat, Shaded(100, 100, 128, 128, lit));
    DrawBoth(flat, Shaded(-40, -30, 128, 128, {lit[2], lit[0], lit[3], lit[1]}));   // over the edges
    DrawBoth(flat, Shaded(720, 540, 128, 128, {lit[1], lit[1], lit[0], lit[0]}));
    DrawBoth(flat_wide, Shaded(400, 300, 64, 32, lit));                              // not square
    DrawBoth(translucent, Shaded(500, 100, 64, 64, lit));                            // over the background
    DrawBoth(translucent, Shaded(140, 140, 64, 64, {lit[1], lit[0], lit[3], lit[2]}));   // over a shaded tile
    EXPECT_LE(MaxDifference(), 3);
    // The shading is there: near the bright corner the tile is brighter than near the dark one.
    const auto level = [&](int x, int y) { return (Pixel(screens_[0], x, y) >> 8) & 255; };
    EXPECT_GT(level(101, 101), 180u);
    EXPECT_LT(level(226, 226), 30u);
}

// An opaque lit tile is shaded once and copied afterwards: the copy must be of
// this tile under these colours, frame after frame, wherever it lands.
TEST_F(CanvasShortcuts, KeptShadedTilesAreTheOnesAskedFor) {
    const std::array<Colour, 4> lit{Colour{255, 240, 200, 255}, Colour{60, 60, 80, 255},
                                    Colour{20, 20, 30, 255}, Colour{180, 170, 120, 255}};
    const std::array<Colour, 4> other{lit[3], lit[2], lit[1], lit[0]};
    std::vector<uint8_t> grey(128 * 128 * 4, 230);
    for (size_t i = 3; i < grey.size(); i += 4) grey[i] = 255;
    const OE_Texture flat = oe::Texture_Create(128, 128, grey);
    const OE_Texture pale = oe::Texture_Create(128, 128, std::vector<uint8_t>(128 * 128 * 4, 255));
    DrawBoth(flat, Shaded(100, 100, 128, 128, lit));
    for (int frame = 0; frame < 3; ++frame) {
        for (Screen& s : screens_) s.canvas->Clear(0x203040);
        DrawBoth(flat, Shaded(100, 100, 128, 128, other));
        DrawBoth(pale, Shaded(300, 100, 128, 128, lit));
        DrawBoth(flat, Shaded(float(-60 + 37 * frame), 500, 128, 128, lit));
        ASSERT_LE(MaxDifference(), 3) << "frame " << frame;
    }
}

TEST_F(CanvasShortcuts, ShadedSpritesPutEachTexelInItsPixel) {
    const OE_Texture t = Pattern(40, 24);
    const Colour white{}, near_white{254, 254, 254, 255};
    for (const auto& [x, y] : {std::pair{300, 200}, {-7, -5}, {780, 590}}) {
        Fast().DrawSprite(t, Shaded(float(x), float(y), 40, 24, {white, white, white, near_white}), Blend::Normal);
        SDL_RenderFlush(screens_[0].renderer);
        for (int j = 0; j < 24; ++j)
            for (int i = 0; i < 40; ++i) {
                if (x + i < 0 || y + j < 0 || x + i >= kWidth || y + j >= kHeight) continue;
                const uint32_t got = Pixel(screens_[0], x + i, y + j);
                const int want[3] = {i * 255 / 40, j * 255 / 24, (i * 7 + j * 13) & 255};
                for (int ch = 0; ch < 3; ++ch)
                    ASSERT_NEAR(int(got >> (16 - 8 * ch) & 255), want[ch], 1) << i << "," << j;
            }
    }
}

TEST_F(CanvasShortcuts, ShadedSpritesThatAreScaledOffPixelOrMixedTakeTheTriangles) {
    const std::array<Colour, 4> lit{Colour{255, 240, 200, 255}, Colour{60, 60, 80, 255},
                                    Colour{20, 20, 30, 255}, Colour{180, 170, 120, 100}};
    DrawBoth(Pattern(64, 64), Shaded(300, 100, 128, 128, lit));           // scaled
    DrawBoth(Pattern(64, 64), Shaded(500.5f, 100, 64, 64, lit));          // off the pixel grid
    DrawBoth(Pattern(64, 64), Shaded(100, 300, 64, 64, lit));             // corners of their own alphas
    const Colour red{255, 0, 0, 200}, blue{0, 0, 255, 200};
    DrawBoth(Pattern(64, 64), Shaded(300, 300, 64, 64, {red, red, blue, blue}), Blend::Add);   // lit and added
    EXPECT_EQ(FirstDifference(), "");
}

// Faded, added and tinted sprites of one colour at their own size: the lamp
// glows and bonus halos. Compared on smooth textures, as the lit ones are.
TEST_F(CanvasShortcuts, FadedAddedAndTintedSpritesAtTheirOwnSizeAgreeWithinThreeLevels) {
    std::vector<uint8_t> glow(64 * 64 * 4);
    for (size_t i = 0; i < glow.size(); i += 4) {
        const int dx = int(i / 4 % 64) - 32, dy = int(i / 4 / 64) - 32;
        glow[i] = 255, glow[i + 1] = 230, glow[i + 2] = 160;
        glow[i + 3] = uint8_t(std::max(0, 255 - (dx * dx + dy * dy) / 4));
    }
    const OE_Texture t = oe::Texture_Create(64, 64, glow);
    const Colour faded{255, 255, 255, 200}, tint{0, 170, 255, 255}, shadow{0, 0, 0, 111};
    DrawBoth(t, Shaded(100, 100, 64, 64, {faded, faded, faded, faded}), Blend::Add);
    DrawBoth(t, Shaded(130, 110, 64, 64, {tint, tint, tint, tint}), Blend::Add);
    DrawBoth(t, Shaded(300, 100, 64, 64, {faded, faded, faded, faded}));
    DrawBoth(t, Shaded(330, 120, 64, 64, {shadow, shadow, shadow, shadow}));
    DrawBoth(t, Shaded(780, 580, 64, 64, {tint, tint, tint, tint}));   // over the edge
    EXPECT_LE(MaxDifference(), 3);
    // Added light brightens what is below; a faded sprite lets it show through.
    EXPECT_GT(Pixel(screens_[0], 132, 132) & 0xFF, 0x40u);
    EXPECT_NE(Pixel(screens_[0], 332, 132), 0x203040u);
}

// Sprites turned, skewed, stretched or shaded corner by corner: the canvas's
// own rasteriser against SDL's triangles and scaled copies, on a texture whose
// every texel differs in colour and alpha, so a texel out of place shows.
struct DirectCase {
    const char* name;
    SpriteQuad quad;
    Blend blend = Blend::Normal;
};

void PrintTo(const DirectCase& c, std::ostream* os) { *os << c.name; }

SpriteQuad Sprite(float x, float y, float w, float h, float angle, std::array<Colour, 4> colours,
                  std::array<SDL_FPoint, 4> offsets = {}) {
    SpriteQuad q;
    q.x = x, q.y = y, q.w = w, q.h = h, q.angle = angle, q.colours = colours, q.offsets = offsets;
    return q;
}

constexpr Colour kWhite{}, kShadow{0, 0, 0, 120}, kSmoke{200, 190, 180, 90}, kGlow{0, 170, 255, 200};
constexpr std::array<Colour, 4> kLit{Colour{255, 240, 200, 255}, Colour{60, 60, 80, 255},
                                     Colour{20, 20, 30, 255}, Colour{180, 170, 120, 255}};
constexpr std::array<Colour, 4> kFading{Colour{255, 255, 255, 255}, Colour{255, 128, 0, 30},
                                        Colour{0, 0, 255, 0}, Colour{90, 255, 90, 200}};
constexpr SDL_FPoint kLifted{0, -40};   // the world's shadows: the top edge raised

class DirectDrawing : public CanvasShortcuts, public ::testing::WithParamInterface<DirectCase> {
protected:
    static OE_Texture Varied(int w, int h) {
        std::vector<uint8_t> px(size_t(w) * h * 4);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = &px[(size_t(y) * w + x) * 4];
                p[0] = uint8_t(x * 255 / w), p[1] = uint8_t(y * 255 / h), p[2] = uint8_t((x * 7 + y * 13) & 255);
                p[3] = uint8_t((x * 37 + y * 11) % 256);
            }
        return oe::Texture_Create(w, h, px);
    }
};

TEST_P(DirectDrawing, MatchesTheSoftwareRenderer) {
    const DirectCase& c = GetParam();
    for (const OE_Texture t : {Varied(48, 40), Pattern(17, 9)}) {
        Fast().DrawSprite(t, c.quad, c.blend);
        General().DrawSprite(t, c.quad, c.blend);
    }
    EXPECT_EQ(FirstDifference(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Sprites, DirectDrawing,
    ::testing::Values(
        DirectCase{"Turned", Sprite(300, 200, 96, 64, 30, {kWhite, kWhite, kWhite, kWhite})},
        DirectCase{"TurnedQuarters", Sprite(300, 200, 96, 64, 90, {kWhite, kWhite, kWhite, kWhite})},
        DirectCase{"TurnedBackwards", Sprite(300, 200, 50, 70, -133, {kWhite, kWhite, kWhite, kWhite})},
        DirectCase{"Shadow", Sprite(200, 150, 128, 128, 17, {kShadow, kShadow, kShadow, kShadow},
                                    {kLifted, kLifted, SDL_FPoint{}, SDL_FPoint{}})},
        DirectCase{"ShadowOverTheEdges", Sprite(-40, 520, 128, 128, 250, {kShadow, kShadow, kShadow, kShadow},
                                                {kLifted, kLifted, SDL_FPoint{}, SDL_FPoint{}})},
        DirectCase{"Smoke", Sprite(400.4f, 300.7f, 37, 37, 0, {kSmoke, kSmoke, kSmoke, kSmoke}), Blend::Add},
        DirectCase{"Glow", Sprite(380, 260, 128, 128, 0, {kGlow, kGlow, kGlow, kGlow}), Blend::Add},
        DirectCase{"StretchedOverTheEdges", Sprite(-30, -20, 300, 50, 0, {kWhite, kWhite, kWhite, kWhite})},
        DirectCase{"Shrunk", Sprite(10, 10, 23, 11, 0, {kSmoke, kSmoke, kSmoke, kSmoke})},
        DirectCase{"Water", Sprite(100, 100, 128, 128, 0, kLit,
                                   {SDL_FPoint{-6, 3}, SDL_FPoint{4, -5}, SDL_FPoint{7, 2}, SDL_FPoint{-3, 6}})},
        DirectCase{"FourColoursTurnedAndAdded", Sprite(500, 300, 90, 60, 40, kFading), Blend::Add},
        DirectCase{"FourColoursFaded", Sprite(600.5f, 100, 64, 64, 0, kFading)},
        DirectCase{"OffTheScreen", Sprite(1200, -500, 64, 64, 45, kLit)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CanvasShortcuts, GlyphRunsMatchTheSoftwareRenderer) {
    std::vector<uint8_t> atlas(64 * 32 * 4);
    for (size_t i = 0; i < atlas.size(); i += 4)
        atlas[i] = 255, atlas[i + 1] = uint8_t(i / 7), atlas[i + 2] = 200, atlas[i + 3] = uint8_t(i * 3 / 4 % 256);
    const OE_Texture t = oe::Texture_Create(64, 32, atlas);
    const std::vector<oe::TexturePatch> glyphs{{100, 100, 8, 16, 0, 0, 8, 16},     {109, 100, 16, 32, 8, 0, 8, 16},
                                               {126.5f, 99.5f, 12, 20, 16, 4, 9, 13}, {790, 590, 24, 24, 40, 8, 12, 12},
                                               {-5, 300, 20, 7, 30, 20, 20, 7}};
    for (oe::Canvas* canvas : {&Fast(), &General()}) {
        canvas->DrawPatches(t, glyphs, Colour{255, 255, 0, 255}, Blend::Normal);
        canvas->DrawPatches(t, glyphs, Colour{90, 255, 255, 100}, Blend::Add);
    }
    EXPECT_EQ(FirstDifference(), "");
}

}  // namespace
