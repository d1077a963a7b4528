#include <gtest/gtest.h>

#include "engine/backend_offscreen.h"
#include "engine/core.h"
#include "engine/draw_state.h"
#include "engine/record.h"
#include "engine/texture.h"
#include "image_files.h"

namespace {

using oe::Colour;

// The drawing calls on the headless backend, its pixels read back.
class DrawApi : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = oe::MakeOffscreenBackend();
        ASSERT_TRUE(backend->Open("test", OE_OptionsRec{}));
        screen_ = backend.get();
        oe::SetBackend(std::move(backend));
        oe::ResetEngine();
        white_ = oe::Texture_Create(8, 8, testimg::Solid(8, 8, 255, 255, 255));
    }
    void TearDown() override {
        oe::ResetEngine();
        oe::SetBackend(nullptr);
    }
    uint32_t At(int x, int y) {
        screen_->Present();
        return screen_->PixelAt(x, y);
    }

    oe::OffscreenBackend* screen_ = nullptr;
    OE_Texture white_ = nullptr;
};

TEST_F(DrawApi, PlainSpriteAndColourMix) {
    SSprite_Draw(white_, 10, 10, 20, 20, 255, 0, 1);
    EXPECT_EQ(At(15, 15), 0xFFFFFFu);
    FX_SetColorMix(0x00AAFF);
    SSprite_Draw(white_, 40, 10, 20, 20, 255, 0, 9);
    EXPECT_EQ(At(45, 15), 0x00AAFFu);
    // Without flag 8 the mix colour is not used.
    SSprite_Draw(white_, 70, 10, 20, 20, 255, 0, 1);
    EXPECT_EQ(At(75, 15), 0xFFFFFFu);
}

TEST_F(DrawApi, CornerColoursOnlyWithFlag64AndTimesTheMix) {
    FX_SetVCA(0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 255, 255, 255, 255);
    SSprite_Draw(white_, 10, 10, 20, 20, 255, 0, 65);
    EXPECT_EQ(At(15, 15), 0xFF0000u);
    FX_SetColorMix(0x808080);
    SSprite_Draw(white_, 40, 10, 20, 20, 255, 0, 73);
    EXPECT_EQ(At(45, 15), 0x800000u);
    SSprite_Draw(white_, 70, 10, 20, 20, 255, 0, 9);
    EXPECT_EQ(At(75, 15), 0x808080u);
}

TEST_F(DrawApi, CornerOffsetsOnlyWithFlag32) {
    FX_SetVertexes(0, -30, 0, -30, 0, 0, 0, 0);
    SSprite_Draw(white_, 100, 100, 40, 40, 255, 0, 1);
    EXPECT_EQ(At(120, 80), 0u);
    FX_SetColorMix(0xFFFFFF);
    SSprite_Draw(white_, 200, 100, 40, 40, 255, 0, 41);
    EXPECT_EQ(At(220, 80), 0xFFFFFFu);
    FX_SetVCA(0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00, 255, 255, 255, 255);
    SSprite_Draw(white_, 300, 100, 40, 40, 255, 0, 97);
    EXPECT_EQ(At(320, 80), 0x00FF00u);
}

TEST_F(DrawApi, BlendModeOneAddsUntilReset) {
    Pr2D_Rect(0, 0, 100, 100, 0x404040, 255, 1);
    FX_SetBlendMode(1);
    SSprite_Draw(white_, 10, 10, 20, 20, 64, 0, 1);
    FX_SetBlendMode(0);
    SSprite_Draw(white_, 50, 10, 20, 20, 64, 0, 1);
    const uint32_t added = At(15, 15), blended = At(55, 15);
    EXPECT_NEAR(int(added & 255), 0x40 + 64, 1);
    EXPECT_NEAR(int(blended & 255), 0x40 + (255 - 0x40) * 64 / 255, 1);
}

TEST_F(DrawApi, CameraShiftsEveryPositionWhileSwitchedOn) {
    OE_Camera cam = Cam2D_Create();
    cam->x = 1000;
    cam->y = 2000;
    Cam2D_Set(cam);
    SSprite_Draw(white_, 10, 10, 10, 10, 255, 0, 1);   // camera off
    cam->enabled = 1;
    SSprite_Draw(white_, 1100, 2100, 10, 10, 255, 0, 1);
    Pr2D_Rect(1200, 2100, 10, 10, 0xFF0000, 255, 1);
    Pr2D_Circle(1300, 2105, 5, 0x00FF00, 255, 16, 1);
    Pr2D_Line(1400, 2105, 1450, 2105, 0x0000FF, 255, 2);
    cam->enabled = 0;
    EXPECT_EQ(At(15, 15), 0xFFFFFFu);
    EXPECT_EQ(At(105, 105), 0xFFFFFFu);
    EXPECT_EQ(At(205, 105), 0xFF0000u);
    EXPECT_EQ(At(300, 105), 0x00FF00u);
    EXPECT_EQ(At(420, 105), 0x0000FFu);
}

TEST_F(DrawApi, LineWidthAppliesToLinesAndOutlines) {
    Pr2D_Line(10, 50, 100, 50, 0xFFFFFF, 255, 2);
    Pr2D_LineWidth(2);
    Pr2D_Line(10, 150, 100, 150, 0xFFFFFF, 255, 2);
    Pr2D_Rect(200, 100, 40, 40, 0xFFFFFF, 255, 0);
    int thin = 0, wide = 0, side = 0;
    for (int y = 40; y < 60; ++y) thin += At(50, y) != 0;
    for (int y = 140; y < 160; ++y) wide += At(50, y) != 0;
    for (int x = 195; x < 220; ++x) side += At(x, 120) != 0;
    EXPECT_EQ(thin, 1);
    EXPECT_EQ(wide, 2);
    EXPECT_EQ(side, 2);
    EXPECT_EQ(At(220, 120), 0u);
}

TEST_F(DrawApi, NullHandlesDrawNothingButAreLogged) {
    oe::Recorder_Enable(true);
    SSprite_Draw(nullptr, 0, 0, 100, 100, 255, 0, 1);
    Text_Draw(nullptr, 0, 0, "hello", 1.0f, 0.0f, 255, 0xFFFFFF);
    EXPECT_EQ(At(50, 50), 0u);
    ASSERT_EQ(oe::Recorder_Calls().size(), 2u);
    EXPECT_EQ(oe::Recorder_Calls()[0].name, "SSprite_Draw");
    EXPECT_EQ(oe::Recorder_Calls()[1].name, "Text_Draw");
}

TEST_F(DrawApi, TextDrawsInItsColour) {
    const std::string dir = testimg::TempFolder("drawtext");
    auto px = testimg::Solid(16, 16, 255, 255, 255, 255);
    testimg::WriteFile(dir + "/f.tga", testimg::Tga(16, 16, px, true));
    testimg::WriteText(dir + "/f.ofi", "korvamo-font 1\natlas 16 16\nline 32 24\nglyph 73 0 0 4 16 1 2 6\n");
    OE_Font font = Text_LoadFontFromFile(dir + "/f.tga", dir + "/f.ofi", 0xFFFFFFFF, 266);
    ASSERT_NE(font, nullptr);
    Text_Draw(font, 100, 100, "II", 2.0f, 1.0f, 255, 0x0FFFFF);
    // Glyphs at x 102..109 and 115..122 (advance 12 + step 1), y 104..135.
    EXPECT_EQ(At(102, 104), 0x0FFFFFu);
    EXPECT_EQ(At(109, 135), 0x0FFFFFu);
    EXPECT_EQ(At(110, 110), 0u);
    EXPECT_EQ(At(115, 110), 0x0FFFFFu);
    EXPECT_EQ(At(123, 110), 0u);
    EXPECT_EQ(At(105, 136), 0u);
    EXPECT_EQ(Text_GetWidth(font, "II", 2.0f, 1.0f), 26);
    std::filesystem::remove_all(dir);
}

TEST_F(DrawApi, EveryCallIsLoggedWithItsArguments) {
    oe::Recorder_Enable(true);
    FX_SetColorMix(0x22000);
    FX_SetBlendMode(1);
    FX_SetVertexes(1, 2, 3, 4, 5, 6, 7, 8);
    FX_SetVCA(1, 2, 3, 4, 10, 20, 30, 40);
    SSprite_Draw(white_, 1.5f, 2.5f, 32, 16, 200, 45, 97);
    Pr2D_Rect(116, 32, 116, 64, 0, 64, 1);
    Pr2D_Line(1, 2, 3, 4, 0xAAAAAA, 64, 2);
    Pr2D_Circle(5, 6, 120, 0x00FF00, 255, 32, 0);
    Pr2D_LineWidth(2);
    const auto& c = oe::Recorder_Calls();
    ASSERT_EQ(c.size(), 9u);
    EXPECT_EQ(c[0].ToString(), "FX_SetColorMix 139264");
    EXPECT_EQ(c[1].ToString(), "FX_SetBlendMode 1");
    EXPECT_EQ(c[2].ToString(), "FX_SetVertexes 1 2 3 4 5 6 7 8");
    EXPECT_EQ(c[3].ToString(), "FX_SetVCA 1 2 3 4 10 20 30 40");
    EXPECT_EQ(c[4].name, "SSprite_Draw");
    EXPECT_EQ(c[4].handle, white_);
    EXPECT_EQ(c[4].args, (std::vector<double>{1.5, 2.5, 32, 16, 200, 45, 97}));
    EXPECT_EQ(c[5].ToString(), "Pr2D_Rect 116 32 116 64 0 64 1");
    EXPECT_EQ(c[6].args, (std::vector<double>{1, 2, 3, 4, 0xAAAAAA, 64, 2}));
    EXPECT_EQ(c[7].ToString(), "Pr2D_Circle 5 6 120 65280 255 32 0");
    EXPECT_EQ(c[8].ToString(), "Pr2D_LineWidth 2");
}

TEST(DrawState, SpriteQuadFollowsTheFlags) {
    oe::Draw_ResetState();
    FX_SetColorMix(0x808080);
    FX_SetVertexes(1, 2, 3, 4, 5, 6, 7, 8);
    FX_SetVCA(0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 255, 128, 255, 0);
    const oe::SpriteQuad plain = oe::Draw_SpriteQuad(10, 20, 30, 40, 200, 15, 1);
    EXPECT_EQ(plain.x, 10);
    EXPECT_EQ(plain.w, 30);
    EXPECT_EQ(plain.angle, 15);
    for (const Colour& c : plain.colours) EXPECT_EQ(c, (Colour{255, 255, 255, 200}));
    for (const SDL_FPoint& p : plain.offsets) EXPECT_EQ(p.x, 0);

    const oe::SpriteQuad mixed = oe::Draw_SpriteQuad(0, 0, 1, 1, 255, 0, 9);
    EXPECT_EQ(mixed.colours[2], (Colour{128, 128, 128, 255}));

    const oe::SpriteQuad corners = oe::Draw_SpriteQuad(0, 0, 1, 1, 255, 0, 65);
    EXPECT_EQ(corners.colours[0], (Colour{255, 0, 0, 255}));
    EXPECT_EQ(corners.colours[1], (Colour{0, 255, 0, 128}));
    EXPECT_EQ(corners.colours[3], (Colour{255, 255, 255, 0}));

    const oe::SpriteQuad both = oe::Draw_SpriteQuad(0, 0, 1, 1, 128, 0, 73);
    EXPECT_EQ(both.colours[0], (Colour{128, 0, 0, 128}));
    EXPECT_EQ(both.colours[1], (Colour{0, 128, 0, 64}));

    const oe::SpriteQuad moved = oe::Draw_SpriteQuad(0, 0, 1, 1, 255, 0, 97);
    EXPECT_EQ(moved.offsets[0].x, 1);
    EXPECT_EQ(moved.offsets[0].y, 2);
    EXPECT_EQ(moved.offsets[3].x, 7);
    EXPECT_EQ(moved.offsets[3].y, 8);
    EXPECT_EQ(moved.colours[2], (Colour{0, 0, 255, 255}));
    oe::Draw_ResetState();
}

TEST(DrawState, ResetRestoresTheStartValues) {
    FX_SetColorMix(0);
    FX_SetBlendMode(1);
    FX_SetVertexes(1, 1, 1, 1, 1, 1, 1, 1);
    FX_SetVCA(0, 0, 0, 0, 0, 0, 0, 0);
    Pr2D_LineWidth(3);
    oe::Draw_ResetState();
    const oe::DrawState& s = oe::Draw_State();
    EXPECT_EQ(s.mix_colour, 0xFFFFFF);
    EXPECT_EQ(oe::Draw_Blend(), oe::Blend::Normal);
    EXPECT_EQ(s.offsets[0], 0);
    EXPECT_EQ(s.corner_colours[3], 0xFFFFFF);
    EXPECT_EQ(s.corner_alphas[3], 255);
    EXPECT_EQ(s.line_width, 1.0f);
    // Alpha and colour arguments out of range are clamped, not wrapped.
    const oe::SpriteQuad q = oe::Draw_SpriteQuad(0, 0, 1, 1, 300, 0, 1);
    EXPECT_EQ(q.colours[0].a, 255);
    EXPECT_EQ(oe::Draw_SpriteQuad(0, 0, 1, 1, -5, 0, 1).colours[0].a, 0);
}

}  // namespace
