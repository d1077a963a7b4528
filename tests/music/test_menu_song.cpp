// The generated menu song, "sfx\menu.xm": what the game needs of it, checked on
// the player's own rendering path.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "music/arena.h"
#include "music/block.h"
#include "music/replay.h"
#include "music/song.h"
#include "music/source.h"
#include "music/xm_loader.h"

namespace {

const std::string kMenuSong = std::string(KORVAMO_TEST_DATA) + "/sfx/menu.xm";

class MenuSong : public ::testing::Test {
protected:
    void SetUp() override {
        ByteSource source;
        ASSERT_TRUE(Source_OpenFile(source, kMenuSong)) << kMenuSong;
        ASSERT_TRUE(Song_Load(song_, source, arena_));
    }

    // Renders blocks until the song ends or `limit_ms` of it have played;
    // counts the silent blocks and the clipped samples on the way.
    void Render(uint32_t limit_ms) {
        std::array<float, 2 * kBlockFrames> acc;
        std::array<int16_t, 2 * kBlockFrames> out;
        while (!song_.ended && song_.time < limit_ms) {
            acc.fill(0.0f);
            const int32_t frames = Song_Render(song_, acc.data(), kBlockFrames);
            if (frames == 0) break;
            ++blocks_;
            if (Block_Convert(acc.data(), out.data(), kFullVolumeDivisor) == 0) ++silent_;
            for (int i = 0; i < 2 * frames; ++i) clipped_ += out[size_t(i)] == 32767 || out[size_t(i)] == -32768;
        }
    }

    TArena arena_;
    TSong song_;
    int blocks_ = 0;
    int silent_ = 0;
    int clipped_ = 0;
};

TEST_F(MenuSong, HasTheBandAndTheirEnvelopes) {
    EXPECT_STREQ(song_.title.data(), "Korvamo menu");
    EXPECT_GE(song_.channel_count, 6);
    EXPECT_GE(song_.instrument_count, 6);
    for (int i = 0; i < song_.instrument_count; ++i)
        EXPECT_TRUE(song_.instruments[i].volume_envelope.type & ENV_ON) << "instrument " << i + 1;
}

TEST_F(MenuSong, UsesPortamentoVibratoVolumeSlidesAndArpeggios) {
    std::set<int> effects;
    for (int p = 0; p < song_.pattern_slots; ++p) {
        const TPattern& pat = song_.patterns[p];
        if (!pat.cells) continue;
        for (int i = 0; i < pat.rows * song_.channel_count; ++i) {
            const TCell& c = pat.cells[i];
            if (c.effect != 0 || c.param != 0) effects.insert(c.effect);
        }
    }
    for (int effect : {0x0, 0x1, 0x3, 0x4, 0xA}) EXPECT_TRUE(effects.count(effect)) << "effect " << effect;
}

TEST_F(MenuSong, PlaysAMinuteBeforeItLoopsWithoutASilentBlockOrClipping) {
    song_.no_loop = true;
    Render(10 * 60 * 1000);
    EXPECT_TRUE(song_.ended);
    EXPECT_GE(song_.time, 60000u);
    EXPECT_GT(blocks_, 2800);
    EXPECT_EQ(silent_, 0);
    EXPECT_EQ(clipped_, 0);
}

TEST_F(MenuSong, KeepsSoundingAcrossItsLoop) {
    song_.no_loop = false;
    Render(90000);
    EXPECT_FALSE(song_.ended);
    EXPECT_EQ(silent_, 0) << "the game would restart the song on a silent block";
}

}  // namespace
