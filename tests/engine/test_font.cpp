#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/font.h"
#include "engine/record.h"
#include "image_files.h"

namespace {

using oe::Font_Layout;
using oe::Font_ParseMetrics;
using oe::Utf8_Decode;

const std::string kGood =
    "korvamo-font 1\n"
    "atlas 64 32\n"
    "line 32 24\n"
    "glyph 65 0 0 8 10 1 4 9\n"         // A
    "glyph 66 8 0 6 10 0 4 7\n"         // B
    "glyph 63 16 0 5 10 0 4 6\n"        // ?
    "glyph 32 0 0 0 0 0 0 4\n"          // space: nothing to draw
    "glyph 233 24 0 6 12 0 2 7\n"       // e with acute
    "glyph 8364 32 0 8 10 0 4 10.5\n";  // euro sign

std::string WithLine(const std::string& line) { return kGood + line + "\n"; }

TEST(FontMetricsParse, ReadsEveryRecord) {
    const auto m = Font_ParseMetrics(kGood);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->atlas_width, 64);
    EXPECT_EQ(m->atlas_height, 32);
    EXPECT_EQ(m->line_height, 32);
    EXPECT_EQ(m->baseline, 24);
    ASSERT_EQ(m->glyphs.size(), 6u);
    const oe::Glyph& b = m->glyphs.at('B');
    EXPECT_EQ(b.x, 8);
    EXPECT_EQ(b.w, 6);
    EXPECT_EQ(b.h, 10);
    EXPECT_EQ(b.yoff, 4);
    EXPECT_EQ(b.advance, 7);
    EXPECT_FLOAT_EQ(m->glyphs.at(8364).advance, 10.5f);
}

TEST(FontMetricsParse, AcceptsCrLfUnknownAndEmptyLines) {
    std::string crlf;
    for (char c : WithLine("kerning 65 66 -1")) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    crlf += "\r\n\r\n";
    const auto m = Font_ParseMetrics(crlf);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->glyphs.size(), 6u);
    EXPECT_EQ(m->glyphs.at(8364).x, 32);
}

TEST(FontMetricsParse, GlyphBeforeAtlasLineIsCheckedAgainstIt) {
    EXPECT_TRUE(Font_ParseMetrics("korvamo-font 1\nglyph 65 0 0 64 32 0 0 9\natlas 64 32\nline 32 24\n"));
    EXPECT_FALSE(Font_ParseMetrics("korvamo-font 1\nglyph 65 0 0 65 32 0 0 9\natlas 64 32\nline 32 24\n"));
}

TEST(FontMetricsParse, MissingOrWrongMagicFails) {
    EXPECT_FALSE(Font_ParseMetrics(kGood.substr(kGood.find('\n') + 1)));
    EXPECT_FALSE(Font_ParseMetrics("korvamo-font 2\n" + kGood.substr(kGood.find('\n') + 1)));
    EXPECT_FALSE(Font_ParseMetrics("\n" + kGood));
    EXPECT_FALSE(Font_ParseMetrics("other-font 1\natlas 64 32\nline 32 24\n"));
    EXPECT_FALSE(Font_ParseMetrics(""));
}

TEST(FontMetricsParse, MissingAtlasOrLineFails) {
    EXPECT_FALSE(Font_ParseMetrics("korvamo-font 1\nline 32 24\nglyph 65 0 0 8 10 1 4 9\n"));
    EXPECT_FALSE(Font_ParseMetrics("korvamo-font 1\natlas 64 32\nglyph 65 0 0 8 10 1 4 9\n"));
    EXPECT_TRUE(Font_ParseMetrics("korvamo-font 1\natlas 64 32\nline 32 24\n"));
}

TEST(FontMetricsParse, TextWhereNumbersBelongFails) {
    EXPECT_FALSE(Font_ParseMetrics("korvamo-font 1\natlas W 32\nline 32 24\n"));
    EXPECT_FALSE(Font_ParseMetrics("korvamo-font 1\natlas 64 32\nline tall 24\n"));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph A 0 0 8 10 1 4 9")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 0 0 8x 10 1 4 9")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 0 0 8 10 1 4 nine")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 0 0 8 10 1 4 nan")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 0 0 8 10 1 4 inf")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 0.5 0 8 10 1 4 9")));
}

TEST(FontMetricsParse, WrongNumberOfFieldsFails) {
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 0 0 8 10 1 4")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 0 0 8 10 1 4 9 9")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("atlas 64")));
}

TEST(FontMetricsParse, RectangleOutsideTheAtlasFails) {
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 60 0 5 10 0 0 5")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 0 30 5 3 0 0 5")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 -1 0 5 3 0 0 5")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 0 0 -5 3 0 0 5")));
    EXPECT_TRUE(Font_ParseMetrics(WithLine("glyph 67 59 22 5 10 0 0 5")));
}

TEST(FontMetricsParse, TruncatedFileFails) {
    // Cut inside the first glyph line, and before the line record.
    const size_t glyph = kGood.find("glyph");
    EXPECT_FALSE(Font_ParseMetrics(kGood.substr(0, glyph + 12)));
    EXPECT_FALSE(Font_ParseMetrics(kGood.substr(0, kGood.find("line"))));
    EXPECT_FALSE(Font_ParseMetrics(kGood.substr(0, 7)));
}

TEST(FontMetricsParse, HugeNumbersAndCountsFail) {
    EXPECT_FALSE(Font_ParseMetrics("korvamo-font 1\natlas 100000 32\nline 32 24\n"));
    EXPECT_FALSE(Font_ParseMetrics("korvamo-font 1\natlas 99999999999999999999 32\nline 32 24\n"));
    EXPECT_FALSE(Font_ParseMetrics("korvamo-font 1\natlas 0 32\nline 32 24\n"));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 1114112 0 0 1 1 0 0 5")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 0 0 1 1 0 0 1e30")));
    EXPECT_FALSE(Font_ParseMetrics(WithLine("glyph 67 4294967297 0 1 1 0 0 5")));
    std::string many = kGood;
    for (size_t i = 0; i <= oe::kMaxFontGlyphs; ++i) many += "glyph 65 0 0 1 1 0 0 5\n";
    EXPECT_FALSE(Font_ParseMetrics(many));
}

TEST(Utf8, DecodesWellFormedSequences) {
    EXPECT_EQ(Utf8_Decode("Az"), (std::vector<uint32_t>{'A', 'z'}));
    EXPECT_EQ(Utf8_Decode("\xC3\xA9"), (std::vector<uint32_t>{0xE9}));
    EXPECT_EQ(Utf8_Decode("\xE2\x82\xAC!"), (std::vector<uint32_t>{0x20AC, '!'}));
    EXPECT_EQ(Utf8_Decode("\xF0\x9F\x9A\x97"), (std::vector<uint32_t>{0x1F697}));
    EXPECT_EQ(Utf8_Decode("\xF4\x8F\xBF\xBF"), (std::vector<uint32_t>{0x10FFFF}));
    EXPECT_TRUE(Utf8_Decode("").empty());
}

TEST(Utf8, EachInvalidByteBecomesAQuestionMark) {
    const std::vector<uint32_t> q2{'?', '?'};
    EXPECT_EQ(Utf8_Decode("\x80\xBF"), q2);                                      // stray continuations
    EXPECT_EQ(Utf8_Decode("\xC0\x80"), q2);                                      // overlong NUL
    EXPECT_EQ(Utf8_Decode("\xE0\x80\xAF"), (std::vector<uint32_t>{'?', '?', '?'}));   // overlong
    EXPECT_EQ(Utf8_Decode("\xED\xA0\x80"), (std::vector<uint32_t>{'?', '?', '?'}));   // surrogate
    EXPECT_EQ(Utf8_Decode("\xF4\x90\x80\x80"), (std::vector<uint32_t>{'?', '?', '?', '?'}));   // > U+10FFFF
    EXPECT_EQ(Utf8_Decode("\xFF"), (std::vector<uint32_t>{'?'}));
    EXPECT_EQ(Utf8_Decode("a\xE2\x82"), (std::vector<uint32_t>{'a', '?', '?'}));   // cut short
    EXPECT_EQ(Utf8_Decode("\xC3" "A"), (std::vector<uint32_t>{'?', 'A'}));   // the next byte survives
    EXPECT_EQ(Utf8_Decode("\xE9t\xE9"), (std::vector<uint32_t>{'?', 't', '?'}));   // Latin-1 bytes
}

TEST(FontLayout, PlacesGlyphsByOffsetsAdvancesScaleAndStep) {
    const auto m = Font_ParseMetrics(kGood);
    ASSERT_TRUE(m);
    std::vector<oe::TexturePatch> out;
    const float end = Font_Layout(*m, 100, 50, "AB", 2.0f, 3.0f, &out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_FLOAT_EQ(out[0].x, 100 + 1 * 2);
    EXPECT_FLOAT_EQ(out[0].y, 50 + 4 * 2);
    EXPECT_FLOAT_EQ(out[0].w, 16);
    EXPECT_FLOAT_EQ(out[0].h, 20);
    EXPECT_EQ(out[0].src_x, 0);
    EXPECT_EQ(out[0].src_w, 8);
    EXPECT_FLOAT_EQ(out[1].x, 100 + 9 * 2 + 3);   // pen after A: advance * scale + step
    EXPECT_EQ(out[1].src_x, 8);
    EXPECT_FLOAT_EQ(end, 100 + (9 * 2 + 3) + (7 * 2 + 3));
}

TEST(FontLayout, SpacesAdvanceWithoutDrawing) {
    const auto m = Font_ParseMetrics(kGood);
    std::vector<oe::TexturePatch> out;
    EXPECT_FLOAT_EQ(Font_Layout(*m, 0, 0, "A A", 1.0f, 0.0f, &out), 9 + 4 + 9);
    EXPECT_EQ(out.size(), 2u);
}

TEST(FontLayout, UnknownCodePointsDrawAsQuestionMark) {
    const auto m = Font_ParseMetrics(kGood);
    std::vector<oe::TexturePatch> out;
    EXPECT_FLOAT_EQ(Font_Layout(*m, 0, 0, "Z\xFF", 1.0f, 0.0f, &out), 6 + 6);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].src_x, 16);
    EXPECT_EQ(out[1].src_x, 16);
    // Multi-byte glyphs are found by their code point.
    out.clear();
    EXPECT_FLOAT_EQ(Font_Layout(*m, 0, 0, "\xC3\xA9\xE2\x82\xAC", 1.0f, 0.0f, &out), 7 + 10.5f);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].src_x, 24);
    EXPECT_EQ(out[1].src_x, 32);
}

TEST(FontLayout, WithoutQuestionMarkUnknownCodePointsVanish) {
    const auto m = Font_ParseMetrics("korvamo-font 1\natlas 64 32\nline 32 24\nglyph 65 0 0 8 10 1 4 9\n");
    ASSERT_TRUE(m);
    std::vector<oe::TexturePatch> out;
    EXPECT_FLOAT_EQ(Font_Layout(*m, 10, 0, "xAx", 1.0f, 2.0f, &out), 10 + 9 + 2);
    EXPECT_EQ(out.size(), 1u);
}

class FontFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testimg::TempFolder("font");
        testimg::WriteFile(dir_ + "/font.tga", testimg::Tga(64, 32, testimg::Solid(64, 32, 255, 255, 255, 128), true));
        testimg::WriteText(dir_ + "/font.ofi", kGood);
    }
    void TearDown() override {
        oe::Recorder_Enable(false);
        oe::Fonts_ReleaseAll();
        oe::Textures_ReleaseAll();
        std::filesystem::remove_all(dir_);
    }
    OE_Font Load(const std::string& ofi = "font.ofi", const std::string& tga = "font.tga") {
        return Text_LoadFontFromFile(dir_ + "/" + tga, dir_ + "/" + ofi, 0xFFFFFFFF, 266);
    }
    std::string dir_;
};

TEST_F(FontFiles, LoadsAtlasAndMetrics) {
    OE_Font font = Load();
    ASSERT_NE(font, nullptr);
    ASSERT_NE(font->atlas, nullptr);
    EXPECT_EQ(font->atlas->width, 64);
    EXPECT_EQ(font->atlas->height, 32);
    EXPECT_EQ(font->metrics.glyphs.size(), 6u);
}

TEST_F(FontFiles, AtlasOfAnotherSizeOrMissingFilesFail) {
    testimg::WriteFile(dir_ + "/small.tga", testimg::Tga(32, 32, testimg::Solid(32, 32, 255, 255, 255), true));
    testimg::WriteText(dir_ + "/bad.ofi", "korvamo-font 1\natlas 64\n");
    EXPECT_EQ(Load("font.ofi", "small.tga"), nullptr);
    EXPECT_EQ(Load("none.ofi"), nullptr);
    EXPECT_EQ(Load("font.ofi", "none.tga"), nullptr);
    EXPECT_EQ(Load("bad.ofi"), nullptr);
}

TEST_F(FontFiles, WidthIsTheRoundedSumOfAdvances) {
    OE_Font font = Load();
    EXPECT_EQ(Text_GetWidth(font, "AB", 1.0f, 0.0f), 16);
    EXPECT_EQ(Text_GetWidth(font, "AB", 2.0f, 1.0f), 34);
    EXPECT_EQ(Text_GetWidth(font, "\xE2\x82\xAC", 1.0f, 0.0f), 11);   // 10.5 rounds up
    EXPECT_EQ(Text_GetWidth(font, "", 1.0f, 0.0f), 0);
    EXPECT_EQ(Text_GetWidth(nullptr, "AB", 1.0f, 0.0f), 0);
}

TEST_F(FontFiles, CallsAreLoggedAsPassed) {
    oe::Recorder_Enable(true);
    OE_Font font = Load();
    Text_GetWidth(font, "AB", 2.0f, 1.0f);
    Text_Draw(font, 130, 50, "1/4 Laps", 1.0f, 0.0f, 255, 0x22000);
    Text_Draw(nullptr, 1, 2, "x", 1.0f, 0.0f, 255, 0);
    const auto& calls = oe::Recorder_Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].name, "Text_LoadFontFromFile");
    EXPECT_EQ(calls[0].text, dir_ + "/font.tga " + dir_ + "/font.ofi");
    EXPECT_EQ(calls[0].args, (std::vector<double>{-1, 266}));
    EXPECT_EQ(calls[0].handle, font);
    EXPECT_EQ(calls[1].name, "Text_GetWidth");
    EXPECT_EQ(calls[1].args, (std::vector<double>{2, 1}));
    EXPECT_EQ(calls[2].name, "Text_Draw");
    EXPECT_EQ(calls[2].text, "1/4 Laps");
    EXPECT_EQ(calls[2].args, (std::vector<double>{130, 50, 1, 0, 255, 0x22000}));
    EXPECT_EQ(calls[2].handle, font);
    EXPECT_EQ(calls[3].handle, nullptr);
}

// The font the asset generator writes must load and cover what the game types.
TEST(GeneratedFont, LoadsAndCoversLatin1) {
    const std::string dir = std::string(KORVAMO_TEST_DATA) + "/fnt/";
    OE_Font font = Text_LoadFontFromFile(dir + "font.tga", dir + "font.ofi", 0xFFFFFFFF, 266);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->metrics.line_height, 32);
    for (uint32_t cp = 32; cp <= 255; ++cp) {
        if (cp > 126 && cp < 160) continue;
        EXPECT_TRUE(font->metrics.glyphs.count(cp)) << cp;
    }
    EXPECT_GT(Text_GetWidth(font, "Score: 0", 1.0f, 0.0f), 40);
    EXPECT_NEAR(Text_GetWidth(font, "GO!!!", 2.0f, 0.0f), 2 * Text_GetWidth(font, "GO!!!", 1.0f, 0.0f), 1);
    oe::Fonts_ReleaseAll();
    oe::Textures_ReleaseAll();
}

// On screen the layout keeps exactly the glyphs that touch the screen, and
// stops once the pen has passed its right edge: no text costs more than it shows.
struct ScreenCase {
    const char* text;
    float x, y, scale, step;
};

class FontOnScreen : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(FontOnScreen, KeepsTheGlyphsTouchingTheScreenInOrder) {
    const auto m = Font_ParseMetrics(kGood);
    const ScreenCase& c = GetParam();
    std::vector<oe::TexturePatch> all, shown;
    Font_Layout(*m, c.x, c.y, c.text, c.scale, c.step, &all);
    oe::Font_LayoutOnScreen(*m, c.x, c.y, c.text, c.scale, c.step, 100, 60, shown);
    std::vector<oe::TexturePatch> touching;
    for (const oe::TexturePatch& p : all)
        if (std::min(p.x, p.x + p.w) < 100 && std::min(p.y, p.y + p.h) < 60 && std::max(p.x, p.x + p.w) > 0 &&
            std::max(p.y, p.y + p.h) > 0)
            touching.push_back(p);
    ASSERT_EQ(shown.size(), touching.size());
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].x, touching[i].x);
        EXPECT_EQ(shown[i].src_x, touching[i].src_x);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FontOnScreen,
                         ::testing::Values(ScreenCase{"ABAB", 10, 10, 1, 0}, ScreenCase{"ABABABABABABAB", 10, 10, 1, 0},
                                           ScreenCase{"ABABAB\xFF A", -20, 5, 2, 1},
                                           ScreenCase{"ABABAB", 90, -8, 1, 0}, ScreenCase{"AB", 10, 70, 1, 0},
                                           ScreenCase{"ABABAB", 300, 10, -1, 0},
                                           ScreenCase{"\xC3\xA9\xE2\x82\xAC\xE2\x82\xAC", 0, 0, 3, -2}));

TEST(FontOnScreenLength, AFourMegabyteLineLaysOutOnlyWhatFits) {
    const auto m = Font_ParseMetrics(kGood);
    std::vector<oe::TexturePatch> shown;
    oe::Font_LayoutOnScreen(*m, 0, 0, std::string(4u << 20, 'A'), 1, 0, 800, 600, shown);
    EXPECT_EQ(shown.size(), 89u);   // 800 px of 9 px advances, the last one cut
}

}  // namespace
