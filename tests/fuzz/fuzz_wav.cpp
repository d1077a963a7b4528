// The sound loader's WAV decoder on arbitrary bytes.
#include <cmath>
#include <cstdlib>

#include "engine/wav.h"
#include "tests/fuzz/fuzz_targets.h"

bool Fuzz_Wav(const uint8_t* data, size_t size) {
    const std::optional<oe::WavSound> sound = oe::Wav_Decode(data, size);
    if (!sound) return true;
    if (sound->channels < 1 || sound->channels > 2) return false;
    if (sound->rate < oe::kWavMinRate || sound->rate > oe::kWavMaxRate) return false;
    if (sound->samples.size() % sound->channels != 0 || sound->Frames() > oe::kWavMaxFrames) return false;
    for (const float s : sound->samples)
        if (!std::isfinite(s) || s < -1.0f || s > 1.0f) return false;
    return true;
}

#ifdef KORVAMO_LIBFUZZER
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Fuzz_Wav(data, size)) std::abort();
    return 0;
}
#endif
