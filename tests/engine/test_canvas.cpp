#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <limits>
#include <memory>

#include "engine/canvas.h"
#include "engine/font.h"
#include "engine/texture.h"
#include "image_files.h"

namespace {

using oe::Blend;
using oe::Colour;
using oe::SpriteQuad;

struct Rgb {
    int r, g, b;
};

// An 800x600 software canvas whose pixels the tests read back.
class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
        ASSERT_NE(surface_, nullptr) << SDL_GetError();
        renderer_ = SDL_CreateSoftwareRenderer(surface_);
        ASSERT_NE(renderer_, nullptr) << SDL_GetError();
        canvas_ = std::make_unique<oe::Canvas>(renderer_);
        canvas_->Clear(0x000000);
    }
    void TearDown() override {
        canvas_.reset();
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (surface_) SDL_FreeSurface(surface_);
        oe::Textures_ReleaseAll();
    }

    Rgb At(int x, int y) {
        SDL_RenderFlush(renderer_);
        const auto* row = static_cast<const uint8_t*>(surface_->pixels) + y * surface_->pitch;
        const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
        return Rgb{int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)};
    }
    bool IsBackground(int x, int y, Rgb bg = {0, 0, 0}) {
        const Rgb p = At(x, y);
        return p.r == bg.r && p.g == bg.g && p.b == bg.b;
    }
    // Number of pixels in a column (or row) that differ from black.
    int CountColumn(int x, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y) n += !IsBackground(x, y);
        return n;
    }
    int CountRow(int y, int x0, int x1) {
        int n = 0;
        for (int x = x0; x < x1; ++x) n += !IsBackground(x, y);
        return n;
    }

    static OE_Texture SolidTexture(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
        return oe::Texture_Create(w, h, testimg::Solid(w, h, r, g, b, a));
    }
    static SpriteQuad Quad(float x, float y, float w, float h, Colour c = {}) {
        SpriteQuad q;
        q.x = x, q.y = y, q.w = w, q.h = h;
        q.colours = {c, c, c, c};
        return q;
    }

    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    std::unique_ptr<oe::Canvas> canvas_;
};

#define EXPECT_RGB(p, R, G, B, tol)      \
    do {                                 \
        const Rgb px_ = (p);             \
        EXPECT_NEAR(px_.r, (R), (tol));  \
        EXPECT_NEAR(px_.g, (G), (tol));  \
        EXPECT_NEAR(px_.b, (B), (tol));  \
    } while (0)

TEST_F(CanvasTest, ClearFillsWithTheColour) {
    canvas_->Clear(0x123456);
    EXPECT_RGB(At(0, 0), 0x12, 0x34, 0x56, 0);
    EXPECT_RGB(At(799, 599), 0x12, 0x34, 0x56, 0);
}

TEST_F(CanvasTest, PlainSpriteCoversExactlyItsRectangle) {
    OE_Texture t = SolidTexture(16, 16, 200, 100, 50);   // stretched to 32x32
    canvas_->DrawSprite(t, Quad(10, 20, 32, 32), Blend::Normal);
    EXPECT_RGB(At(10, 20), 200, 100, 50, 0);
    EXPECT_RGB(At(41, 51), 200, 100, 50, 0);
    EXPECT_TRUE(IsBackground(9, 30));
    EXPECT_TRUE(IsBackground(42, 30));
    EXPECT_TRUE(IsBackground(20, 19));
    EXPECT_TRUE(IsBackground(20, 52));
}

TEST_F(CanvasTest, SpriteShowsTheTextureLayout) {
    // Left half red, right half green; drawn at twice the size.
    auto px = testimg::Solid(4, 2, 255, 0, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 2; x < 4; ++x) px[(y * 4 + x) * 4] = 0, px[(y * 4 + x) * 4 + 1] = 255;
    OE_Texture t = oe::Texture_Create(4, 2, px);
    canvas_->DrawSprite(t, Quad(100, 100, 8, 4), Blend::Normal);
    EXPECT_RGB(At(100, 100), 255, 0, 0, 0);
    EXPECT_RGB(At(103, 103), 255, 0, 0, 0);
    EXPECT_RGB(At(104, 100), 0, 255, 0, 0);
    EXPECT_RGB(At(107, 103), 0, 255, 0, 0);
}

TEST_F(CanvasTest, VertexColourMultipliesTheTexture) {
    OE_Texture t = SolidTexture(8, 8, 200, 100, 50);
    canvas_->DrawSprite(t, Quad(0, 0, 8, 8, Colour{128, 255, 0, 255}), Blend::Normal);
    EXPECT_RGB(At(4, 4), 100, 100, 0, 2);
}

TEST_F(CanvasTest, AlphaBlendsOverTheBackground) {
    canvas_->Clear(0x0000FF);
    OE_Texture t = SolidTexture(8, 8, 255, 0, 0);
    canvas_->DrawSprite(t, Quad(0, 0, 8, 8, Colour{255, 255, 255, 128}), Blend::Normal);
    EXPECT_RGB(At(4, 4), 128, 0, 127, 2);
    // The texture's own alpha counts too.
    OE_Texture half = SolidTexture(8, 8, 255, 0, 0, 128);
    canvas_->DrawSprite(half, Quad(20, 0, 8, 8), Blend::Normal);
    EXPECT_RGB(At(24, 4), 128, 0, 127, 2);
}

TEST_F(CanvasTest, AdditiveModeAddsToTheBackground) {
    canvas_->Clear(0x643200);   // 100, 50, 0
    OE_Texture t = SolidTexture(8, 8, 100, 100, 100);
    canvas_->DrawSprite(t, Quad(0, 0, 8, 8), Blend::Add);
    EXPECT_RGB(At(4, 4), 200, 150, 100, 1);
    canvas_->DrawSprite(t, Quad(20, 0, 8, 8, Colour{255, 255, 255, 128}), Blend::Add);
    EXPECT_RGB(At(24, 4), 150, 100, 50, 2);
    canvas_->DrawSprite(t, Quad(40, 0, 8, 8), Blend::Add);
    canvas_->DrawSprite(t, Quad(40, 0, 8, 8), Blend::Add);
    EXPECT_RGB(At(44, 4), 255, 250, 200, 1);   // saturates at 255
}

TEST_F(CanvasTest, CornerOffsetsMoveTheCorners) {
    OE_Texture t = SolidTexture(8, 8, 255, 255, 255);
    SpriteQuad q = Quad(100, 100, 40, 40);
    // Top-left and top-right lifted by 30: the shadow skew of the world's objects.
    q.offsets[0] = {0, -30};
    q.offsets[1] = {0, -30};
    canvas_->DrawSprite(t, q, Blend::Normal);
    EXPECT_FALSE(IsBackground(120, 75));
    EXPECT_TRUE(IsBackground(120, 68));
    EXPECT_FALSE(IsBackground(120, 139));
    EXPECT_TRUE(IsBackground(120, 141));
    // Bottom-right pulled out to the right: the bottom edge gets longer.
    SpriteQuad r = Quad(300, 100, 40, 40);
    r.offsets[2] = {20, 0};
    canvas_->DrawSprite(t, r, Blend::Normal);
    EXPECT_FALSE(IsBackground(355, 139));
    EXPECT_TRUE(IsBackground(355, 101));
}

TEST_F(CanvasTest, FourCornerColoursMeetInTheirAverage) {
    OE_Texture t = SolidTexture(8, 8, 255, 255, 255);
    SpriteQuad q = Quad(100, 100, 100, 100);
    q.colours = {Colour{255, 0, 0, 255}, Colour{0, 255, 0, 255}, Colour{0, 0, 255, 255}, Colour{255, 255, 255, 255}};
    canvas_->DrawSprite(t, q, Blend::Normal);
    EXPECT_RGB(At(150, 150), 128, 128, 128, 4);
    EXPECT_RGB(At(101, 101), 255, 0, 0, 8);
    EXPECT_RGB(At(198, 101), 0, 255, 0, 8);
    EXPECT_RGB(At(198, 198), 0, 0, 255, 8);
    EXPECT_RGB(At(101, 198), 255, 255, 255, 8);
    // Halfway along the top edge: the mean of its two corners, with no pull
    // from the opposite diagonal.
    EXPECT_RGB(At(150, 101), 128, 128, 0, 8);
}

TEST_F(CanvasTest, TwoDiagonalColoursShowNoSeam) {
    // Corners red, black, red, black. Split along either diagonal, the middle
    // would be pure red or pure black; around a centre vertex it is the average
    // and the shading is the same on both diagonals.
    OE_Texture t = SolidTexture(8, 8, 255, 255, 255);
    SpriteQuad q = Quad(0, 0, 100, 100);
    q.colours = {Colour{255, 0, 0, 255}, Colour{0, 0, 0, 255}, Colour{255, 0, 0, 255}, Colour{0, 0, 0, 255}};
    canvas_->DrawSprite(t, q, Blend::Normal);
    EXPECT_RGB(At(50, 50), 128, 0, 0, 6);
    EXPECT_RGB(At(25, 25), 191, 0, 0, 8);
    EXPECT_RGB(At(75, 75), 191, 0, 0, 8);
    EXPECT_RGB(At(25, 75), 64, 0, 0, 8);
    EXPECT_RGB(At(75, 25), 64, 0, 0, 8);
}

TEST_F(CanvasTest, CornerAlphasFadeAcrossTheQuad) {
    canvas_->Clear(0x0000FF);
    OE_Texture t = SolidTexture(8, 8, 255, 0, 0);
    SpriteQuad q = Quad(0, 0, 100, 100);
    q.colours = {Colour{255, 255, 255, 255}, Colour{255, 255, 255, 0}, Colour{255, 255, 255, 0},
                 Colour{255, 255, 255, 255}};
    canvas_->DrawSprite(t, q, Blend::Normal);
    EXPECT_RGB(At(1, 50), 255, 0, 0, 8);
    EXPECT_RGB(At(98, 50), 0, 0, 255, 8);
    EXPECT_RGB(At(50, 50), 128, 0, 127, 6);
}

TEST_F(CanvasTest, RotationTurnsClockwiseAboutTheCentre) {
    // 64x16, left half red, right half green, centred on (132, 108).
    auto px = testimg::Solid(4, 1, 255, 0, 0);
    px[8] = px[12] = 0, px[9] = px[13] = 255;
    OE_Texture t = oe::Texture_Create(4, 1, px);
    SpriteQuad q = Quad(100, 100, 64, 16);
    q.angle = 90;
    canvas_->DrawSprite(t, q, Blend::Normal);
    // Now 16 wide and 64 tall about the same centre; the left end went up.
    EXPECT_RGB(At(132, 80), 255, 0, 0, 0);
    EXPECT_RGB(At(132, 136), 0, 255, 0, 0);
    EXPECT_FALSE(IsBackground(125, 108));
    EXPECT_TRUE(IsBackground(110, 108));
    EXPECT_TRUE(IsBackground(155, 108));
    EXPECT_TRUE(IsBackground(132, 72));
    EXPECT_EQ(CountRow(108, 90, 180), 16);
    EXPECT_EQ(CountColumn(132, 60, 160), 64);
}

TEST_F(CanvasTest, RotationAppliesAfterTheOffsets) {
    OE_Texture t = SolidTexture(8, 8, 255, 255, 255);
    SpriteQuad q = Quad(100, 100, 40, 40);
    q.offsets[0] = {0, -30};
    q.offsets[1] = {0, -30};
    q.angle = 180;   // the lifted top edge ends up below
    canvas_->DrawSprite(t, q, Blend::Normal);
    EXPECT_FALSE(IsBackground(120, 165));
    EXPECT_TRUE(IsBackground(120, 95));
}

TEST_F(CanvasTest, WideLineIsTwoPixelsThick) {
    canvas_->Line(10, 50, 100, 50, 2, Colour{255, 255, 255, 255}, Blend::Normal);
    EXPECT_EQ(CountColumn(50, 40, 60), 2);
    canvas_->Line(200, 10, 200, 100, 2, Colour{255, 255, 255, 255}, Blend::Normal);
    EXPECT_EQ(CountRow(50, 190, 210), 2);
    canvas_->Line(300, 50, 400, 50, 1, Colour{255, 255, 255, 255}, Blend::Normal);
    EXPECT_EQ(CountColumn(350, 40, 60), 1);
    canvas_->Line(500, 50, 600, 50, 5, Colour{255, 255, 255, 255}, Blend::Normal);
    EXPECT_EQ(CountColumn(550, 40, 60), 5);
}

TEST_F(CanvasTest, ThinLineDiagonalAndTranslucent) {
    canvas_->Line(10, 10, 60, 60, 1, Colour{255, 255, 255, 128}, Blend::Normal);
    EXPECT_RGB(At(35, 35), 128, 128, 128, 2);
    EXPECT_TRUE(IsBackground(35, 40));
    // Widths below 1 (or nonsense) still draw a 1-pixel line.
    canvas_->Line(100, 200, 200, 200, 0, Colour{255, 255, 255, 255}, Blend::Normal);
    canvas_->Line(100, 300, 200, 300, std::numeric_limits<float>::quiet_NaN(), Colour{}, Blend::Normal);
    EXPECT_EQ(CountColumn(150, 190, 210), 1);
    EXPECT_EQ(CountColumn(150, 290, 310), 1);
}

TEST_F(CanvasTest, WideDiagonalLineIsCentredOnIt) {
    canvas_->Line(100, 100, 200, 200, 10, Colour{255, 255, 255, 255}, Blend::Normal);
    EXPECT_FALSE(IsBackground(150, 150));
    EXPECT_FALSE(IsBackground(153, 147));
    EXPECT_TRUE(IsBackground(160, 140));
}

TEST_F(CanvasTest, FilledAndOutlinedRectangles) {
    canvas_->FillRect(100, 100, 50, 30, Colour{255, 0, 0, 255}, Blend::Normal);
    EXPECT_EQ(CountRow(115, 90, 160), 50);
    EXPECT_EQ(CountColumn(125, 90, 140), 30);
    canvas_->OutlineRect(300, 100, 50, 30, 1, Colour{0, 255, 0, 255}, Blend::Normal);
    EXPECT_FALSE(IsBackground(300, 100));
    EXPECT_FALSE(IsBackground(349, 129));
    EXPECT_TRUE(IsBackground(325, 115));
    EXPECT_TRUE(IsBackground(301, 101));
    EXPECT_EQ(CountRow(115, 290, 360), 2);
    EXPECT_EQ(CountColumn(325, 90, 140), 2);
    canvas_->OutlineRect(500, 100, 50, 30, 2, Colour{0, 255, 0, 255}, Blend::Normal);
    EXPECT_EQ(CountRow(115, 490, 560), 4);
    EXPECT_TRUE(IsBackground(502, 102));
}

TEST_F(CanvasTest, TranslucentOutlineIsEvenAtTheCorners) {
    canvas_->OutlineRect(100, 100, 20, 20, 1, Colour{255, 255, 255, 128}, Blend::Normal);
    EXPECT_RGB(At(100, 100), 128, 128, 128, 1);
    EXPECT_RGB(At(119, 119), 128, 128, 128, 1);
    EXPECT_RGB(At(110, 100), 128, 128, 128, 1);
}

TEST_F(CanvasTest, RectanglesWithNegativeOrZeroSize) {
    canvas_->FillRect(100, 100, 0, 30, Colour{}, Blend::Normal);
    canvas_->FillRect(100, 100, -10, 30, Colour{}, Blend::Normal);
    EXPECT_EQ(CountRow(110, 80, 120), 0);
    canvas_->OutlineRect(100, 200, -20, -20, 1, Colour{}, Blend::Normal);
    EXPECT_FALSE(IsBackground(80, 180));
    EXPECT_FALSE(IsBackground(99, 199));
    EXPECT_TRUE(IsBackground(90, 190));
    // Too small for a hole: filled.
    canvas_->OutlineRect(300, 300, 3, 3, 2, Colour{}, Blend::Normal);
    EXPECT_FALSE(IsBackground(301, 301));
}

TEST_F(CanvasTest, CirclesFilledAndOutlined) {
    canvas_->Circle(200, 200, 20, 32, 1, true, Colour{255, 255, 255, 255}, Blend::Normal);
    EXPECT_FALSE(IsBackground(200, 200));
    EXPECT_FALSE(IsBackground(218, 200));
    EXPECT_TRUE(IsBackground(223, 200));
    EXPECT_TRUE(IsBackground(216, 216));   // outside the circle, inside its box
    const int across = CountRow(200, 170, 230);
    EXPECT_GE(across, 39);
    EXPECT_LE(across, 41);

    canvas_->Circle(500, 200, 120, 32, 2, false, Colour{0, 255, 0, 255}, Blend::Normal);
    EXPECT_TRUE(IsBackground(500, 200));
    EXPECT_TRUE(IsBackground(600, 200));
    EXPECT_FALSE(IsBackground(620, 200));
    EXPECT_FALSE(IsBackground(500, 80));
    const int ring = CountRow(200, 600, 640);
    EXPECT_GE(ring, 1);
    EXPECT_LE(ring, 3);
}

TEST_F(CanvasTest, DegenerateCirclesDrawNothingOrClampSegments) {
    canvas_->Circle(100, 100, 0, 32, 1, true, Colour{}, Blend::Normal);
    canvas_->Circle(100, 100, -5, 32, 1, true, Colour{}, Blend::Normal);
    EXPECT_EQ(CountRow(100, 90, 110), 0);
    // Fewer than three segments: a triangle; absurdly many: clamped, still a disc.
    canvas_->Circle(300, 100, 20, 1, 1, true, Colour{}, Blend::Normal);
    EXPECT_FALSE(IsBackground(300, 100));
    canvas_->Circle(500, 100, 20, 1 << 30, 1, true, Colour{}, Blend::Normal);
    EXPECT_FALSE(IsBackground(500, 100));
    EXPECT_FALSE(IsBackground(517, 100));
    EXPECT_TRUE(IsBackground(522, 100));
}

TEST_F(CanvasTest, TextGlyphRunDrawsItsWidth) {
    const auto m = oe::Font_ParseMetrics(
        "korvamo-font 1\natlas 32 16\nline 32 24\nglyph 65 0 0 8 10 0 0 8\nglyph 66 8 0 8 10 0 0 8\n");
    ASSERT_TRUE(m);
    // Atlas: white glyph boxes with full coverage; the rest transparent.
    auto px = testimg::Solid(32, 16, 255, 255, 255, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 16; ++x) px[(y * 32 + x) * 4 + 3] = 255;
    OE_Texture atlas = oe::Texture_Create(32, 16, px);
    std::vector<oe::TexturePatch> patches;
    const float end = oe::Font_Layout(*m, 100, 200, "ABA", 2.0f, 0.0f, &patches);
    canvas_->DrawPatches(atlas, patches, Colour{255, 255, 0, 255}, Blend::Normal);
    EXPECT_EQ(CountRow(205, 90, 160), int(end - 100));
    EXPECT_EQ(int(end - 100), 48);
    EXPECT_EQ(CountColumn(120, 190, 230), 20);
    EXPECT_RGB(At(100, 200), 255, 255, 0, 0);
    EXPECT_TRUE(IsBackground(100, 199));
}

TEST_F(CanvasTest, TexturesMadeAfterTheCanvasAndAfterAReleaseDraw) {
    OE_Texture red = SolidTexture(4, 4, 255, 0, 0);
    canvas_->DrawSprite(red, Quad(0, 0, 4, 4), Blend::Normal);
    EXPECT_RGB(At(1, 1), 255, 0, 0, 0);
    oe::Textures_ReleaseAll();
    OE_Texture green = SolidTexture(4, 4, 0, 255, 0);
    canvas_->DrawSprite(green, Quad(0, 0, 4, 4), Blend::Normal);
    EXPECT_RGB(At(1, 1), 0, 255, 0, 0);
}

TEST_F(CanvasTest, NullForeignAndUnreasonableSpritesDrawNothing) {
    OE_TextureRec foreign;
    foreign.width = foreign.height = 4;
    canvas_->DrawSprite(nullptr, Quad(0, 0, 50, 50), Blend::Normal);
    canvas_->DrawSprite(&foreign, Quad(0, 0, 50, 50), Blend::Normal);
    OE_Texture t = SolidTexture(4, 4, 255, 255, 255);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    canvas_->DrawSprite(t, Quad(nan, 0, 50, 50), Blend::Normal);
    canvas_->DrawSprite(t, Quad(0, 0, inf, 50), Blend::Normal);
    canvas_->DrawSprite(t, Quad(-3e9f, -3e9f, 6e9f, 6e9f), Blend::Normal);
    canvas_->FillRect(nan, 0, 50, 50, Colour{}, Blend::Normal);
    canvas_->Line(0, 0, inf, 0, 3, Colour{}, Blend::Normal);
    canvas_->Circle(0, 0, 1e12f, 16, 1, true, Colour{}, Blend::Normal);
    for (int y = 0; y < 60; y += 7) EXPECT_EQ(CountRow(y, 0, 60), 0);
}

}  // namespace
