// reference_songs.cpp: the shared songs, their renders, the deliberate
// deviations and the player's own regression envelopes.
#include "tests/music/reference_songs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "music/arena.h"
#include "music/block.h"
#include "music/replay.h"
#include "music/source.h"
#include "music/xm_loader.h"

namespace fs = std::filesystem;

namespace {

constexpr double kHopTolerance = 2.0;        // RMS units a hop may move (truncation, rounding)
constexpr double kHopRelativeTolerance = 0.005;

}  // namespace

fs::path ReferenceSongs_Folder() { return fs::path(KORVAMO_SOURCE_DIR) / ".." / "shared" / "xm" / "songs"; }

fs::path ReferenceSongs_EnvelopeFolder() { return fs::path(KORVAMO_SOURCE_DIR) / "tests" / "music" / "own_envelopes"; }

std::vector<std::string> ReferenceSongs_Names() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(ReferenceSongs_Folder(), ec))
        if (e.path().extension() == ".xm" && fs::exists(fs::path(e.path()).replace_extension(".env")))
            names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

const std::map<std::string, std::string>& ReferenceSongs_Deviations() {
    static const std::map<std::string, std::string> deviations = {
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
        {"mpt_delay1", "a delay without a note (ED2 on rows 10 and 15) retriggers the last note; the reference does not"},
        {"mpt_key_off", "key-off without a volume envelope silences at once; the reference lets K00 notes fade out"},
        {"song_Leon_Du_Star-ur_what_u_think", "linear periods take finetune / 2, not 1/16-semitone steps; a 14 s pad drifts 25 ms"},
        {"song_sv_ttt", "volume-column slides act on the row tick too, so its slides run faster than FT2's (corr 0.946)"},
        {"song_dontyou", "version 1.02 (instruments first) is not read: only the 1.04 layout is"},
    };
    return deviations;
}

std::vector<int16_t> ReferenceSongs_Render(const std::string& name, int64_t limit, std::string& refused) {
    ByteSource src;
    TArena arena;
    TSong song;
    const std::string path = (ReferenceSongs_Folder() / (name + ".xm")).string();
    refused.clear();
    if (!Source_OpenFile(src, path)) refused = "cannot open " + path;
    else if (!Song_Load(song, src, arena, &refused) && refused.empty()) refused = "refused";
    Source_Close(src);
    std::vector<int16_t> pcm;
    if (!refused.empty()) return pcm;
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

OwnEnvelope OwnEnvelope_Measure(const std::vector<int16_t>& stereo) {
    return {int64_t(stereo.size() / 2), Loudness_Measure(stereo, kOwnEnvelopeHop)};
}

bool OwnEnvelope_Write(const std::string& path, const std::string& song, const OwnEnvelope& env) {
    std::ofstream out(path, std::ios::binary);
    out << "# " << song << ": this player's own render, RMS per " << kOwnEnvelopeHop
        << "-frame hop (left right); written by xmenvelopes\n";
    out << "frames " << env.frames << "\n";
    for (size_t i = 0; i < env.hops.left.size(); ++i) out << env.hops.left[i] << ' ' << env.hops.right[i] << '\n';
    return bool(out.flush());
}

bool OwnEnvelope_Read(const std::string& path, OwnEnvelope& env) {
    std::ifstream in(path);
    std::string line;
    if (!std::getline(in, line) || !std::getline(in, line) || line.rfind("frames ", 0) != 0) return false;
    env = {};
    env.frames = std::stoll(line.substr(7));
    double l = 0, r = 0;
    while (in >> l >> r) {
        env.hops.left.push_back(l);
        env.hops.right.push_back(r);
    }
    return in.eof();
}

std::string OwnEnvelope_Difference(const OwnEnvelope& before, const OwnEnvelope& now) {
    if (before.frames != now.frames)
        return "length " + std::to_string(now.frames) + " frames, was " + std::to_string(before.frames);
    size_t moved = 0;
    std::string first;
    for (size_t i = 0; i < before.hops.left.size() && i < now.hops.left.size(); ++i) {
        for (auto [was, is] : {std::pair{before.hops.left[i], now.hops.left[i]}, {before.hops.right[i], now.hops.right[i]}}) {
            if (std::abs(was - is) <= std::max(kHopTolerance, kHopRelativeTolerance * std::max(was, is))) continue;
            if (moved++ == 0) {
                char text[128];
                std::snprintf(text, sizeof text, "at %.2f s the RMS is %.0f, was %.0f", double(i) * kOwnEnvelopeHop / 48000.0,
                              is, was);
                first = text;
            }
        }
    }
    return moved == 0 ? "" : std::to_string(moved) + " hops moved, first " + first;
}
