// effects.cpp: volume column, effect commands, vibrato, tremolo, tremor,
// arpeggio and note delay.
#include "music/effects.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "music/channel.h"

namespace {

constexpr int32_t kPeriodLimit = 1 << 24;   // far beyond audible; keeps sums in range

// 127 sin(p pi / 32) for p = 0..63, rounded.
std::array<int32_t, 64> MakeSine() {
    std::array<int32_t, 64> t{};
    for (int p = 0; p < 64; ++p) t[p] = static_cast<int32_t>(std::lround(127.0 * std::sin(p * std::numbers::pi / 32.0)));
    return t;
}
const std::array<int32_t, 64> kSine = MakeSine();

// Slides may run the period far out; it is held where sums cannot overflow.
void SetPeriod(TChannel& ch, int64_t period) {
    ch.period = static_cast<int32_t>(std::clamp<int64_t>(period, -kPeriodLimit, kPeriodLimit));
}

// Period delta from the vibrato waveform at the current position, then move on.
void VibratoStep(TChannel& ch) {
    const int32_t v = Effects_Waveform(ch.waveform & 15, ch.vibrato_pos) * ch.vibrato_depth;
    ch.period_delta = (v >> 5) >> 1;
    ch.vibrato_pos = (ch.vibrato_pos + ch.vibrato_speed) & 63;
}

// Volume delta from the tremolo waveform at the current position, then move on.
void TremoloStep(TChannel& ch) {
    const int32_t v = Effects_Waveform((ch.waveform >> 4) & 3, ch.tremolo_pos) * ch.tremolo_depth;
    ch.volume_delta = v >> 5;
    ch.tremolo_pos = (ch.tremolo_pos + ch.tremolo_speed) & 63;
}

// Moves the period toward the note period by 4 x speed, stopping on it.
void TonePortaStep(TChannel& ch) {
    const int32_t speed = 4 * ch.tone_porta_speed;
    if (ch.period < ch.note_period) ch.period = std::min(ch.period + speed, ch.note_period);
    else if (ch.period > ch.note_period) ch.period = std::max(ch.period - speed, ch.note_period);
}

// Up by the high nibble of the slide memory when it is set, else down by the low one.
void VolumeSlide(TChannel& ch) {
    const int32_t x = ch.volume_slide >> 4, y = ch.volume_slide & 15;
    ch.volume += x ? x : -y;
}

// The note sounds while the counter is at most the on count, then is silent
// for the off count + 1 ticks.
void TremorStep(TChannel& ch) {
    const int32_t on = ch.tremor >> 4, off = ch.tremor & 15;
    if (ch.tremor_counter > on) ch.volume_delta = -ch.volume;
    ch.tremor_counter = ch.tremor_counter > on + off ? 0 : ch.tremor_counter + 1;
}

// Ticks 1, 2, 0 (mod 3) play the note x and y semitones up, then as it is.
void Arpeggio(const TSong& song, TChannel& ch, uint8_t p) {
    const int32_t phase = song.tick % 3;
    const int32_t semitones = phase == 1 ? p >> 4 : phase == 2 ? p & 15 : 0;
    if (song.linear) {
        ch.period_delta = 64 * semitones;
    } else {
        const int32_t f = ch.sample->finetune;
        ch.period_delta = Channel_NotePeriod(false, ch.note_number + semitones, f) -
                          Channel_NotePeriod(false, ch.note_number, f);
    }
}

// The multi-retrig volume change x applied to volume v.
int32_t RetrigVolume(int32_t x, int32_t v) {
    switch (x) {
        case 1: return v - 1;
        case 2: return v - 2;
        case 3: return v - 4;
        case 4: return v - 8;
        case 5: return v - 16;
        case 6: return v * 2 / 3;
        case 7: return v >> 1;
        case 9: return v + 1;
        case 10: return v + 2;
        case 11: return v + 4;
        case 12: return v + 8;
        case 13: return v + 16;
        case 14: return (v * 3) >> 1;
        case 15: return v * 2;
        default: return v;
    }
}

// An offset at or beyond the end of the sample starts nothing and sends the
// voice already playing back to its start.
void SampleOffset(TSong& song, int32_t index, uint8_t p) {
    TChannel& ch = song.channels[index];
    if (p) ch.sample_offset = uint32_t(p) * 256;
    ch.start_offset = ch.sample_offset;
    if (int64_t(ch.start_offset) < Sample_LoopEnd(*ch.sample)) return;
    ch.trigger = false;
    ch.start_offset = 0;
    TVoice& v = song.voices[2 * index + ch.voice];
    v.position = 0;
    v.backward = false;
}

// E60 marks the loop row; E6y jumps back there y times, counted per channel.
void PatternLoop(TSong& song, TChannel& ch, int32_t y) {
    if (y == 0) {
        ch.loop_row = song.current_row;
        return;
    }
    if (ch.loop_count == 0) ch.loop_count = static_cast<uint8_t>(y);
    else --ch.loop_count;
    if (ch.loop_count != 0) Song_NextRow(song).store(ch.loop_row);
}

// The row tick of Exy.
void ExtendedRow(TSong& song, TChannel& ch, int32_t x, int32_t y) {
    switch (x) {
        case 0x1:
            if (y) ch.fine_porta_up = static_cast<uint8_t>(y);
            SetPeriod(ch, int64_t(ch.period) - 4 * ch.fine_porta_up);
            break;
        case 0x2:
            if (y) ch.fine_porta_down = static_cast<uint8_t>(y);
            SetPeriod(ch, int64_t(ch.period) + 4 * ch.fine_porta_down);
            break;
        case 0x4: ch.waveform = static_cast<uint8_t>((ch.waveform & 0xF0) | y); break;
        case 0x5: ch.sample->finetune = static_cast<int8_t>(y); break;
        case 0x6: PatternLoop(song, ch, y); break;
        case 0x7: ch.waveform = static_cast<uint8_t>((ch.waveform & 0x0F) | (y << 4)); break;
        case 0x8: ch.panning = 16 * y; break;
        case 0xA:
            if (y) ch.fine_volume_slide = static_cast<int8_t>(-y);
            ch.volume -= ch.fine_volume_slide;
            break;
        case 0xB:
            if (y) ch.fine_volume_slide = static_cast<int8_t>(y);
            ch.volume -= ch.fine_volume_slide;
            break;
        case 0xD:
            // ED0 delays nothing: the note starts on the row tick as usual.
            if (y == 0) break;
            // Nothing starts on the row tick: the delayed note starts later.
            ch.period = ch.saved_period;
            ch.volume = ch.saved_volume;
            ch.panning = ch.saved_panning;
            ch.trigger = false;
            break;
        case 0xE: song.pattern_delay = y * song.speed; break;
        default: break;
    }
}

// EDy at tick y: the note starts now, with the volume column's row action again.
// With an instrument on the row it takes the sample's panning, as a note that
// starts on the row tick does.
void NoteDelayTrigger(TChannel& ch, const TCell& cell) {
    ch.fadeout_volume = 65536;
    ch.volume = ch.sample->volume;
    if (cell.instrument) {
        ch.panning = ch.sample->panning;
        ch.panning_env.output = 32;
    }
    ch.volume_env.output = ch.volume_env.output > 9 ? 64 : 0;
    Channel_RestartEnvelopes(ch);
    ch.period = ch.note_period;
    ch.trigger = true;
    Effects_VolumeColumnRow(ch, cell.volume);
}

// The later ticks of Exy: retrigger, note cut and note delay.
void ExtendedTick(const TSong& song, TChannel& ch, int32_t x, int32_t y, const TCell& cell) {
    switch (x) {
        case 0x9:
            if (y && song.tick % y == 0) ch.trigger = true;
            break;
        case 0xC:
            if (song.tick == y) ch.volume = 0;
            break;
        case 0xD:
            if (song.tick == y) NoteDelayTrigger(ch, cell);
            break;
        default: break;
    }
}

}  // namespace

int32_t Effects_Waveform(int32_t type, int32_t position) {
    switch (type & 3) {
        case 0: return kSine[position & 63];
        // Ramp: falls evenly from 127 to -125 over the cycle, within the range
        // of the others; established players shape tremolo so.
        case 1: return 127 - 4 * (position & 63);
        default: return (position & 63) < 32 ? 127 : -127;
    }
}

void Effects_VolumeColumnRow(TChannel& ch, uint8_t v) {
    const int32_t x = v & 15;
    if (v >= 0x10 && v <= 0x50) {
        ch.volume = v - 16;
        return;
    }
    switch (v >> 4) {
        case 0x6: case 0x8: ch.volume -= x; break;
        case 0x7: case 0x9: ch.volume += x; break;
        case 0xA: ch.vibrato_speed = static_cast<uint8_t>(x); break;
        case 0xB: ch.vibrato_depth = static_cast<uint8_t>(x); break;
        case 0xC: ch.panning = 16 * x; break;
        case 0xD: ch.panning -= x; break;
        case 0xE: ch.panning += x; break;
        case 0xF:
            if (x) ch.tone_porta_speed = static_cast<uint8_t>(16 * x);
            ch.trigger = false;
            break;
        default: break;
    }
}

void Effects_VolumeColumnTick(TChannel& ch, uint8_t v) {
    const int32_t x = v & 15;
    switch (v >> 4) {
        case 0x6: ch.volume -= x; break;
        case 0x7: ch.volume += x; break;
        case 0xB:
            ch.vibrato_depth = static_cast<uint8_t>(x);
            VibratoStep(ch);
            break;
        case 0xD: ch.panning -= x; break;
        case 0xE: ch.panning += x; break;
        case 0xF: TonePortaStep(ch); break;
        default: break;
    }
}

void Effects_Row(TSong& song, int32_t index, const TCell& cell) {
    TChannel& ch = song.channels[index];
    const uint8_t p = cell.param;
    const int32_t x = p >> 4, y = p & 15;
    switch (cell.effect) {
        case 0x1: if (p) ch.porta_up = p; break;
        case 0x2: if (p) ch.porta_down = p; break;
        case 0x3:
            if (p) ch.tone_porta_speed = p;
            ch.trigger = false;
            break;
        case 0x4:
            if (x) ch.vibrato_speed = static_cast<uint8_t>(x);
            if (y) ch.vibrato_depth = static_cast<uint8_t>(y);
            VibratoStep(ch);
            break;
        case 0x5:
            if (p) ch.volume_slide = p;
            ch.trigger = false;
            break;
        case 0x6:
            if (p) ch.volume_slide = p;
            VibratoStep(ch);
            break;
        case 0x7:
            if (x) ch.tremolo_speed = static_cast<uint8_t>(x);
            if (y) ch.tremolo_depth = static_cast<uint8_t>(y);
            break;
        case 0x8: ch.panning = p; break;
        case 0x9: SampleOffset(song, index, p); break;
        case 0xA: if (p) ch.volume_slide = p; break;
        case 0xB:
            Song_NextOrder(song).store(p < song.song_length ? p : 0);
            Song_NextRow(song).store(0);
            song.jumped = true;
            break;
        case 0xC: ch.volume = p; break;
        case 0xD:
            Song_NextRow(song).store(10 * x + y);
            if (!song.jumped)
                Song_NextOrder(song).store(song.current_order + 1 < song.song_length ? song.current_order + 1 : 0);
            break;
        case 0xE: ExtendedRow(song, ch, x, y); break;
        case 0xF:
            if (p < 32) {
                song.speed = p;
            } else {
                song.frames_per_tick = 120000 / p;
            }
            break;
        case 0x10: song.global_volume = std::min<int32_t>(p, 64); break;
        case 0x11: if (p) song.global_volume_slide = p; break;
        case 0x15: {
            const TInstrument* ins = Song_Instrument(song, ch.instrument);
            if (ins && (ins->volume_envelope.type & ENV_ON))
                Envelope_SetTick(ch.volume_env, ins->volume_envelope, p, ch.keyoff != 0);
            break;
        }
        case 0x19: if (p) ch.panning_slide = p; break;
        case 0x1B: if (p) ch.retrig = p; break;
        case 0x1D:
            if (p) ch.tremor = p;
            TremorStep(ch);
            break;
        case 0x21:
            if (x == 1) {
                if (y) ch.extra_fine_up = static_cast<uint8_t>(y);
                SetPeriod(ch, int64_t(ch.period) - ch.extra_fine_up);
            } else if (x == 2) {
                if (y) ch.extra_fine_down = static_cast<uint8_t>(y);
                SetPeriod(ch, int64_t(ch.period) + ch.extra_fine_down);
            }
            break;
        default: break;
    }
}

void Effects_Tick(TSong& song, int32_t index, const TCell& cell) {
    TChannel& ch = song.channels[index];
    const uint8_t p = cell.param;
    switch (cell.effect) {
        case 0x0: if (p) Arpeggio(song, ch, p); break;
        case 0x1: SetPeriod(ch, std::max<int64_t>(int64_t(ch.period) - 4 * ch.porta_up, 56)); break;
        case 0x2: SetPeriod(ch, int64_t(ch.period) + 4 * ch.porta_down); break;
        case 0x3: TonePortaStep(ch); break;
        case 0x4: VibratoStep(ch); break;
        case 0x5:
            TonePortaStep(ch);
            VolumeSlide(ch);
            break;
        case 0x6:
            VibratoStep(ch);
            VolumeSlide(ch);
            break;
        case 0x7: TremoloStep(ch); break;
        case 0xA: VolumeSlide(ch); break;
        case 0xE: ExtendedTick(song, ch, p >> 4, p & 15, cell); break;
        case 0x11: {
            const int32_t x = song.global_volume_slide >> 4, y = song.global_volume_slide & 15;
            song.global_volume = x ? std::min(song.global_volume + x, 64) : std::max(song.global_volume - y, 0);
            break;
        }
        case 0x19: {
            const int32_t x = ch.panning_slide >> 4, y = ch.panning_slide & 15;
            ch.panning = x ? std::min(ch.panning + x, 255) : std::max(ch.panning - y, 0);
            break;
        }
        case 0x1B: {
            const int32_t x = ch.retrig >> 4, y = ch.retrig & 15;
            if (y && song.tick % y == 0) {
                ch.trigger = true;
                if (x) ch.volume = RetrigVolume(x, ch.volume);
            }
            break;
        }
        case 0x1D: TremorStep(ch); break;
        default: break;
    }
}
