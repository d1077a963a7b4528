// The effects mixer: one device buffer of 1024 frames with 8 voices sounding,
// as in a race (engines, other cars, the ambience), plus the music's ring.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/audio.h"
#include "engine/oe.h"

namespace {

void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A one-second 16-bit tone, written where the engine can load it.
std::string WriteTone(const std::filesystem::path& dir, const std::string& name, int rate,
                      int channels, double hz) {
    const uint32_t frames = static_cast<uint32_t>(rate);
    const uint32_t data = frames * static_cast<uint32_t>(channels) * 2;
    std::vector<uint8_t> out;
    for (char c : std::string("RIFF")) out.push_back(static_cast<uint8_t>(c));
    Put(out, 36 + data, 4);
    for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
    Put(out, 16, 4);
    Put(out, 1, 2);
    Put(out, static_cast<uint32_t>(channels), 2);
    Put(out, static_cast<uint32_t>(rate), 4);
    Put(out, static_cast<uint32_t>(rate * channels * 2), 4);
    Put(out, static_cast<uint32_t>(channels * 2), 2);
    Put(out, 16, 2);
    for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
    Put(out, data, 4);
    for (uint32_t i = 0; i < frames; ++i) {
        const double s = 8000.0 * std::sin(2.0 * M_PI * hz * i / rate);
        for (int c = 0; c < channels; ++c) Put(out, static_cast<uint16_t>(static_cast<int16_t>(s)), 2);
    }
    const auto path = dir / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return path.string();
}

void BM_MixEightVoices(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("korvamo-bench-mixer-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    OE_Sound engine = Snd_LoadFromFile(WriteTone(dir, "eng.wav", 22050, 1, 110.0), 1);
    OE_Sound others = Snd_LoadFromFile(WriteTone(dir, "eng_e.wav", 22050, 1, 90.0), 4);
    OE_Sound ambience = Snd_LoadFromFile(WriteTone(dir, "amb.wav", 44100, 2, 60.0), 1);
    OE_Sound fireworks = Snd_LoadFromFile(WriteTone(dir, "fw.wav", 44100, 1, 440.0), 4);
    std::filesystem::remove_all(dir);
    if (!engine || !others || !ambience || !fireworks) {
        state.SkipWithError("could not load the test tones");
        return;
    }
    Snd_Play(engine, 0, 0, 31000, true);
    for (int i = 0; i < 4; ++i) Snd_Play(others, -1500 + 750 * i, -300 * i, 22050, true);
    Snd_Play(ambience, 0, -600, 0, true);
    Snd_Play(fireworks, 300, 0, 0, true);
    Snd_Play(fireworks, -300, -200, 0, true);

    std::vector<uint8_t> ring(65536);
    for (size_t i = 0; i < ring.size(); ++i) ring[i] = static_cast<uint8_t>(i * 7);
    WaveOut_Open(ring.data(), ring.size());

    std::vector<int16_t> out(2 * 1024);
    for (auto _ : state) {
        oe::Audio_Mix(out.data(), 1024);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1024);
    oe::Audio_ReleaseAll();
}
BENCHMARK(BM_MixEightVoices);

}  // namespace

BENCHMARK_MAIN();
