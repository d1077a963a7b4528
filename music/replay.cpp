// replay.cpp: ticks, rows, the row and tick updates of every channel.
#include "music/replay.h"

#include <algorithm>

#include "music/channel.h"
#include "music/effects.h"
#include "music/mixer.h"
#include "music/voices.h"

namespace {

const TCell kEmptyCell{};

// The cell of `channel` on the current row (an empty one in an empty pattern).
const TCell& CellAt(const TSong& song, int32_t channel) {
    const TPattern& pat = song.patterns[song.orders[size_t(song.current_order)]];
    if (!pat.cells || song.current_row >= pat.rows) return kEmptyCell;
    return pat.cells[size_t(song.current_row) * size_t(song.channel_count) + size_t(channel)];
}

// The sample the channel's last note plays on its instrument, or the empty one.
TSample* ChannelSample(TSong& song, const TChannel& ch) {
    const TInstrument* ins = Song_Instrument(song, ch.instrument);
    if (!ins) return &song.empty_sample;
    const uint8_t slot = ins->note_map[size_t(std::clamp(ch.last_note, 0, 95))];
    if (slot >= kSamplesPerInstrument || !ins->samples[slot]) return &song.empty_sample;
    return ins->samples[slot];
}

bool KeyedOff(const TChannel& ch) { return ch.keyoff != 0; }

// A keyed-off note fades by the instrument's (doubled) fade-out each tick.
void Fadeout(TChannel& ch, const TInstrument* ins) {
    if (KeyedOff(ch) && ins) ch.fadeout_volume = std::max<int32_t>(ch.fadeout_volume - int32_t(ins->fadeout), 0);
}

// The row tick of one channel: note, instrument, volume column, key-off,
// envelopes, fade-out, effect, then its voices.
void RowUpdate(TSong& song, int32_t index, const TCell& cell) {
    TChannel& ch = song.channels[index];
    const bool porta = cell.effect == 0x3 || cell.effect == 0x5;
    const bool note = cell.note >= 1 && cell.note <= 96;
    if (!porta) {
        if (cell.instrument) ch.instrument = cell.instrument - 1;
        if (note) ch.last_note = cell.note - 1;
    }
    ch.sample = ChannelSample(song, ch);
    const TSample& s = *ch.sample;
    ch.saved_period = ch.period;
    ch.saved_volume = ch.volume;
    ch.saved_panning = ch.panning;

    if (cell.effect != 0x7 && ch.previous_effect == 0x7) ch.volume += ch.volume_delta;
    ch.previous_effect = cell.effect;
    ch.volume_delta = 0;
    ch.period_delta = 0;
    ch.trigger = false;
    ch.start_offset = 0;

    if (note) {
        ch.note_number = cell.note + s.relative_note - 1;
        ch.note_period = Channel_NotePeriod(song.linear, ch.note_number, s.finetune);
        if (!porta) {
            ch.period = ch.note_period;
            ch.trigger = true;
        }
    }
    if (cell.instrument) {
        ch.volume = s.volume;
        ch.panning = s.panning;
        ch.volume_env.output = 64;
        ch.panning_env.output = 32;
        ch.fadeout_volume = 65536;
        Channel_RestartEnvelopes(ch);
    }
    Effects_VolumeColumnRow(ch, cell.volume);
    if (cell.note >= 97 || cell.effect == 0x14) ++ch.keyoff;

    const TInstrument* ins = Song_Instrument(song, ch.instrument);
    if (ins && (ins->volume_envelope.type & ENV_ON)) Envelope_Step(ch.volume_env, ins->volume_envelope, KeyedOff(ch));
    else if (KeyedOff(ch)) ch.volume_env.output = 0;
    if (ins && (ins->panning_envelope.type & ENV_ON)) Envelope_Step(ch.panning_env, ins->panning_envelope, KeyedOff(ch));
    Fadeout(ch, ins);

    Effects_Row(song, index, cell);
    Voice_Update(song, index);
}

// A later tick of one channel: envelopes, fade-out, the volume column's and
// the effect's later-tick actions, then its voices.
void TickUpdate(TSong& song, int32_t index, const TCell& cell) {
    TChannel& ch = song.channels[index];
    ch.sample = ChannelSample(song, ch);
    ch.volume_delta = 0;
    ch.period_delta = 0;
    ch.trigger = false;
    const TInstrument* ins = Song_Instrument(song, ch.instrument);
    if (ins && (ins->volume_envelope.type & ENV_ON)) Envelope_Step(ch.volume_env, ins->volume_envelope, KeyedOff(ch));
    if (ins && (ins->panning_envelope.type & ENV_ON)) Envelope_Step(ch.panning_env, ins->panning_envelope, KeyedOff(ch));
    Fadeout(ch, ins);
    Effects_VolumeColumnTick(ch, cell.volume);
    Effects_Tick(song, index, cell);
    Voice_Update(song, index);
}

// After a row without a jump or break: the next row, or the next order at the
// pattern's end (at the end of the list: the restart position, or the end).
void ScheduleNextRow(TSong& song) {
    if (Song_NextRow(song).load() >= 0) return;
    if (song.current_row + 1 < song.patterns[song.orders[size_t(song.current_order)]].rows) {
        Song_NextRow(song).store(song.current_row + 1);
        return;
    }
    int32_t next = song.current_order + 1;
    if (next >= song.song_length) {
        song.end_pending = song.no_loop;
        next = song.restart_position;
    }
    Song_NextRow(song).store(0);
    Song_NextOrder(song).store(next);
}

// A next order already played in this pass starts a new pass, or ends the
// song when the passes asked for are done.
void CountPasses(TSong& song) {
    const int32_t next = Song_NextOrder(song).load();
    if (next < 0 || !song.played[size_t(next < song.song_length ? next : 0)]) return;
    if (song.max_passes > 0 && song.passes >= song.max_passes) {
        song.end_pending = true;
        return;
    }
    ++song.passes;
    song.played.fill(false);
}

// Takes the requested position, plays the row and works out the next one.
void RowTick(TSong& song) {
    const int32_t order = Song_NextOrder(song).exchange(-1);
    const int32_t row = Song_NextRow(song).exchange(-1);
    if (order >= 0) song.current_order = order < song.song_length ? order : 0;
    if (row >= 0) song.current_row = row;
    song.played[size_t(song.current_order)] = true;
    // A jump, break or loop past the end of this pattern starts it at row 0.
    if (song.current_row >= song.patterns[song.orders[size_t(song.current_order)]].rows) song.current_row = 0;
    song.jumped = false;
    for (int32_t c = 0; c < song.channel_count; ++c) RowUpdate(song, c, CellAt(song, c));
    ScheduleNextRow(song);
    CountPasses(song);
}

// One tick of every channel; the tick counter and the frames of the tick move on.
void RunTick(TSong& song) {
    if (song.tick == 0) {
        RowTick(song);
    } else {
        for (int32_t c = 0; c < song.channel_count; ++c) TickUpdate(song, c, CellAt(song, c));
    }
    if (++song.tick >= song.speed + song.pattern_delay) {
        song.tick = 0;
        song.pattern_delay = 0;
    }
    song.frames_left = song.frames_per_tick;
}

}  // namespace

int32_t Song_Render(TSong& song, float* out, int32_t frames) {
    int32_t done = 0;
    while (done < frames) {
        if (song.frames_left == 0) {
            if (song.tick == 0 && song.end_pending) song.ended = true;
            if (song.ended) break;
            RunTick(song);
        }
        const int32_t m = std::min(song.frames_left, frames - done);
        Mixer_Mix(song, out + 2 * done, m);
        song.time += static_cast<uint32_t>(m * 20 / 960);
        song.frames_left -= m;
        done += m;
    }
    return done;
}
