// channel.h: what turns a channel's notes into pitch and loudness over time:
// periods and frequencies for both frequency tables, the volume and panning
// envelopes, and the instrument's auto-vibrato.
#pragma once

#include <cstdint>

#include "music/song.h"

// The period of a note number (0 = C-0, relative note included) with a
// finetune, by the linear table (7680 - 64 n - f / 2) or the Amiga table
// (1712 for n = 48, f = 0).
int32_t Channel_NotePeriod(bool linear, int32_t note_number, int32_t finetune);

// The playback frequency in Hz for a period and a period delta; 0 when their
// sum is 0 (the voice then keeps its frequency). Frequencies below 100 Hz or
// above 768000 Hz become 100 Hz.
uint32_t Channel_Frequency(bool linear, int32_t period, int32_t period_delta);

// Frames of sample per output frame at `frequency`, as 32.32 fixed point.
int64_t Channel_Step(uint32_t frequency);

// Advances one envelope by one tick: moves between points, holds on the
// sustain point until key-off, jumps back at the loop end and marks the
// envelope ended on its last point.
void Envelope_Step(TEnvelopeState& state, const TEnvelope& env, bool keyed_off);

// Moves an envelope to `tick`, its output interpolated between the points
// around it. Landing on the sustain point holds there (until key-off);
// landing on the loop end goes on past it; at or beyond the last point the
// envelope holds the last point.
void Envelope_SetTick(TEnvelopeState& state, const TEnvelope& env, int32_t tick, bool keyed_off);

// Restarts the envelopes, key-off and auto-vibrato for a new note and resets
// the vibrato and tremolo positions unless the waveform byte keeps them.
void Channel_RestartEnvelopes(TChannel& ch);

// The instrument's auto-vibrato for this tick: adds to the period delta and
// moves its position and sweep on.
void Channel_AutoVibrato(TChannel& ch, const TInstrument& ins);
