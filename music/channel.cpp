// channel.cpp: periods, frequencies, envelopes and auto-vibrato.
#include "music/channel.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstdlib>

namespace {

// 13.375 x 2^(k / 12), the Amiga period of note 132 - k.
int32_t AmigaPeriod(int32_t k) { return static_cast<int32_t>(std::lround(13.375 * std::exp2(k / 12.0))); }

// The 16.16 change per tick from point a to point b (0 when their ticks are equal).
int32_t Slope(const TEnvelopePoint& a, const TEnvelopePoint& b) {
    const int32_t dx = int32_t(b.x) - int32_t(a.x);
    return dx == 0 ? 0 : (int32_t(b.y) - int32_t(a.y)) * 65536 / dx;
}

}  // namespace

int32_t Channel_NotePeriod(bool linear, int32_t note_number, int32_t finetune) {
    if (linear) return 7680 - 64 * note_number - finetune / 2;
    const int32_t k = 132 - note_number;
    const int32_t s = finetune >= 0 ? 1 : -1;
    const int32_t base = AmigaPeriod(k);
    return base + (std::abs(finetune) * (AmigaPeriod(k - s) - base)) / 128;
}

uint32_t Channel_Frequency(bool linear, int32_t period, int32_t period_delta) {
    const int64_t sum = int64_t(period) + period_delta;
    if (sum == 0) return 0;
    double hz;
    if (linear) {
        hz = std::floor(8363.0 * std::exp2((4608.0 - period + period_delta) / 768.0) + 0.5);
    } else {
        hz = static_cast<double>(14317056 / sum);
    }
    if (!(hz >= 100.0 && hz <= 768000.0)) return 100;
    return static_cast<uint32_t>(hz);
}

int64_t Channel_Step(uint32_t frequency) {
    const int64_t whole = frequency / kOutputRate;
    const int64_t rest = frequency % kOutputRate;
    return (whole << 32) | ((rest << 32) / kOutputRate);
}

void Envelope_Step(TEnvelopeState& e, const TEnvelope& env, bool keyed_off) {
    if (e.ended) return;
    const int32_t last = env.count - 1;
    // Between points (or past the last one, which a damaged envelope allows).
    // A tick beyond the point counts as reaching it, so envelopes whose ticks
    // do not rise still move on instead of sliding for ever.
    if (e.index > last || e.tick < env.points[e.index].x) {
        if (e.index <= last) e.value += e.delta;
        e.output = std::clamp(e.value >> 16, 0, 64);
        ++e.tick;
        return;
    }
    if ((env.type & ENV_LOOP) && e.index == env.loop_end && env.loop_start <= last) {
        e.index = env.loop_start;
        e.tick = env.points[e.index].x;
    }
    const TEnvelopePoint& p = env.points[e.index];
    e.output = p.y;
    if (e.index >= last) {
        e.ended = true;
        return;
    }
    if ((env.type & ENV_SUSTAIN) && e.index == env.sustain && !keyed_off) return;
    e.value = int32_t(p.y) << 16;
    e.delta = Slope(p, env.points[e.index + 1]);
    ++e.index;
    ++e.tick;
}

void Envelope_SetTick(TEnvelopeState& e, const TEnvelope& env, int32_t tick, bool keyed_off) {
    const int32_t last = env.count - 1;
    if (last < 0) return;
    int32_t i = 0;
    while (i <= last && env.points[i].x < tick) ++i;
    if (i > last) {
        e.index = last;
        e.tick = tick;
        e.output = env.points[last].y;
        e.ended = true;
        return;
    }
    e.ended = false;
    const TEnvelopePoint& p = env.points[i];
    if (p.x == tick) {
        // Landing on a point: a sustain point holds, but a loop end does not
        // jump back; the envelope goes on from the point.
        e.output = p.y;
        e.index = i;
        e.tick = tick;
        if (i == last) {
            e.ended = true;
        } else if (!((env.type & ENV_SUSTAIN) && i == env.sustain && !keyed_off)) {
            e.value = int32_t(p.y) << 16;
            e.delta = Slope(p, env.points[i + 1]);
            e.index = i + 1;
            e.tick = tick + 1;
        }
        return;
    }
    // Between points: the output is the value at `tick`, the next step
    // gives the one after it.
    e.index = i;
    e.tick = tick + 1;
    if (i == 0) {
        e.delta = 0;
        e.value = int32_t(p.y) << 16;
    } else {
        const TEnvelopePoint& a = env.points[i - 1];
        e.delta = Slope(a, p);
        e.value = (int32_t(a.y) << 16) + (tick - int32_t(a.x)) * e.delta;
    }
    e.output = std::clamp(e.value >> 16, 0, 64);
}

void Channel_RestartEnvelopes(TChannel& ch) {
    for (TEnvelopeState* e : {&ch.volume_env, &ch.panning_env}) {
        e->tick = 0;
        e->index = 0;
        e->delta = 0;
        e->ended = false;
    }
    ch.keyoff = 0;
    ch.autovib_pos = 0;
    ch.autovib_sweep = 0;
    if ((ch.waveform & 0x0C) == 0) ch.vibrato_pos = 0;
    if (ch.waveform < 0x4F) ch.tremolo_pos = 0;
}

void Channel_AutoVibrato(TChannel& ch, const TInstrument& ins) {
    const int32_t q = ch.autovib_pos;
    int32_t wave;
    switch (ins.vibrato_type) {
        case 0: wave = static_cast<int32_t>(std::lround(64.0 * std::sin(q * std::numbers::pi / 128.0))); break;
        case 1: wave = q < 128 ? 64 : -64; break;
        case 2: wave = (128 - ((q + 128) & 255)) >> 1; break;
        default: wave = (128 - ((128 - q) & 255)) >> 1; break;
    }
    int32_t value = wave * ins.vibrato_depth;
    if (ins.vibrato_sweep != 0) {
        value = value * ch.autovib_sweep / ins.vibrato_sweep;
        ch.autovib_sweep = std::min<int32_t>(ch.autovib_sweep + 1, ins.vibrato_sweep);
    }
    ch.period_delta += value >> 6;
    ch.autovib_pos = static_cast<uint8_t>(q + ins.vibrato_rate);
}
