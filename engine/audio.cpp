#include "engine/audio.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/backend.h"
#include "engine/load_error.h"
#include "engine/oe.h"
#include "engine/record.h"
#include "engine/wav.h"

struct OE_SoundRec {
    // One copy of the sound in flight. Positions are source frames in 32.32
    // fixed point, so run lengths and end points come out exact.
    struct Voice {
        bool active = false;
        bool loop = false;
        uint64_t pos = 0;
        uint64_t step = 0;       // source frames per output frame
        float left = 0.0f;       // gains, including the 16-bit output scale
        float right = 0.0f;
    };
    oe::WavSound wav;
    int voice_count = 1;         // voices Snd_Play may take; busy ones above it finish
    std::array<Voice, oe::kMaxSoundVoices> voices{};
};

namespace oe {

namespace {

using Voice = OE_SoundRec::Voice;
// Frames times step after a long stall needs more than 64 bits.
__extension__ using Wide = unsigned __int128;

constexpr int kFracBits = 32;
constexpr float kFracScale = 1.0f / 4294967296.0f;
constexpr int kChunkFrames = 1024;
constexpr float kSampleScale = 32768.0f;   // float samples back to 16-bit units
constexpr int kMaxPlayRate = 16 * kMixRate;   // higher requested rates play at this one
constexpr double kMaxAdvanceFrames = 9007199254740992.0;   // 2^53, exact in a double

// The music player's ring, played beside the effects. The worker thread reads
// the position while the device thread moves it.
struct WaveStream {
    std::atomic<const uint8_t*> ring{nullptr};
    std::atomic<size_t> bytes{0};
    std::atomic<uint64_t> position{0};   // bytes consumed since open
    std::atomic<bool> playing{false};
    std::atomic<bool> paused{false};
};

struct Mixer {
    std::mutex lock;   // sounds, voices and the ring, shared with the device callback
    std::vector<std::unique_ptr<OE_SoundRec>> sounds;
    WaveStream wave;
    double advance_carry = 0.0;   // fraction of a frame left over by Audio_Advance
    SDL_AudioDeviceID device = 0;
};

Mixer mixer;

int ClampVoices(int voices) { return std::clamp(voices, 1, kMaxSoundVoices); }

// Hundredths of a decibel to an amplitude factor.
float Attenuation(double hundredths) {
    return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

// Adds `frames` output frames of one voice, interpolating between source
// frames; the caller guarantees that every frame read lies inside `src`.
template <int Channels>
void MixRun(float* acc, int frames, const float* src, uint64_t pos, uint64_t step, float left,
            float right) {
    for (int j = 0; j < frames; ++j) {
        const size_t i = static_cast<size_t>(pos >> kFracBits) * Channels;
        const float f = static_cast<float>(static_cast<uint32_t>(pos)) * kFracScale;   // low bits
        if constexpr (Channels == 1) {
            const float s = src[i] + (src[i + 1] - src[i]) * f;
            acc[2 * j] += s * left;
            acc[2 * j + 1] += s * right;
        } else {
            acc[2 * j] += (src[i] + (src[i + 2] - src[i]) * f) * left;
            acc[2 * j + 1] += (src[i + 1] + (src[i + 3] - src[i + 1]) * f) * right;
        }
        pos += step;
    }
}

// Wraps a looping voice that ran past the end and retires a finished one.
bool Settle(Voice& v, uint64_t end) {
    if (v.pos >= end) {
        if (v.loop)
            v.pos %= end;
        else
            v.active = false;
    }
    return v.active;
}

// Output frames, at most `limit`, until `pos` reaches `until`.
int RunLength(uint64_t pos, uint64_t until, uint64_t step, int limit) {
    const uint64_t run = (until - pos + step - 1) / step;
    return static_cast<int>(std::min<uint64_t>(run, static_cast<uint64_t>(limit)));
}

void MixVoice(Voice& v, const WavSound& wav, float* acc, int frames) {
    const int ch = wav.channels;
    const uint64_t count = wav.Frames();
    const uint64_t last = (count - 1) << kFracBits;   // from here the next frame is not in the buffer
    const uint64_t end = count << kFracBits;
    auto mix = ch == 1 ? MixRun<1> : MixRun<2>;
    int done = 0;
    while (Settle(v, end) && done < frames) {
        int run = 0;
        if (v.pos < last) {
            run = RunLength(v.pos, last, v.step, frames - done);
            mix(acc + 2 * done, run, wav.samples.data(), v.pos, v.step, v.left, v.right);
        } else {
            // The final frame leads into the loop start, or into silence.
            std::array<float, 4> tail{};
            const float* final_frame = wav.samples.data() + (count - 1) * ch;
            std::copy(final_frame, final_frame + ch, tail.begin());
            if (v.loop) std::copy(wav.samples.data(), wav.samples.data() + ch, tail.begin() + ch);
            run = RunLength(v.pos, end, v.step, frames - done);
            mix(acc + 2 * done, run, tail.data(), v.pos - last, v.step, v.left, v.right);
        }
        v.pos += static_cast<uint64_t>(run) * v.step;
        done += run;
    }
}

// Moves a voice on as Audio_Mix would, without rendering.
void SkipVoice(Voice& v, const WavSound& wav, uint64_t frames) {
    const uint64_t end = uint64_t{wav.Frames()} << kFracBits;
    const Wide target = Wide{v.pos} + Wide{frames} * v.step;
    if (target < end)
        v.pos = static_cast<uint64_t>(target);
    else if (v.loop)
        v.pos = static_cast<uint64_t>(target % end);
    else
        v.active = false;
}

int16_t ReadLE16(const uint8_t* p) { return static_cast<int16_t>(p[0] | (p[1] << 8)); }

void MixWave(float* acc, int frames) {
    WaveStream& w = mixer.wave;
    const uint8_t* ring = w.ring.load();
    const size_t bytes = w.bytes.load();
    if (!ring || !w.playing.load() || w.paused.load()) return;
    const uint64_t position = w.position.load();
    size_t offset = static_cast<size_t>(position % bytes);
    int done = 0;
    while (done < frames) {
        const int run = static_cast<int>(
            std::min<size_t>(static_cast<size_t>(frames - done), (bytes - offset) / 4));
        const uint8_t* p = ring + offset;
        float* a = acc + 2 * done;
        for (int j = 0; j < run; ++j) {
            a[2 * j] += ReadLE16(p + 4 * j);
            a[2 * j + 1] += ReadLE16(p + 4 * j + 2);
        }
        done += run;
        offset += static_cast<size_t>(run) * 4;
        if (offset == bytes) offset = 0;
    }
    w.position.store(position + static_cast<uint64_t>(frames) * 4);
}

void DeviceCallback(void*, Uint8* stream, int len) {
    Audio_Mix(reinterpret_cast<int16_t*>(stream), len / 4);
}

}  // namespace

void Audio_Mix(int16_t* out, int frames) {
    if (!out) return;
    std::array<float, 2 * kChunkFrames> acc;
    while (frames > 0) {
        const int n = std::min(frames, kChunkFrames);
        std::fill_n(acc.begin(), 2 * n, 0.0f);
        {
            std::lock_guard<std::mutex> guard(mixer.lock);
            for (auto& sound : mixer.sounds)
                for (Voice& v : sound->voices)
                    if (v.active) MixVoice(v, sound->wav, acc.data(), n);
            MixWave(acc.data(), n);
        }
        for (int i = 0; i < 2 * n; ++i)
            out[i] = static_cast<int16_t>(std::lrintf(std::clamp(acc[i], -32768.0f, 32767.0f)));
        out += 2 * n;
        frames -= n;
    }
}

bool Audio_OpenDevice() {
    if (mixer.device) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = kMixRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = DeviceCallback;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the hardware takes.
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    mixer.device = id;
    SDL_PauseAudioDevice(id, 0);
    return true;
}

void Audio_CloseDevice() {
    if (!mixer.device) return;
    SDL_CloseAudioDevice(mixer.device);
    mixer.device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool Audio_HasDevice() { return mixer.device != 0; }

void Audio_Advance(double ms) {
    if (mixer.device || !(ms > 0.0)) return;
    std::lock_guard<std::mutex> guard(mixer.lock);
    const double total = mixer.advance_carry + ms * (kMixRate / 1000.0);
    const double whole = std::min(std::floor(total), kMaxAdvanceFrames);
    mixer.advance_carry = std::clamp(total - whole, 0.0, 1.0);
    const auto frames = static_cast<uint64_t>(whole);
    for (auto& sound : mixer.sounds)
        for (Voice& v : sound->voices)
            if (v.active) SkipVoice(v, sound->wav, frames);
    WaveStream& w = mixer.wave;
    if (w.ring.load() && w.playing.load() && !w.paused.load())
        w.position.store(w.position.load() + frames * 4);
}

void Audio_ReleaseAll() {
    Audio_CloseDevice();
    std::lock_guard<std::mutex> guard(mixer.lock);
    mixer.sounds.clear();
    mixer.wave.ring.store(nullptr);
    mixer.wave.bytes.store(0);
    mixer.wave.position.store(0);
    mixer.wave.playing.store(false);
    mixer.wave.paused.store(false);
    mixer.advance_carry = 0.0;
}

}  // namespace oe

using oe::mixer;

void Snd_Init() {
    oe::Record("Snd_Init", {});
    if (oe::Audio_HasDevice()) return;
    if (oe::Backend* backend = oe::GetBackend()) backend->OpenAudio();
}

OE_Sound Snd_LoadFromFile(const std::string& file, int voices) {
    OE_Sound sound = nullptr;
    auto wav = oe::Wav_LoadFile(file);
    if (!wav) {
        oe::SetLoadError("missing, unreadable or not a WAV file that can be played");
    } else {
        auto rec = std::make_unique<OE_SoundRec>();
        rec->wav = std::move(*wav);
        rec->voice_count = oe::ClampVoices(voices);
        sound = rec.get();
        std::lock_guard<std::mutex> guard(mixer.lock);
        mixer.sounds.push_back(std::move(rec));
    }
    oe::Record("Snd_LoadFromFile", {static_cast<double>(voices)}, file, sound);
    return sound;
}

void Snd_SetBuffersCount(OE_Sound sound, int voices) {
    oe::Record("Snd_SetBuffersCount", {static_cast<double>(voices)}, {}, sound);
    if (!sound) return;
    std::lock_guard<std::mutex> guard(mixer.lock);
    sound->voice_count = oe::ClampVoices(voices);
}

void Snd_Play(OE_Sound sound, int offset, int volume, int frequency, bool loop) {
    oe::Record("Snd_Play",
               {static_cast<double>(offset), static_cast<double>(volume),
                static_cast<double>(frequency), loop ? 1.0 : 0.0},
               {}, sound);
    if (!sound) return;
    // Louder than full is full; the pan offset quietens the side away from the source.
    const float gain = oe::kSampleScale * oe::Attenuation(std::min(volume, 0));
    const double pan = offset;
    const float left = gain * (offset > 0 ? oe::Attenuation(-pan) : 1.0f);
    const float right = gain * (offset < 0 ? oe::Attenuation(pan) : 1.0f);
    // 0 keeps the sound's own rate; so does a negative one, which means nothing.
    const int rate = frequency > 0 ? std::min(frequency, oe::kMaxPlayRate) : sound->wav.rate;
    const uint64_t step = (static_cast<uint64_t>(rate) << oe::kFracBits) / oe::kMixRate;

    std::lock_guard<std::mutex> guard(mixer.lock);
    for (int i = 0; i < sound->voice_count; ++i) {
        OE_SoundRec::Voice& v = sound->voices[i];
        if (v.active) continue;
        v = OE_SoundRec::Voice{true, loop, 0, step, left, right};
        return;
    }
}

void Snd_Stop(OE_Sound sound) {
    oe::Record("Snd_Stop", {}, {}, sound);
    if (!sound) return;
    std::lock_guard<std::mutex> guard(mixer.lock);
    for (OE_SoundRec::Voice& v : sound->voices) v.active = false;
}

bool WaveOut_Open(const uint8_t* ring, size_t bytes) {
    if (!ring || bytes == 0 || bytes % 4 != 0) return false;
    std::lock_guard<std::mutex> guard(mixer.lock);
    oe::WaveStream& w = mixer.wave;
    w.ring.store(ring);
    w.bytes.store(bytes);
    w.position.store(0);
    w.paused.store(false);
    w.playing.store(true);
    return true;
}

uint64_t WaveOut_GetPosition() { return mixer.wave.position.load(); }

void WaveOut_SetPaused(bool paused) { mixer.wave.paused.store(paused); }

void WaveOut_Reset() {
    std::lock_guard<std::mutex> guard(mixer.lock);
    mixer.wave.playing.store(false);
    mixer.wave.position.store(0);
}

void WaveOut_Close() {
    std::lock_guard<std::mutex> guard(mixer.lock);
    mixer.wave.ring.store(nullptr);
    mixer.wave.bytes.store(0);
    mixer.wave.playing.store(false);
    mixer.wave.position.store(0);
}
