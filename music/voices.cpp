// voices.cpp: triggers with cross-fade, final volume and panning, frequency.
#include "music/voices.h"

#include <algorithm>
#include <cstdlib>

#include "music/channel.h"

namespace {

// The note sounding on the current voice moves to the other voice of the pair
// and fades out there; the current voice starts the new sample from silence.
void Trigger(TChannel& ch, TVoice* pair) {
    TVoice& playing = pair[ch.voice];
    if (playing.sample) {
        TVoice& other = pair[ch.voice ^ 1];
        other = playing;
        playing.final_volume = 0;
        playing.gain_left = 0;
        playing.gain_right = 0;
        playing.fading = true;
        ch.voice ^= 1;
    }
    TVoice& v = pair[ch.voice];
    const TSample& s = *ch.sample;
    v.sample = s.length > 0 ? &s : nullptr;
    v.position = ch.start_offset < uint32_t(Sample_LoopEnd(s)) ? int64_t(ch.start_offset) << 32 : 0;
    v.backward = false;
    v.fading = false;
    v.left = 0.0f;
    v.right = 0.0f;
    v.ramp_left = -1;
    v.ramp_right = -1;
    v.ramp_frames = 0;
}

void SetGains(TVoice& v) {
    v.gain_right = v.final_volume * v.final_panning / 255;
    v.gain_left = v.final_volume * (255 - v.final_panning) / 255;
}

}  // namespace

void Voice_Update(TSong& song, int32_t index) {
    TChannel& ch = song.channels[index];
    TVoice* pair = &song.voices[2 * index];
    if (const TInstrument* ins = Song_Instrument(song, ch.instrument)) Channel_AutoVibrato(ch, *ins);
    if (ch.trigger) Trigger(ch, pair);
    ch.trigger = false;
    TVoice& v = pair[ch.voice];

    // A tremolo or tremor that would take the sum outside 0..64 is held there:
    // below 0 it would sound with inverted phase rather than fall silent.
    ch.volume = std::clamp(ch.volume, 0, 64);
    const int64_t sum = std::clamp(ch.volume + ch.volume_delta, 0, 64);
    const int64_t product = sum * ch.volume_env.output * ch.fadeout_volume * song.global_volume * 255;
    v.final_volume = static_cast<int32_t>((product + (int64_t(1) << 34)) >> 35);

    const int32_t reach = (128 - std::abs(ch.panning - 128)) >> 5;
    v.final_panning = std::clamp(ch.panning + (ch.panning_env.output - 32) * reach, 0, 255);
    SetGains(v);

    if (const uint32_t hz = Channel_Frequency(song.linear, ch.period, ch.period_delta)) v.step = Channel_Step(hz);
}
