#include "sounds.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

float Seconds(int i) { return static_cast<float>(i) / kSampleRate; }

// Press of an interface control: a short woody tick.
Signal Click() {
    Rng rng(11);
    Signal s(static_cast<size_t>(SampleCount(0.045f)));
    Biquad hp(Biquad::Kind::HighPass, 2500, 0.7f);
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = Seconds(static_cast<int>(i));
        s[i] = std::sin(kTwoPi * 1750 * t) * Decay(t, 0.006f) +
               0.6f * std::sin(kTwoPi * 420 * t) * Decay(t, 0.010f) +
               0.5f * hp.Step(rng.Signed()) * Decay(t, 0.002f);
    }
    SetLoudness(s, -20, -3);
    FadeEdges(s, 0.001f);
    return s;
}

// Mouse over a control: a soft, high blip.
Signal Select() {
    Signal s(static_cast<size_t>(SampleCount(0.04f)));
    float phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = Seconds(static_cast<int>(i));
        phase += kTwoPi * (2600 + 9000 * t) / kSampleRate;
        s[i] = std::sin(phase) * Rise(t, 0.002f) * Decay(t, 0.008f);
    }
    SetLoudness(s, -23, -6);
    FadeEdges(s, 0.001f);
    return s;
}

// Countdown beep: a bright square-ish tone.
Signal Start() {
    Signal s(static_cast<size_t>(SampleCount(0.24f)));
    const float len = Seconds(static_cast<int>(s.size()));
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = Seconds(static_cast<int>(i));
        const float env = Rise(t, 0.004f) * Rise(len - t, 0.04f);
        const float w = kTwoPi * 880 * t;
        s[i] = env * (std::sin(w) + 0.3f * std::sin(3 * w) + 0.15f * std::sin(5 * w) +
                      0.08f * std::sin(7 * w));
    }
    SetLoudness(s, -15, -6);
    return s;
}

// Bonus pick-up: a rising three-note bell arpeggio.
Signal Get() {
    Signal s(static_cast<size_t>(SampleCount(0.55f)));
    const float notes[] = {987.8f, 1318.5f, 1975.5f};
    for (int n = 0; n < 3; ++n) {
        const int at = SampleCount(0.06f * n);
        Signal note(s.size() - static_cast<size_t>(at));
        for (size_t i = 0; i < note.size(); ++i) {
            const float t = Seconds(static_cast<int>(i));
            const float w = kTwoPi * notes[n] * t;
            note[i] = Rise(t, 0.002f) * (std::sin(w) * Decay(t, 0.14f) +
                                         0.25f * std::sin(2.76f * w) * Decay(t, 0.05f) +
                                         0.1f * std::sin(5.4f * w) * Decay(t, 0.02f));
        }
        MixInto(s, note, at, 1.0f - 0.15f * n);
    }
    SetLoudness(s, -16, -2);
    FadeEdges(s, 0.003f);
    return s;
}

// Locked choice: two low, harsh buzzes.
Signal Bad() {
    Signal s(static_cast<size_t>(SampleCount(0.36f)));
    Biquad lp(Biquad::Kind::LowPass, 1600, 0.8f);
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = Seconds(static_cast<int>(i));
        const float local = t < 0.18f ? t : t - 0.2f;
        const float gate = (local >= 0 && local < 0.14f) ? Rise(local, 0.005f) * Rise(0.14f - local, 0.01f) : 0;
        const float a = std::fmod(t * 131.0f, 1.0f) * 2 - 1;
        const float b = std::fmod(t * 137.5f, 1.0f) * 2 - 1;
        const float square = std::sin(kTwoPi * 65.5f * t) > 0 ? 0.4f : -0.4f;
        s[i] = lp.Step(gate * (a + b + square));
    }
    SetLoudness(s, -16, -3);
    return s;
}

// Crash: a low thump, a burst of noise and a metallic clang.
Signal Bum() {
    Rng rng(23);
    Signal s(static_cast<size_t>(SampleCount(0.85f)));
    Biquad lp(Biquad::Kind::LowPass, 3000, 0.7f);
    const float partials[] = {523, 1307, 2213, 3371, 4620};
    float thump_phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = Seconds(static_cast<int>(i));
        thump_phase += kTwoPi * (40 + 90 * Decay(t, 0.05f)) / kSampleRate;
        lp.Tune(300 + 4000 * Decay(t, 0.08f));
        const float hit2 = t > 0.09f ? Decay(t - 0.09f, 0.06f) * 0.5f : 0;
        float clang = 0;
        for (int k = 0; k < 5; ++k)
            clang += std::sin(kTwoPi * partials[k] * t + k) * Decay(t, 0.25f / (k + 1)) / (k + 1);
        s[i] = std::sin(thump_phase) * Decay(t, 0.16f) +
               lp.Step(rng.Signed()) * (Decay(t, 0.12f) + hit2) * 1.4f + 0.35f * clang;
    }
    SetLoudness(s, -13, -1);
    FadeEdges(s, 0.002f);
    return s;
}

// Firework: a boom followed by a shower of crackles.
Signal Firework() {
    Rng rng(37);
    Signal s(static_cast<size_t>(SampleCount(1.5f)));
    Biquad lp(Biquad::Kind::LowPass, 2000, 0.7f);
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = Seconds(static_cast<int>(i));
        lp.Tune(150 + 5000 * Decay(t, 0.05f));
        s[i] = lp.Step(rng.Signed()) * Decay(t, 0.25f) * 1.5f +
               std::sin(kTwoPi * (45 + 40 * Decay(t, 0.04f)) * t) * Decay(t, 0.2f);
    }
    Biquad hp(Biquad::Kind::HighPass, 1800, 0.7f);
    for (int c = 0; c < 70; ++c) {
        const float at = 0.15f + 1.1f * std::pow(rng.Uniform(), 1.6f);
        const float gain = 0.5f * Decay(at - 0.15f, 0.5f) * rng.Range(0.4f, 1.0f);
        Signal crack = WhiteNoise(SampleCount(rng.Range(0.003f, 0.009f)), rng);
        for (size_t i = 0; i < crack.size(); ++i)
            crack[i] = hp.Step(crack[i]) * Decay(Seconds(static_cast<int>(i)), 0.002f);
        MixInto(s, crack, SampleCount(at), gain);
    }
    SetLoudness(s, -19, -1);
    FadeEdges(s, 0.002f);
    return s;
}

// Engine hum of `cycles` firing periods in 0.2 s at `rms_db`; the end joins
// the start, since the game asks for it again every tick. It stays below
// the crash: it plays all race long.
Signal Engine(int cycles, float rasp, float rms_db, uint64_t seed) {
    Rng rng(seed);
    const int n = SampleCount(0.2f);
    const float f0 = static_cast<float>(cycles) / 0.2f;
    Signal s(static_cast<size_t>(n));
    float phases[16];
    for (float& p : phases) p = rng.Uniform() * kTwoPi;
    for (int i = 0; i < n; ++i) {
        const float t = Seconds(i);
        float v = 0;
        for (int k = 1; k <= 16; ++k) {
            const float odd = (k % 2) ? 1.0f : 1.0f - rasp * 0.6f;
            v += odd * std::sin(kTwoPi * f0 * k * t + phases[k - 1]) / std::pow(static_cast<float>(k), 0.9f);
        }
        // Firing pulses: a sharp kick at the start of each cycle.
        const float cyc = std::fmod(t * f0, 1.0f);
        v += 1.6f * Decay(cyc, 0.06f) - 0.1f;
        // A slow throb, three times per loop, keeps the loop seamless.
        v *= 0.85f + 0.15f * std::sin(kTwoPi * 3 * i / n);
        s[static_cast<size_t>(i)] = v;
    }
    Signal grit = FilterLoop(WhiteNoise(n, rng), Biquad(Biquad::Kind::BandPass, f0 * 6, 1.2f));
    Normalise(grit, 1.0f);
    for (int i = 0; i < n; ++i) {
        const float cyc = std::fmod(Seconds(i) * f0, 1.0f);
        s[static_cast<size_t>(i)] += rasp * grit[static_cast<size_t>(i)] * (0.4f + Decay(cyc, 0.15f));
    }
    Signal smooth = FilterLoop(s, Biquad(Biquad::Kind::LowPass, f0 * 14, 0.7f));
    SetLoudness(smooth, rms_db, -3);
    // Start the loop at its quietest, flattest point: replays after a short
    // gap then begin without a click.
    size_t start = 0;
    float best = 1e9f;
    for (size_t i = 0; i < smooth.size(); ++i) {
        const float next = smooth[(i + 1) % smooth.size()];
        const float score = std::fabs(smooth[i]) + 0.5f * std::fabs(next - smooth[i]);
        if (score < best) {
            best = score;
            start = i;
        }
    }
    std::rotate(smooth.begin(), smooth.begin() + static_cast<long>(start), smooth.end());
    return smooth;
}

// Ambient bed for the race: wind with slow gusts and a few distant birds.
Signal Ambient() {
    Rng rng(53);
    const int n = SampleCount(4.0f);
    Signal wind = WhiteNoise(n, rng);
    Biquad lp(Biquad::Kind::LowPass, 500, 0.9f);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < n; ++i) {
            const float phase = static_cast<float>(i) / n;
            // Gust shapes repeat exactly once per loop.
            const float gust = 0.6f + 0.25f * std::sin(kTwoPi * phase) + 0.15f * std::sin(kTwoPi * 3 * phase + 1.3f);
            lp.Tune(280 + 420 * gust);
            const float v = lp.Step(wind[static_cast<size_t>(i)]);
            if (pass == 1) wind[static_cast<size_t>(i)] = v * gust;
        }
    }
    Normalise(wind, 0.35f);
    Signal s = wind;
    const float chirp_at[] = {0.6f, 0.72f, 1.9f, 2.02f, 2.13f, 3.1f};
    for (float at : chirp_at) {
        Signal chirp(static_cast<size_t>(SampleCount(0.07f)));
        const float base = rng.Range(2900, 3600);
        float phase = 0;
        for (size_t i = 0; i < chirp.size(); ++i) {
            const float t = Seconds(static_cast<int>(i));
            phase += kTwoPi * (base + 1800 * std::sin(kTwoPi * 14 * t)) / kSampleRate;
            chirp[i] = std::sin(phase) * std::sin(3.14159f * t / 0.07f);
        }
        MixInto(s, chirp, SampleCount(at), 0.06f);
    }
    SetLoudness(s, -27, -8);
    FadeEdges(s, 0.01f);
    return s;
}

}  // namespace

std::vector<SoundAsset> MakeSounds() {
    return {
        {"amb", Ambient()},
        {"bad", Bad()},
        {"bum", Bum()},
        {"click", Click()},
        {"eng", Engine(30, 0.5f, -20, 71)},
        {"eng_e", Engine(35, 0.9f, -21, 73)},
        {"fw", Firework()},
        {"get", Get()},
        {"select", Select()},
        {"start", Start()},
    };
}

}  // namespace assetgen
