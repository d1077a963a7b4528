// synth.h: the few building blocks the sound effects are synthesised from.
#pragma once

#include <vector>

#include "noise.h"

namespace assetgen {

constexpr int kSampleRate = 22050;
constexpr float kTwoPi = 6.28318530718f;

using Signal = std::vector<float>;

int SampleCount(float seconds);
float Decay(float t, float time_constant);  // exp(-t / tc), 1 at t = 0
// Linear rise over `attack` seconds, then flat; 0 before t = 0.
float Rise(float t, float attack);

// RBJ biquad (low-pass, high-pass or band-pass) run sample by sample.
class Biquad {
public:
    enum class Kind { LowPass, HighPass, BandPass };
    Biquad(Kind kind, float frequency, float q);
    void Tune(float frequency);
    float Step(float x);

private:
    void Design(float frequency);
    Kind kind_;
    float q_;
    float b0_ = 0, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    float x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Adds `part` into `mix` starting at sample `at`, scaled by `gain`.
void MixInto(Signal& mix, const Signal& part, int at, float gain);
// Scales so the largest magnitude is `peak`.
void Normalise(Signal& s, float peak);
// Sets the loudness: scales to an RMS level in dB below full scale, then
// rounds off any peak that would pass `peak_db`, so no effect clips and
// the effects sit at planned levels against each other.
void SetLoudness(Signal& s, float rms_db, float peak_db);
// Root mean square level in dB below full scale (-inf for silence).
float RmsDb(const Signal& s);
// Short linear fades at both ends against clicks.
void FadeEdges(Signal& s, float seconds);
// White noise from the generator's own random numbers.
Signal WhiteNoise(int count, Rng& rng);
// Runs a filter over a looping signal twice and keeps the second pass, so
// the filtered loop joins without a seam.
Signal FilterLoop(const Signal& s, Biquad filter);

}  // namespace assetgen
