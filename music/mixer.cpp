// mixer.cpp: runs between boundaries, interpolation, loops and gain ramps.
#include "music/mixer.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr float kFraction = 1.0f / 4294967296.0f;

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
    return a + (float(d[i + 1]) - a) * (float(uint32_t(pos)) * kFraction);
}

// A run at steady gains, four frames at a time: the four sample values are
// worked out side by side and added to both channels as two vectors.
void MixSteady(TVoice& v, float* out, int32_t n, int64_t step) {
    using F4 = float __attribute__((vector_size(16)));
    const int16_t* d = v.sample->data;
    int64_t pos = v.position;
    const F4 gains = {v.left, v.right, v.left, v.right};
    int32_t k = 0;
    for (; k + 4 <= n; k += 4) {
        const F4 s = {Interpolate(d, pos), Interpolate(d, pos + step), Interpolate(d, pos + 2 * step),
                      Interpolate(d, pos + 3 * step)};
        pos += 4 * step;
        F4 lo, hi;
        std::memcpy(&lo, out + 2 * k, sizeof lo);
        std::memcpy(&hi, out + 2 * k + 4, sizeof hi);
        lo += F4{s[0], s[0], s[1], s[1]} * gains;
        hi += F4{s[2], s[2], s[3], s[3]} * gains;
        std::memcpy(out + 2 * k, &lo, sizeof lo);
        std::memcpy(out + 2 * k + 4, &hi, sizeof hi);
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
    float gl = v.left, gr = v.right;
    for (int32_t k = 0; k < n; ++k, pos += step) {
        const float s = Interpolate(d, pos);
        out[2 * k] += s * gl;
        out[2 * k + 1] += s * gr;
        gl += v.ramp_step_left;
        gr += v.ramp_step_right;
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
