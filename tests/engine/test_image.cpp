#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/image.h"
#include "engine/record.h"
#include "engine/texture.h"
#include "image_files.h"

namespace {

using oe::Image;
using oe::Image_Decode;
using oe::kNoColourKey;

Image Decode(const std::vector<uint8_t>& bytes, uint32_t key = kNoColourKey) {
    return Image_Decode(bytes.data(), bytes.size(), key);
}

// A 3x2 image with a different colour in every pixel.
std::vector<uint8_t> Pattern() {
    return {255, 0,   0,   255, 0,  255, 0,  255, 0,  0,   255, 255,
            10,  20,  30,  40,  50, 60,  70, 80,  90, 100, 110, 0};
}

// Runs of two equal pixels and single ones, so a run-length file has both packet kinds.
std::vector<uint8_t> Gradient(int w, int h) {
    std::vector<uint8_t> px;
    for (int i = 0; i < w * h; ++i) {
        const uint8_t v = uint8_t(i % 3 == 0 ? i : i - 1);
        px.insert(px.end(), {v, uint8_t(255 - v), uint8_t(v / 2), 255});
    }
    return px;
}

// A bare TGA header: true colour, uncompressed unless `type` says otherwise.
std::vector<uint8_t> TgaHeader(int w, int h, uint8_t type = 2, uint8_t bits = 32) {
    std::vector<uint8_t> hdr(18, 0);
    hdr[2] = type;
    hdr[12] = uint8_t(w), hdr[13] = uint8_t(w >> 8);
    hdr[14] = uint8_t(h), hdr[15] = uint8_t(h >> 8);
    hdr[16] = bits;
    hdr[17] = 0x28;   // top-left origin, 8 alpha bits
    return hdr;
}

TEST(ImageDecode, TgaKeepsEveryPixelUncompressedAndRunLength) {
    for (bool rle : {false, true}) {
        const Image img = Decode(testimg::Tga(3, 2, Pattern(), rle));
        ASSERT_EQ(img.width, 3) << rle;
        ASSERT_EQ(img.height, 2);
        EXPECT_EQ(img.rgba, Pattern()) << "rle " << rle;
    }
}

TEST(ImageDecode, RunLengthTgaOfMixedPacketsKeepsEveryPixel) {
    const Image img = Decode(testimg::Tga(8, 8, Gradient(8, 8), true));
    ASSERT_EQ(img.width, 8);
    EXPECT_EQ(img.rgba, Gradient(8, 8));
}

TEST(ImageDecode, RunLengthTgaOfOneColourRepeatsIt) {
    const Image img = Decode(testimg::Tga(40, 30, testimg::Solid(40, 30, 1, 2, 3, 4), true));
    ASSERT_EQ(img.width, 40);
    EXPECT_EQ(img.rgba, testimg::Solid(40, 30, 1, 2, 3, 4));
}

TEST(ImageDecode, JpgGivesOpaquePixelsCloseToTheOriginal) {
    const Image img = Decode(testimg::Jpg(16, 8, testimg::Solid(16, 8, 200, 100, 50)));
    ASSERT_EQ(img.width, 16);
    ASSERT_EQ(img.height, 8);
    for (size_t i = 0; i < img.rgba.size(); i += 4) {
        EXPECT_NEAR(img.rgba[i], 200, 4);
        EXPECT_NEAR(img.rgba[i + 1], 100, 4);
        EXPECT_NEAR(img.rgba[i + 2], 50, 4);
        EXPECT_EQ(img.rgba[i + 3], 255);
    }
}

TEST(ImageDecode, ColourKeyClearsOnlyThatColour) {
    auto px = testimg::Solid(2, 1, 255, 0, 255);
    px[4] = 254;   // second pixel is almost the key colour
    const auto tga = testimg::Tga(2, 1, px, false);
    const Image keyed = Decode(tga, 0xFF00FF);
    EXPECT_EQ(keyed.rgba[3], 0);
    EXPECT_EQ(keyed.rgba[7], 255);
    const Image unkeyed = Decode(tga, kNoColourKey);
    EXPECT_EQ(unkeyed.rgba[3], 255);
    // Only the low 24 bits name the colour.
    EXPECT_EQ(Decode(tga, 0x12FF00FF).rgba[3], 0);
}

TEST(ImageDecode, TruncatedFilesFail) {
    const auto raw = testimg::Tga(8, 8, Gradient(8, 8), false);
    const auto rle = testimg::Tga(8, 8, Gradient(8, 8), true);
    const auto jpg = testimg::Jpg(32, 32, testimg::Solid(32, 32, 30, 60, 90));
    for (const std::vector<uint8_t>* file : {&raw, &rle, &jpg}) {
        ASSERT_FALSE(Decode(*file).Empty());
        for (size_t keep : {size_t(1), size_t(17), size_t(18), file->size() / 2, file->size() - 20,
                            file->size() - 2}) {
            if (keep >= file->size()) continue;
            const std::vector<uint8_t> cut(file->begin(), file->begin() + long(keep));
            EXPECT_TRUE(Decode(cut).Empty()) << "kept " << keep << " of " << file->size();
        }
    }
}

TEST(ImageDecode, UncompressedTgaOneByteShortFails) {
    // The footer stb_image_write appends is not pixel data: cut into the pixels.
    auto tga = TgaHeader(4, 4);
    tga.resize(18 + 4 * 4 * 4 - 1, 7);
    EXPECT_TRUE(Decode(tga).Empty());
    tga.push_back(7);
    EXPECT_FALSE(Decode(tga).Empty());
}

TEST(ImageDecode, GarbageAndEmptyInputFail) {
    const std::string text = "this is not an image at all, just words";
    EXPECT_TRUE(Image_Decode(reinterpret_cast<const uint8_t*>(text.data()), text.size(), kNoColourKey).Empty());
    EXPECT_TRUE(Image_Decode(nullptr, 0, kNoColourKey).Empty());
    const std::vector<uint8_t> zeros(4096, 0);
    EXPECT_TRUE(Decode(zeros).Empty());
    EXPECT_TRUE(Decode({0xFF, 0xD8, 0xFF}).Empty());
    std::vector<uint8_t> noise(5000);
    uint32_t seed = 12345;
    for (auto& b : noise) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
    noise[0] = 0xFF, noise[1] = 0xD8, noise[2] = 0xFF;
    EXPECT_TRUE(Decode(noise).Empty());
}

TEST(ImageDecode, ZeroSizeAndHugeDimensionsFail) {
    auto zero = TgaHeader(0, 4);
    zero.resize(200, 1);
    EXPECT_TRUE(Decode(zero).Empty());
    // A header asking for 65535 x 65535 with a few bytes behind it.
    auto huge = TgaHeader(65535, 65535);
    huge.resize(1000, 1);
    EXPECT_TRUE(Decode(huge).Empty());
    // Complete data, but wider than any texture we accept.
    auto wide = TgaHeader(8193, 1);
    wide.resize(18 + 8193 * 4, 200);
    EXPECT_TRUE(Decode(wide).Empty());
    auto widest_allowed = TgaHeader(8192, 1);
    widest_allowed.resize(18 + 8192 * 4, 200);
    EXPECT_EQ(Decode(widest_allowed).width, 8192);
}

TEST(ImageDecode, JpgClaimingHugeWidthFails) {
    auto jpg = testimg::Jpg(16, 16, testimg::Solid(16, 16, 1, 2, 3));
    // Find the frame header (FF C0) and claim 9000 pixels across.
    bool patched = false;
    for (size_t i = 0; i + 8 < jpg.size(); ++i) {
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0) {
            jpg[i + 7] = 9000 >> 8, jpg[i + 8] = 9000 & 0xFF;
            patched = true;
            break;
        }
    }
    ASSERT_TRUE(patched);
    EXPECT_TRUE(Decode(jpg).Empty());
}

TEST(ImageDecode, OnlyTgaAndJpgAreAccepted) {
    EXPECT_TRUE(Decode(testimg::Png(4, 4, testimg::Solid(4, 4, 1, 2, 3))).Empty());
}

class TextureLoad : public ::testing::Test {
protected:
    void SetUp() override { dir_ = testimg::TempFolder("texload"); }
    void TearDown() override {
        oe::Recorder_Enable(false);
        oe::Textures_ReleaseAll();
        std::filesystem::remove_all(dir_);
    }
    std::string dir_;
};

TEST_F(TextureLoad, LoadsTgaAndJpgWithTheirSizes) {
    testimg::WriteFile(dir_ + "/a.tga", testimg::Tga(3, 2, Pattern(), true));
    testimg::WriteFile(dir_ + "/b.jpg", testimg::Jpg(24, 8, testimg::Solid(24, 8, 5, 5, 5)));
    OE_Texture a = Tex_LoadFromFile(dir_ + "/a.tga", 0xFFFFFFFF, 266);
    OE_Texture b = Tex_LoadFromFile(dir_ + "/b.jpg", 0xFFFFFFFF, 266);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->width, 3);
    EXPECT_EQ(a->height, 2);
    EXPECT_EQ(b->width, 24);
    EXPECT_EQ(b->height, 8);
    EXPECT_NE(a->id, b->id);
    ASSERT_NE(oe::Texture_Find(a), nullptr);
    // Held as ARGB words.
    EXPECT_EQ(oe::Texture_Find(a)->argb, (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x280A141E,
                                                                0x50323C46, 0x005A646E}));
}

// An unloaded texture takes no memory and comes back from its file when drawn;
// one whose file changed size meanwhile, or a texture not made from a file,
// stays as it is.
TEST_F(TextureLoad, UnloadedPixelsComeBackFromTheFile) {
    const std::string path = dir_ + "/a.tga";
    testimg::WriteFile(path, testimg::Tga(3, 2, Pattern(), true));
    OE_Texture a = Tex_LoadFromFile(path, 0xFFFFFFFF, 266);
    OE_Texture made = oe::Texture_Create(1, 1, {1, 2, 3, 4});
    ASSERT_NE(a, nullptr);
    const std::vector<uint32_t> pixels = oe::Texture_Find(a)->argb;
    Tex_Unload(a);
    Tex_Unload(made);
    EXPECT_EQ(oe::Texture_Find(a)->argb.capacity(), 0u);   // the memory itself is given back
    EXPECT_EQ(oe::Texture_Find(made)->argb, std::vector<uint32_t>{0x04010203});
    EXPECT_EQ(oe::Texture_Pixels(*oe::Texture_Find(a)), pixels);
    // Loaded to be decoded when drawn: checked and sized now, no pixels yet.
    OE_Texture later = Tex_LoadWhenDrawn(path, 0xFFFFFFFF, 266);
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->width, 3);
    EXPECT_TRUE(oe::Texture_Find(later)->argb.empty());
    EXPECT_FALSE(oe::Texture_Find(later)->opaque);
    EXPECT_EQ(oe::Texture_Pixels(*oe::Texture_Find(later)), pixels);
    Tex_Unload(a);
    testimg::WriteFile(path, testimg::Tga(2, 2, testimg::Solid(2, 2, 9, 9, 9), true));
    EXPECT_TRUE(oe::Texture_Pixels(*oe::Texture_Find(a)).empty());
}

TEST_F(TextureLoad, MissingOrBrokenFilesGiveNull) {
    testimg::WriteFile(dir_ + "/empty.tga", {});
    auto cut = testimg::Tga(8, 8, testimg::Solid(8, 8, 1, 1, 1), false);
    cut.resize(cut.size() / 2);
    testimg::WriteFile(dir_ + "/cut.tga", cut);
    EXPECT_EQ(Tex_LoadFromFile(dir_ + "/none.tga", 0xFFFFFFFF, 266), nullptr);
    EXPECT_EQ(Tex_LoadFromFile(dir_ + "/empty.tga", 0xFFFFFFFF, 266), nullptr);
    EXPECT_EQ(Tex_LoadFromFile(dir_ + "/cut.tga", 0xFFFFFFFF, 266), nullptr);
    EXPECT_EQ(Tex_LoadFromFile(dir_, 0xFFFFFFFF, 266), nullptr);
}

TEST_F(TextureLoad, IsLoggedWithTheFileAndTheArgumentsAsPassed) {
    testimg::WriteFile(dir_ + "/a.tga", testimg::Tga(3, 2, Pattern(), true));
    oe::Recorder_Enable(true);
    OE_Texture a = Tex_LoadFromFile(dir_ + "/a.tga", static_cast<uint32_t>(-1), 266);
    Tex_LoadFromFile(dir_ + "/none.tga", 0xFF00FF, 0);
    const auto& calls = oe::Recorder_Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "Tex_LoadFromFile");
    EXPECT_EQ(calls[0].text, dir_ + "/a.tga");
    EXPECT_EQ(calls[0].args, (std::vector<double>{-1, 266}));
    EXPECT_EQ(calls[0].handle, a);
    EXPECT_EQ(calls[1].args, (std::vector<double>{0xFF00FF, 0}));
    EXPECT_EQ(calls[1].handle, nullptr);
}

TEST(TextureStore, CreateChecksThePixelCount) {
    EXPECT_EQ(oe::Texture_Create(2, 2, std::vector<uint8_t>(15)), nullptr);
    EXPECT_EQ(oe::Texture_Create(0, 2, {}), nullptr);
    EXPECT_EQ(oe::Texture_Create(-1, -1, std::vector<uint8_t>(4)), nullptr);
    OE_Texture t = oe::Texture_Create(2, 2, std::vector<uint8_t>(16, 9));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(oe::Texture_Find(t), t);
    oe::Textures_ReleaseAll();
}

TEST(TextureStore, FindsOnlyItsOwnLiveRecords) {
    OE_TextureRec foreign;
    foreign.width = foreign.height = 4;
    EXPECT_EQ(oe::Texture_Find(&foreign), nullptr);
    EXPECT_EQ(oe::Texture_Find(nullptr), nullptr);
    OE_Texture first = oe::Texture_Create(1, 1, std::vector<uint8_t>(4, 1));
    const int32_t first_id = first->id;
    const uint64_t generation = oe::Textures_Generation();
    oe::Textures_ReleaseAll();
    EXPECT_NE(oe::Textures_Generation(), generation);
    OE_Texture second = oe::Texture_Create(1, 1, std::vector<uint8_t>(4, 2));
    EXPECT_NE(second->id, first_id);   // ids are never reused
    foreign.id = first_id;
    EXPECT_EQ(oe::Texture_Find(&foreign), nullptr);
    EXPECT_EQ(oe::Texture_Find(second), second);
    oe::Textures_ReleaseAll();
}

}  // namespace

namespace {

std::vector<uint8_t> Seed(const std::string& name) {
    std::ifstream in(std::string(KORVAMO_SOURCE_DIR) + "/tests/fuzz/seeds/image/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ImageJpeg, ProgressiveFileDecodes) {
    const Image image = Decode(Seed("progressive.jpg"));
    ASSERT_EQ(image.width, 8);
    ASSERT_EQ(image.height, 8);
    // A white-to-black gradient from top to bottom, opaque.
    EXPECT_GT(image.rgba[0], 200);
    EXPECT_LT(image.rgba[(7 * 8) * 4], 60);
    EXPECT_EQ(image.rgba[3], 255);
}

TEST(ImageJpeg, DamagedProgressiveScanIsRefusedNotACrash) {
    // Found by the fuzzer: a progressive scan that walked the decoder off its tables.
    EXPECT_TRUE(Decode(Seed("stb_progressive_crash.jpg")).Empty());
    EXPECT_TRUE(Decode(Seed("truncated.jpg")).Empty());
}

}  // namespace
