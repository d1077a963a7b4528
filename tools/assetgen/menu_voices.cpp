// menu_voices.cpp: the eight instruments of the menu song, synthesised.
//
// Every sample is made at 33452 Hz with a relative note of +24, so C-4 plays
// it at its own rate; the looped tones hold 128 frames per cycle there, which
// puts their C-4 at 261 Hz.
#include <algorithm>
#include <cmath>

#include "menu_song.h"
#include "noise.h"

namespace assetgen {

namespace {

constexpr float kRate = 33452.0f;
constexpr float kPi = 3.14159265359f;
constexpr int kCycle = 128;

// A loop of `cycles` periods in `length` frames of a band-limited wave whose
// harmonic h has amplitude amp(h).
template <typename Amp>
std::vector<float> Additive(int length, int cycles, int harmonics, Amp amp) {
    std::vector<float> out(static_cast<size_t>(length), 0.0f);
    for (int h = 1; h <= harmonics; ++h) {
        const float a = amp(h);
        const float w = 2.0f * kPi * float(h * cycles) / float(length);
        for (int i = 0; i < length; ++i) out[size_t(i)] += a * std::sin(w * float(i));
    }
    return out;
}

std::vector<int16_t> ToSample(std::vector<float> s, float peak = 0.9f) {
    float top = 0.0f;
    for (float v : s) top = std::max(top, std::fabs(v));
    std::vector<int16_t> out(s.size());
    const float scale = top > 0.0f ? peak * 32767.0f / top : 0.0f;
    for (size_t i = 0; i < s.size(); ++i) out[i] = static_cast<int16_t>(std::lround(s[i] * scale));
    return out;
}

XmEnvelope Envelope(std::vector<XmEnvelopePoint> points, int sustain = -1) {
    XmEnvelope e;
    e.points = std::move(points);
    e.type = XM_ENV_ON;
    if (sustain >= 0) {
        e.type |= XM_ENV_SUSTAIN;
        e.sustain = static_cast<uint8_t>(sustain);
    }
    return e;
}

XmInstrument OneShot(const std::string& name, std::vector<float> s, uint8_t volume, XmEnvelope env) {
    XmInstrument ins;
    ins.name = name;
    ins.sample = ToSample(std::move(s));
    ins.volume = volume;
    ins.relative_note = 24;
    ins.volume_envelope = std::move(env);
    return ins;
}

XmInstrument Looped(const std::string& name, std::vector<float> s, uint8_t volume, XmEnvelope env,
                    uint16_t fadeout) {
    XmInstrument ins = OneShot(name, std::move(s), volume, std::move(env));
    ins.loop = true;
    ins.loop_length = static_cast<uint32_t>(ins.sample.size());
    ins.fadeout = fadeout;
    return ins;
}

int Frames(float seconds) { return static_cast<int>(seconds * kRate); }

// A sine whose pitch falls from 160 Hz to 45 Hz, with a short click on top.
std::vector<float> Kick() {
    std::vector<float> s(size_t(Frames(0.35f)));
    float phase = 0.0f;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = float(i) / kRate;
        phase += 2.0f * kPi * (45.0f + 115.0f * std::exp(-t / 0.03f)) / kRate;
        s[i] = std::sin(phase) * std::exp(-t / 0.16f) + 0.4f * std::exp(-t / 0.003f);
    }
    return s;
}

// Noise, made brighter by differencing `passes` times, decaying over `decay` s.
std::vector<float> Hiss(float seconds, float decay, int passes, uint64_t seed) {
    Rng rng(seed);
    std::vector<float> s(size_t(Frames(seconds)));
    for (float& v : s) v = rng.Signed();
    for (int p = 0; p < passes; ++p)
        for (size_t i = s.size() - 1; i > 0; --i) s[i] -= s[i - 1];
    for (size_t i = 0; i < s.size(); ++i) s[i] *= std::exp(-float(i) / kRate / decay);
    return s;
}

// A 185 Hz body under a burst of noise.
std::vector<float> Snare() {
    std::vector<float> s = Hiss(0.3f, 0.09f, 1, 7);
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = float(i) / kRate;
        s[i] = 0.6f * s[i] + std::sin(2.0f * kPi * 185.0f * t) * std::exp(-t / 0.05f);
    }
    return s;
}

// Three saws a quarter tone apart: a wide, slowly beating pad.
std::vector<float> Pad() {
    constexpr int kLength = 64 * kCycle;
    std::vector<float> s(size_t(kLength), 0.0f);
    for (int cycles : {63, 64, 65}) {
        const std::vector<float> saw =
            Additive(kLength, cycles, 24, [](int h) { return std::exp(-float(h) / 7.0f) / float(h); });
        for (size_t i = 0; i < s.size(); ++i) s[i] += saw[i];
    }
    return s;
}

}  // namespace

std::vector<XmInstrument> MakeMenuInstruments() {
    std::vector<XmInstrument> list;
    list.push_back(OneShot("kick", Kick(), 64, Envelope({{0, 64}, {6, 56}, {14, 24}, {22, 0}})));
    list.push_back(OneShot("snare", Snare(), 50, Envelope({{0, 64}, {5, 36}, {16, 0}})));
    XmInstrument hat = OneShot("hat", Hiss(0.1f, 0.02f, 2, 11), 26, Envelope({{0, 64}, {3, 18}, {6, 0}}));
    hat.panning = 168;
    list.push_back(hat);
    XmInstrument open = OneShot("open hat", Hiss(0.4f, 0.12f, 2, 13), 22, Envelope({{0, 64}, {8, 34}, {22, 0}}));
    open.panning = 168;
    list.push_back(open);
    // A saw rounded off above its third harmonic.
    list.push_back(Looped("bass",
                          Additive(2 * kCycle, 2, 24,
                                   [](int h) { return (h <= 3 ? 1.0f : std::exp(-float(h - 3) / 5.0f)) / float(h); }),
                          46, Envelope({{0, 64}, {3, 54}, {10, 42}}, 2), 0x800));
    list.push_back(Looped("pad", Pad(), 20, Envelope({{0, 24}, {10, 64}, {30, 50}}, 2), 0x180));
    XmInstrument pluck = Looped("pluck", Additive(kCycle, 1, 16, [](int h) { return 1.0f / float(h); }), 24,
                                Envelope({{0, 64}, {4, 40}, {12, 16}, {24, 6}}), 0x400);
    pluck.panning = 84;
    list.push_back(pluck);
    // A pulse of a quarter duty cycle with a little saw for edge.
    list.push_back(Looped("lead",
                          Additive(kCycle, 1, 18,
                                   [](int h) { return (std::sin(kPi * float(h) * 0.25f) + 0.3f) / float(h); }),
                          40, Envelope({{0, 20}, {2, 64}, {10, 52}}, 2), 0x500));
    return list;
}

}  // namespace assetgen
