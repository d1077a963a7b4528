#include "synth.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

int SampleCount(float seconds) { return static_cast<int>(std::lround(seconds * kSampleRate)); }

float Decay(float t, float time_constant) { return t < 0 ? 0.0f : std::exp(-t / time_constant); }

float Rise(float t, float attack) {
    if (t <= 0) return 0.0f;
    return t >= attack ? 1.0f : t / attack;
}

Biquad::Biquad(Kind kind, float frequency, float q) : kind_(kind), q_(q) { Design(frequency); }

void Biquad::Tune(float frequency) { Design(frequency); }

void Biquad::Design(float frequency) {
    frequency = std::clamp(frequency, 10.0f, kSampleRate * 0.45f);
    const float w = kTwoPi * frequency / kSampleRate;
    const float cw = std::cos(w);
    const float alpha = std::sin(w) / (2.0f * q_);
    const float a0 = 1.0f + alpha;
    float b0 = 0, b1 = 0, b2 = 0;
    switch (kind_) {
        case Kind::LowPass:
            b0 = (1 - cw) / 2;
            b1 = 1 - cw;
            b2 = (1 - cw) / 2;
            break;
        case Kind::HighPass:
            b0 = (1 + cw) / 2;
            b1 = -(1 + cw);
            b2 = (1 + cw) / 2;
            break;
        case Kind::BandPass:
            b0 = alpha;
            b1 = 0;
            b2 = -alpha;
            break;
    }
    b0_ = b0 / a0;
    b1_ = b1 / a0;
    b2_ = b2 / a0;
    a1_ = -2.0f * cw / a0;
    a2_ = (1.0f - alpha) / a0;
}

float Biquad::Step(float x) {
    const float y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

void MixInto(Signal& mix, const Signal& part, int at, float gain) {
    for (size_t i = 0; i < part.size(); ++i) {
        const long j = at + static_cast<long>(i);
        if (j >= 0 && j < static_cast<long>(mix.size())) mix[static_cast<size_t>(j)] += part[i] * gain;
    }
}

void Normalise(Signal& s, float peak) {
    float top = 0;
    for (float v : s) top = std::max(top, std::fabs(v));
    if (top <= 0) return;
    for (float& v : s) v *= peak / top;
}

float RmsDb(const Signal& s) {
    double sum = 0;
    for (float v : s) sum += static_cast<double>(v) * v;
    if (s.empty() || sum <= 0) return -INFINITY;
    return static_cast<float>(10.0 * std::log10(sum / static_cast<double>(s.size())));
}

void SetLoudness(Signal& s, float rms_db, float peak_db) {
    const float now = RmsDb(s);
    if (!std::isfinite(now)) return;
    const float gain = std::pow(10.0f, (rms_db - now) / 20.0f);
    const float limit = std::pow(10.0f, peak_db / 20.0f);
    // Above the knee the curve bends smoothly towards the limit.
    const float knee = 0.6f * limit;
    for (float& v : s) {
        const float a = std::fabs(v * gain);
        const float shaped = a <= knee ? a : knee + (limit - knee) * std::tanh((a - knee) / (limit - knee));
        v = std::copysign(shaped, v);
    }
}

void FadeEdges(Signal& s, float seconds) {
    const int n = std::min(SampleCount(seconds), static_cast<int>(s.size() / 2));
    for (int i = 0; i < n; ++i) {
        const float k = static_cast<float>(i) / n;
        s[static_cast<size_t>(i)] *= k;
        s[s.size() - 1 - static_cast<size_t>(i)] *= k;
    }
}

Signal WhiteNoise(int count, Rng& rng) {
    Signal s(static_cast<size_t>(std::max(count, 0)));
    for (float& v : s) v = rng.Signed();
    return s;
}

Signal FilterLoop(const Signal& s, Biquad filter) {
    for (float v : s) filter.Step(v);
    Signal out(s.size());
    for (size_t i = 0; i < s.size(); ++i) out[i] = filter.Step(s[i]);
    return out;
}

}  // namespace assetgen
