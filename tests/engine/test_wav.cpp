#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>

#include "engine/oe.h"
#include "engine/wav.h"
#include "tests/engine/wav_fixture.h"

using wavtest::Constant;
using wavtest::MakeWav;
using wavtest::ScratchDir;

namespace {

std::optional<oe::WavSound> Decode(const std::vector<uint8_t>& bytes) {
    return oe::Wav_Decode(bytes.data(), bytes.size());
}

TEST(WavDecode, SixteenBitMonoKeepsRateAndValues) {
    const auto wav = Decode(MakeWav(22050, 1, 16, {0, 16384, -16384, 32767, -32768}));
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->rate, 22050);
    EXPECT_EQ(wav->channels, 1);
    ASSERT_EQ(wav->Frames(), 5u);
    EXPECT_FLOAT_EQ(wav->samples[0], 0.0f);
    EXPECT_FLOAT_EQ(wav->samples[1], 0.5f);
    EXPECT_FLOAT_EQ(wav->samples[2], -0.5f);
    EXPECT_FLOAT_EQ(wav->samples[4], -1.0f);
}

TEST(WavDecode, SixteenBitStereoKeepsChannelOrder) {
    const auto wav = Decode(MakeWav(44100, 2, 16, {8192, -8192, 4096, -4096}));
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->rate, 44100);
    EXPECT_EQ(wav->channels, 2);
    ASSERT_EQ(wav->Frames(), 2u);
    EXPECT_FLOAT_EQ(wav->samples[0], 0.25f);
    EXPECT_FLOAT_EQ(wav->samples[1], -0.25f);
    EXPECT_FLOAT_EQ(wav->samples[2], 0.125f);
    EXPECT_FLOAT_EQ(wav->samples[3], -0.125f);
}

TEST(WavDecode, EightBitIsUnsignedAroundMidpoint) {
    const auto mono = Decode(MakeWav(22050, 1, 8, {128, 192, 64, 0}));
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->channels, 1);
    ASSERT_EQ(mono->Frames(), 4u);
    EXPECT_FLOAT_EQ(mono->samples[0], 0.0f);
    EXPECT_FLOAT_EQ(mono->samples[1], 0.5f);
    EXPECT_FLOAT_EQ(mono->samples[2], -0.5f);
    EXPECT_FLOAT_EQ(mono->samples[3], -1.0f);

    const auto stereo = Decode(MakeWav(44100, 2, 8, {192, 64, 160, 96}));
    ASSERT_TRUE(stereo);
    EXPECT_EQ(stereo->rate, 44100);
    EXPECT_EQ(stereo->channels, 2);
    ASSERT_EQ(stereo->Frames(), 2u);
    EXPECT_FLOAT_EQ(stereo->samples[0], 0.5f);
    EXPECT_FLOAT_EQ(stereo->samples[1], -0.5f);
    EXPECT_FLOAT_EQ(stereo->samples[2], 0.25f);
    EXPECT_FLOAT_EQ(stereo->samples[3], -0.25f);
}

TEST(WavDecode, NeedsNoAudioSubsystem) {
    if (SDL_WasInit(SDL_INIT_AUDIO) != 0) GTEST_SKIP() << "another test left SDL audio running";
    EXPECT_TRUE(Decode(MakeWav(22050, 1, 16, Constant(64, 1, 1000))));
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

TEST(WavDecode, LoadsFileByGamePath) {
    ScratchDir dir;
    dir.Write("click.wav", MakeWav(22050, 1, 16, Constant(100, 1, 500)));
    // The game writes its own folder separators; both kinds reach the same file.
    std::string game_path = dir.Path("click.wav");
    game_path[game_path.rfind('/')] = '\\';
    const auto wav = oe::Wav_LoadFile(game_path);
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->Frames(), 100u);
}

TEST(WavDecode, EveryGeneratedEffectDecodes) {
    for (const char* name :
         {"amb", "bad", "bum", "click", "eng", "eng_e", "fw", "get", "select", "start"}) {
        const auto wav = oe::Wav_LoadFile(std::string(KORVAMO_TEST_DATA) + "/sfx/" + name + ".wav");
        ASSERT_TRUE(wav) << name;
        EXPECT_GT(wav->Frames(), 0u) << name;
    }
}

// Bad input: every case gives nothing and nothing breaks.

TEST(WavBadInput, TruncatedHeader) {
    const auto whole = MakeWav(22050, 1, 16, Constant(100, 1, 500));
    for (size_t cut : {size_t{4}, size_t{12}, size_t{20}, size_t{30}, size_t{43}}) {
        const std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(cut));
        EXPECT_FALSE(Decode(part)) << "cut at " << cut;
    }
}

TEST(WavBadInput, DataChunkLargerThanFile) {
    EXPECT_FALSE(Decode(MakeWav(22050, 1, 16, Constant(100, 1, 500), 200000)));
    EXPECT_FALSE(Decode(MakeWav(22050, 1, 16, Constant(100, 1, 500), 0xffffffffLL)));
}

TEST(WavBadInput, DataCutShort) {
    auto bytes = MakeWav(22050, 1, 16, Constant(100, 1, 500));
    bytes.resize(bytes.size() - 51);
    EXPECT_FALSE(Decode(bytes));
}

TEST(WavBadInput, ZeroChannels) {
    EXPECT_FALSE(Decode(MakeWav(22050, 0, 16, Constant(100, 1, 500))));
}

TEST(WavBadInput, AbsurdHeaderValues) {
    EXPECT_FALSE(Decode(MakeWav(0, 1, 16, Constant(100, 1, 500)))) << "rate 0";
    EXPECT_FALSE(Decode(MakeWav(1, 1, 16, Constant(100, 1, 500)))) << "rate 1";
    EXPECT_FALSE(Decode(MakeWav(2000000000, 1, 16, Constant(100, 1, 500)))) << "rate 2e9";
    EXPECT_FALSE(Decode(MakeWav(22050, 65535, 16, Constant(100, 1, 500)))) << "65535 channels";
    EXPECT_FALSE(Decode(MakeWav(22050, 1, 7, Constant(100, 1, 50)))) << "7 bits";
}

TEST(WavBadInput, NoSampleFrames) {
    EXPECT_FALSE(Decode(MakeWav(22050, 1, 16, {})));
}

TEST(WavBadInput, TextAndEmptyAndMissingFiles) {
    ScratchDir dir;
    const std::string text = "RIFF? no, just a note\r\nwith two lines\r\n";
    const std::string text_path = dir.Write("note.wav", std::vector<uint8_t>(text.begin(), text.end()));
    const std::string empty_path = dir.Write("empty.wav", {});
    EXPECT_FALSE(oe::Wav_LoadFile(text_path));
    EXPECT_FALSE(oe::Wav_LoadFile(empty_path));
    EXPECT_FALSE(oe::Wav_LoadFile(dir.Path("missing.wav")));
    EXPECT_FALSE(oe::Wav_LoadFile(dir.Path("")));
    EXPECT_FALSE(oe::Wav_Decode(nullptr, 0));
}

TEST(WavBadInput, GarbageAfterRiffHeader) {
    std::vector<uint8_t> bytes = MakeWav(22050, 1, 16, {});
    bytes.resize(12);
    uint32_t x = 12345;
    for (int i = 0; i < 4000; ++i) {
        x = x * 1103515245u + 12345u;
        bytes.push_back(static_cast<uint8_t>(x >> 24));
    }
    EXPECT_FALSE(Decode(bytes));
}

TEST(WavBadInput, SoundLoaderGivesNullHandle) {
    ScratchDir dir;
    const std::string path = dir.Write("broken.wav", MakeWav(22050, 0, 16, Constant(10, 1, 1)));
    EXPECT_EQ(Snd_LoadFromFile(path, 1), nullptr);
    EXPECT_EQ(Snd_LoadFromFile(dir.Path("absent.wav"), 4), nullptr);
}

}  // namespace

TEST(WavBadInput, FloatSamplesOutOfRangeAreClampedAndNaNSilenced) {
    const std::vector<uint8_t> bytes = [] {
        std::vector<uint8_t> fuzz_seed;
        std::ifstream in(std::string(KORVAMO_SOURCE_DIR) + "/tests/fuzz/seeds/wav/float32.wav", std::ios::binary);
        fuzz_seed.assign(std::istreambuf_iterator<char>(in), {});
        return fuzz_seed;
    }();
    const auto wav = Decode(bytes);
    ASSERT_TRUE(wav);
    ASSERT_EQ(wav->Frames(), 4u);
    EXPECT_FLOAT_EQ(wav->samples[0], 0.5f);
    EXPECT_FLOAT_EQ(wav->samples[1], -1.0f);
    EXPECT_FLOAT_EQ(wav->samples[2], 0.0f);
    EXPECT_FLOAT_EQ(wav->samples[3], 1.0f);
}
