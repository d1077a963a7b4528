// The sound registry, checked through the engine calls it makes.
#include <string>
#include <utility>
#include <vector>

#include "assets/soundbase.h"
#include "scratch.h"

namespace {

using Args = std::vector<double>;

class SndBaseTest : public ScratchFolder {
protected:
    TS_List list_;
};

TEST_F(SndBaseTest, LoadsEveryWavOfTheFolderInNameOrder) {
    for (const char* f : {"sfx/start.wav", "sfx/amb.wav", "sfx/bum.wav", "sfx/fw.wav"}) WriteWav(f);
    WriteBytes("sfx/menu.xm", "Extended Module: ");
    MakeFolder("sfx/old.wav");
    SndBase_LoadFolder(list_, "sfx\\", "*.wav");
    ASSERT_EQ(list_.count, 4);
    EXPECT_EQ(list_.items.size(), 4u);
    const auto loads = Calls("Snd_LoadFromFile");
    ASSERT_EQ(loads.size(), 4u);
    EXPECT_EQ(loads[0].text, "sfx\\amb.wav");
    EXPECT_EQ(loads[1].text, "sfx\\bum.wav");
    EXPECT_EQ(loads[2].text, "sfx\\fw.wav");
    EXPECT_EQ(loads[3].text, "sfx\\start.wav");
    EXPECT_EQ(list_.items[0].name, "amb");
    EXPECT_EQ(list_.items[3].name, "start");
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(list_.items[i].handle, nullptr) << i;
        EXPECT_EQ(loads[i].handle, list_.items[i].handle) << i;
    }
}

TEST_F(SndBaseTest, VoicesFollowTheName) {
    for (const char* f : {"sfx/amb.wav", "sfx/bum.wav", "sfx/fw.wav"}) WriteWav(f);
    SndBase_LoadFolder(list_, "sfx\\", "*.wav");
    const auto loads = Calls("Snd_LoadFromFile");
    ASSERT_EQ(loads.size(), 3u);
    EXPECT_EQ(loads[0].args, Args{1});   // amb
    EXPECT_EQ(loads[1].args, Args{2});   // bum
    EXPECT_EQ(loads[2].args, Args{4});   // fw
}

TEST_F(SndBaseTest, VoicesTableIsExactAndCaseSensitive) {
    const std::vector<std::pair<std::string, double>> table = {
        {"bad", 4}, {"fw", 4}, {"bum", 2}, {"eng_e", 4}, {"eng", 1}, {"click", 1},
        {"select", 1}, {"Fw", 1}, {"bum ", 1}, {"", 1}};
    SndBase_SetLength(list_, static_cast<int32_t>(table.size()));
    for (const auto& [name, voices] : table) SndBase_Add(list_, name, "sfx\\" + name + ".wav");
    const auto loads = Calls("Snd_LoadFromFile");
    ASSERT_EQ(loads.size(), table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(loads[i].args, Args{table[i].second}) << "'" << table[i].first << "'";
        EXPECT_EQ(loads[i].text, "sfx\\" + table[i].first + ".wav");
    }
}

TEST_F(SndBaseTest, CaseDifferingNamePlaysTheFirstSound) {
    WriteWav("sfx/Click.wav");
    WriteWav("sfx/A.wav");
    WriteWav("sfx/select.wav");
    SndBase_LoadFolder(list_, "sfx\\", "*.wav");
    ASSERT_EQ(list_.count, 3);
    EXPECT_EQ(list_.items[1].name, "Click");
    oe::Recorder_Clear();
    SndBase_Play(list_, "click", false);
    SndBase_Play(list_, "Click", false);
    SndBase_Play(list_, "select", false);
    const auto plays = Calls("Snd_Play");
    ASSERT_EQ(plays.size(), 3u);
    EXPECT_EQ(plays[0].handle, list_.items[0].handle);
    EXPECT_EQ(plays[1].handle, list_.items[1].handle);
    EXPECT_EQ(plays[2].handle, list_.items[2].handle);
    for (const auto& p : plays) EXPECT_EQ(p.args, (Args{0, 0, 0, 0}));
    EXPECT_EQ(SndBase_Find(list_, "click"), list_.items[0].handle);
    EXPECT_EQ(SndBase_Find(list_, "Click"), list_.items[1].handle);
}

TEST_F(SndBaseTest, PlayExPassesItsValuesInTheEnginesOrder) {
    WriteWav("sfx/eng.wav");
    WriteWav("sfx/eng_e.wav");
    SndBase_LoadFolder(list_, "sfx\\", "*.wav");
    oe::Recorder_Clear();
    SndBase_PlayEx(list_, "eng_e", 750, -300, false, 22050);
    SndBase_PlayEx(list_, "eng", -5, 0, true, 0);
    SndBase_Play(list_, "eng", true);
    const auto plays = Calls("Snd_Play");
    ASSERT_EQ(plays.size(), 3u);
    EXPECT_EQ(plays[0].handle, SndBase_Find(list_, "eng_e"));
    EXPECT_EQ(plays[0].args, (Args{750, -300, 22050, 0}));
    EXPECT_EQ(plays[1].handle, SndBase_Find(list_, "eng"));
    EXPECT_EQ(plays[1].args, (Args{-5, 0, 0, 1}));
    EXPECT_EQ(plays[2].args, (Args{0, 0, 0, 1}));
}

TEST_F(SndBaseTest, StopSelectsLikePlay) {
    WriteWav("sfx/amb.wav");
    WriteWav("sfx/fw.wav");
    SndBase_LoadFolder(list_, "sfx\\", "*.wav");
    oe::Recorder_Clear();
    SndBase_Stop(list_, "fw");
    SndBase_Stop(list_, "nothing");
    const auto stops = Calls("Snd_Stop");
    ASSERT_EQ(stops.size(), 2u);
    EXPECT_EQ(stops[0].handle, list_.items[1].handle);
    EXPECT_EQ(stops[1].handle, list_.items[0].handle);
}

TEST_F(SndBaseTest, SameNameTwiceUsesTheFirst) {
    WriteWav("sfx/a.wav", 22050);
    WriteWav("sfx/b.wav", 11025);
    SndBase_SetLength(list_, 2);
    SndBase_Add(list_, "dup", "sfx\\a.wav");
    SndBase_Add(list_, "dup", "sfx\\b.wav");
    ASSERT_NE(list_.items[0].handle, list_.items[1].handle);
    EXPECT_EQ(SndBase_Find(list_, "dup"), list_.items[0].handle);
}

TEST_F(SndBaseTest, UnreadableFileKeepsItsEntryAndPassesNullOn) {
    WriteWav("sfx/amb.wav");
    WriteBytes("sfx/bum.wav", std::string("RIFF\x10\0\0\0WAVE", 12));
    SndBase_LoadFolder(list_, "sfx\\", "*.wav");
    ASSERT_EQ(list_.count, 2);
    EXPECT_EQ(list_.items[1].name, "bum");
    EXPECT_EQ(list_.items[1].handle, nullptr);
    EXPECT_EQ(SndBase_Find(list_, "bum"), nullptr);
    oe::Recorder_Clear();
    SndBase_Play(list_, "bum", false);
    const auto plays = Calls("Snd_Play");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].handle, nullptr);
}

TEST_F(SndBaseTest, EmptyRegistryMakesNoEngineCall) {
    EXPECT_EQ(SndBase_Find(list_, "amb"), nullptr);
    SndBase_Play(list_, "amb", false);
    SndBase_PlayEx(list_, "eng_e", 750, -300, false, 22050);
    SndBase_Stop(list_, "amb");
    SndBase_SetLength(list_, 3);   // room but nothing added
    SndBase_Play(list_, "amb", false);
    SndBase_Stop(list_, "amb");
    EXPECT_EQ(SndBase_Find(list_, "amb"), nullptr);
    EXPECT_TRUE(oe::Recorder_Calls().empty());
}

TEST_F(SndBaseTest, MissingOrEmptyFolderLeavesTheRegistryEmpty) {
    SndBase_LoadFolder(list_, "sfx\\", "*.wav");
    EXPECT_EQ(list_.count, 0);
    EXPECT_TRUE(list_.items.empty());
    WriteBytes("sfx/menu.xm", "x");
    SndBase_LoadFolder(list_, "sfx\\", "*.wav");
    EXPECT_EQ(list_.count, 0);
    SndBase_Play(list_, "amb", false);
    EXPECT_TRUE(Calls("Snd_Play").empty());
    EXPECT_TRUE(Calls("Snd_LoadFromFile").empty());
}

TEST_F(SndBaseTest, AFullRegistryIgnoresFurtherAdds) {
    SndBase_SetLength(list_, 2);
    SndBase_Add(list_, "one", "sfx\\one.wav");
    SndBase_Add(list_, "two", "sfx\\two.wav");
    SndBase_Add(list_, "three", "sfx\\three.wav");
    EXPECT_EQ(list_.count, 2);
    EXPECT_EQ(list_.items.size(), 2u);
    EXPECT_EQ(Calls("Snd_LoadFromFile").size(), 2u);
    TS_List none;
    SndBase_Add(none, "amb", "sfx\\amb.wav");
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(Calls("Snd_LoadFromFile").size(), 2u);
}

TEST_F(SndBaseTest, ShrinkingKeepsOnlyWhatFits) {
    WriteWav("sfx/a.wav");
    WriteWav("sfx/b.wav");
    WriteWav("sfx/c.wav");
    SndBase_LoadFolder(list_, "sfx\\", "*.wav");
    SndBase_SetLength(list_, 1);
    EXPECT_EQ(list_.count, 1);
    EXPECT_EQ(SndBase_Find(list_, "c"), list_.items[0].handle);
    SndBase_SetLength(list_, -4);
    EXPECT_EQ(list_.count, 0);
    EXPECT_TRUE(list_.items.empty());
    EXPECT_EQ(SndBase_Find(list_, "a"), nullptr);
}

TEST_F(SndBaseTest, GrowingKeepsTheCount) {
    SndBase_SetLength(list_, 1);
    SndBase_Add(list_, "amb", "sfx\\amb.wav");
    SndBase_SetLength(list_, 5);
    EXPECT_EQ(list_.count, 1);
    EXPECT_EQ(list_.items.size(), 5u);
    EXPECT_EQ(list_.items[0].name, "amb");
}

TEST(SndBaseGlobal, StartsEmpty) {
    EXPECT_EQ(sound_registry.count, 0);
    EXPECT_TRUE(sound_registry.items.empty());
    EXPECT_EQ(SndBase_Find(sound_registry, "click"), nullptr);
}

}  // namespace
