// mixer.cpp: runs between boundaries, interpolation, loops and gain ramps.
#include "music/mixer.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

using F4 = float __attribute__((vector_size(16)));
using I4 = int32_t __attribute__((vector_size(16)));
using U4 = uint32_t __attribute__((vector_size(16)));

// A sample value and the one after it are read as one 32-bit pair, the first
// in the low half.
static_assert(std::endian::native == std::endian::little);

// The fraction of a position keeps its top 24 bits, which a float holds
// exactly.
constexpr int kFractionShift = 8;
constexpr float kFraction = 1.0f / 16777216.0f;

// Frames whose start positions all lie inside the playing range: at least 1
// for a position inside it.
int64_t FramesToBoundary(const TVoice& v, int64_t start, int64_t end) {
    if (v.step == 0) return INT64_MAX;
    if (v.backward) return (v.position - start) / v.step + 1;
    return (end - v.position + v.step - 1) / v.step;
}

// Brings a position that left the playing range back into it, or lets the
// sample go when it has ended.
void Turn(TVoice& v, int64_t start, int64_t end) {
    const TSample& s = *v.sample;
    if (s.loop_type == LOOP_NONE) {
        if (v.position >= end) v.sample = nullptr;
        return;
    }
    if (s.loop_type == LOOP_FORWARD) {
        if (v.position >= end) v.position = start + (v.position - end) % (end - start);
        return;
    }
    // Ping-pong: reflect the overshoot, as often as a large step needs.
    for (;;) {
        if (!v.backward && v.position >= end) {
            v.position = 2 * end - v.position - 1;
            v.backward = true;
        } else if (v.backward && v.position < start) {
            v.position = 2 * start - v.position;
            v.backward = false;
        } else {
            return;
        }
    }
}

// The interpolated sample value at a 32.32 position.
inline float Interpolate(const int16_t* d, int64_t pos) {
    const int64_t i = pos >> 32;
    const float a = d[i];
    return a + (float(d[i + 1]) - a) * (float(uint32_t(pos) >> kFractionShift) * kFraction);
}

// The sample value at a 32.32 position and the one after it.
uint32_t PairAt(const int16_t* d, int64_t pos) {
    uint32_t pair;
    std::memcpy(&pair, d + (pos >> 32), sizeof pair);
    return pair;
}

// Four frames of a run side by side, from `pos` on: their interpolated sample
// values, given the fractions of their four positions.
inline F4 Interpolate4(const int16_t* d, int64_t pos, int64_t step, U4 fractions) {
    const I4 pairs = {int32_t(PairAt(d, pos)), int32_t(PairAt(d, pos + step)), int32_t(PairAt(d, pos + 2 * step)),
                      int32_t(PairAt(d, pos + 3 * step))};
    const F4 a = __builtin_convertvector((pairs << 16) >> 16, F4);
    const F4 b = __builtin_convertvector(pairs >> 16, F4);
    const F4 t = __builtin_convertvector(I4(fractions >> kFractionShift), F4) * kFraction;
    return a + (b - a) * t;
}

// Adds four frames of sample values `s` at gains `lo` (frames 0 and 1, left
// then right) and `hi` (frames 2 and 3) into `out`.
inline void Add4(float* out, F4 s, F4 lo, F4 hi) {
    F4 a, b;
    std::memcpy(&a, out, sizeof a);
    std::memcpy(&b, out + 4, sizeof b);
    a += __builtin_shufflevector(s, s, 0, 0, 1, 1) * lo;
    b += __builtin_shufflevector(s, s, 2, 2, 3, 3) * hi;
    std::memcpy(out, &a, sizeof a);
    std::memcpy(out + 4, &b, sizeof b);
}

// The fractions (low halves) of four consecutive positions. Adding the low
// half of four steps moves them on by four frames: low halves wrap alike.
U4 Fractions(int64_t pos, int64_t step) {
    return U4{uint32_t(pos), uint32_t(pos + step), uint32_t(pos + 2 * step), uint32_t(pos + 3 * step)};
}

// A run at steady gains, four frames at a time.
void MixSteady(TVoice& v, float* out, int32_t n, int64_t step) {
    const int16_t* d = v.sample->data;
    int64_t pos = v.position;
    const F4 gains = {v.left, v.right, v.left, v.right};
    U4 fractions = Fractions(pos, step);
    const uint32_t fraction_step = uint32_t(4 * step);
    int32_t k = 0;
    for (; k + 4 <= n; k += 4) {
        Add4(out + 2 * k, Interpolate4(d, pos, step, fractions), gains, gains);
        pos += 4 * step;
        fractions += fraction_step;
    }
    for (; k < n; ++k, pos += step) {
        const float s = Interpolate(d, pos);
        out[2 * k] += s * v.left;
        out[2 * k + 1] += s * v.right;
    }
    v.position = pos;
}

// A run during a gain ramp: the gains move by one step every frame.
void MixRamp(TVoice& v, float* out, int32_t n, int64_t step) {
    const int16_t* d = v.sample->data;
    int64_t pos = v.position;
    const float dl = v.ramp_step_left, dr = v.ramp_step_right;
    F4 lo = {v.left, v.right, v.left + dl, v.right + dr};
    F4 hi = lo + F4{2 * dl, 2 * dr, 2 * dl, 2 * dr};
    const F4 four_steps = {4 * dl, 4 * dr, 4 * dl, 4 * dr};
    U4 fractions = Fractions(pos, step);
    const uint32_t fraction_step = uint32_t(4 * step);
    int32_t k = 0;
    for (; k + 4 <= n; k += 4) {
        Add4(out + 2 * k, Interpolate4(d, pos, step, fractions), lo, hi);
        pos += 4 * step;
        fractions += fraction_step;
        lo += four_steps;
        hi += four_steps;
    }
    float gl = lo[0], gr = lo[1];
    for (; k < n; ++k, pos += step) {
        const float s = Interpolate(d, pos);
        out[2 * k] += s * gl;
        out[2 * k + 1] += s * gr;
        gl += dl;
        gr += dr;
    }
    v.position = pos;
    v.left = gl;
    v.right = gr;
}

// New target gains start a 139-frame ramp from the gains sounding now.
void StartRampIfNeeded(TVoice& v) {
    if (v.gain_left == v.ramp_left && v.gain_right == v.ramp_right) return;
    v.ramp_left = v.gain_left;
    v.ramp_right = v.gain_right;
    v.ramp_step_left = (v.gain_left / 255.0f - v.left) / kRampFrames;
    v.ramp_step_right = (v.gain_right / 255.0f - v.right) / kRampFrames;
    v.ramp_frames = kRampFrames;
}

}  // namespace

void Mixer_MixVoice(TVoice& v, float* out, int32_t frames) {
    StartRampIfNeeded(v);
    while (frames > 0 && v.sample) {
        const int64_t start = int64_t(v.sample->loop_start) << 32;
        const int64_t end = int64_t(Sample_LoopEnd(*v.sample)) << 32;
        Turn(v, start, end);
        if (!v.sample) return;
        const bool ramping = v.ramp_frames > 0;
        const bool silent = !ramping && v.left == 0.0f && v.right == 0.0f;
        if (silent && v.fading) {
            v.sample = nullptr;
            return;
        }
        int32_t n = static_cast<int32_t>(std::min<int64_t>(frames, FramesToBoundary(v, start, end)));
        if (ramping) n = std::min(n, v.ramp_frames);
        const int64_t step = v.backward ? -v.step : v.step;
        if (silent) {
            v.position += step * n;
        } else if (ramping) {
            MixRamp(v, out, n, step);
            v.ramp_frames -= n;
            if (v.ramp_frames == 0) {
                v.left = v.ramp_left / 255.0f;
                v.right = v.ramp_right / 255.0f;
            }
        } else {
            MixSteady(v, out, n, step);
        }
        out += 2 * n;
        frames -= n;
    }
}

void Mixer_Mix(TSong& song, float* out, int32_t frames) {
    for (int32_t i = 0; i < 2 * song.channel_count; ++i)
        if (song.voices[i].sample) Mixer_MixVoice(song.voices[i], out, frames);
}
