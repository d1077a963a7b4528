#include "engine/wav.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

#include "engine/fs.h"

namespace oe {

namespace {

struct WavFree {
    void operator()(Uint8* buf) const { SDL_FreeWAV(buf); }
};

uint32_t Get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

// SDL allocates what a chunk header claims before it reads the chunk, so a
// lying size asks for gigabytes: every chunk must fit in the file first.
bool ChunksFit(const uint8_t* data, size_t size) {
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return false;
    size_t pos = 12;
    while (size - pos >= 8) {
        const size_t length = Get32(data + pos + 4);
        if (length > size - pos - 8) return false;
        pos += 8 + length + (length & 1);
        if (pos >= size) return true;
    }
    return true;
}

}  // namespace

std::optional<WavSound> Wav_Decode(const uint8_t* data, size_t size) {
    if (!data || size == 0 || size > static_cast<size_t>(INT_MAX) || !ChunksFit(data, size)) return std::nullopt;
    // A data chunk that claims more bytes than the file holds is a damaged
    // file, not a short sound: SDL's default would play whatever part arrived.
    SDL_SetHintWithPriority(SDL_HINT_WAVE_TRUNCATION, "strict", SDL_HINT_OVERRIDE);
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!rw) return std::nullopt;
    SDL_AudioSpec spec{};
    Uint8* raw = nullptr;
    Uint32 raw_len = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &spec, &raw, &raw_len)) return std::nullopt;
    const std::unique_ptr<Uint8, WavFree> owned(raw);

    if (spec.channels < 1 || spec.freq < kWavMinRate || spec.freq > kWavMaxRate)
        return std::nullopt;
    const size_t in_frame = SDL_AUDIO_BITSIZE(spec.format) / 8 * size_t{spec.channels};
    const size_t frames = in_frame ? raw_len / in_frame : 0;
    if (frames == 0 || frames > kWavMaxFrames) return std::nullopt;

    const int out_channels = spec.channels == 1 ? 1 : 2;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_F32SYS,
                          static_cast<Uint8>(out_channels), spec.freq) < 0)
        return std::nullopt;

    // SDL converts in place and may need len_mult times the input while doing so.
    const size_t in_bytes = frames * in_frame;
    const size_t work_bytes = in_bytes * static_cast<size_t>(cvt.len_mult);
    WavSound sound;
    sound.rate = spec.freq;
    sound.channels = out_channels;
    sound.samples.resize((work_bytes + sizeof(float) - 1) / sizeof(float));
    std::memcpy(sound.samples.data(), raw, in_bytes);
    size_t out_bytes = in_bytes;
    if (cvt.needed) {
        cvt.buf = reinterpret_cast<Uint8*>(sound.samples.data());
        cvt.len = static_cast<int>(in_bytes);
        if (SDL_ConvertAudio(&cvt) < 0) return std::nullopt;
        out_bytes = static_cast<size_t>(cvt.len_cvt);
    }
    sound.samples.resize(out_bytes / sizeof(float));
    sound.samples.shrink_to_fit();
    // Float files are copied as they are: keep NaN and overshoot out of the mixer.
    for (float& s : sound.samples) s = std::isnan(s) ? 0.0f : std::clamp(s, -1.0f, 1.0f);
    if (sound.Frames() != frames) return std::nullopt;
    return sound;
}

std::optional<WavSound> Wav_LoadFile(const std::string& path) {
    const auto bytes = Fs_ReadFile(path);
    if (!bytes) return std::nullopt;
    return Wav_Decode(bytes->data(), bytes->size());
}

}  // namespace oe
