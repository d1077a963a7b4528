// wav_fixture.h: WAV files written by the tests themselves, in a scratch folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/fs.h"


namespace wavtest {

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xff));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xff));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

inline void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

// A PCM file; `samples` are interleaved in the file's own units (0..255 for
// 8-bit, signed for 16-bit). `data_size` overrides the data chunk's size field.
inline std::vector<uint8_t> MakeWav(int rate, int channels, int bits, const std::vector<int>& samples,
                                    int64_t data_size = -1) {
    const uint32_t bytes_per_sample = static_cast<uint32_t>(bits / 8);
    const uint32_t data_bytes = static_cast<uint32_t>(samples.size()) * bytes_per_sample;
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, 36 + data_bytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(channels));
    Put32(out, static_cast<uint32_t>(rate));
    Put32(out, static_cast<uint32_t>(rate * channels) * bytes_per_sample);
    Put16(out, static_cast<uint32_t>(channels) * bytes_per_sample);
    Put16(out, static_cast<uint32_t>(bits));
    PutTag(out, "data");
    Put32(out, data_size >= 0 ? static_cast<uint32_t>(data_size) : data_bytes);
    for (int s : samples) {
        if (bits == 8)
            out.push_back(static_cast<uint8_t>(s));
        else
            Put16(out, static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(s))));
    }
    return out;
}

// `frames` frames of one value in every channel.
inline std::vector<int> Constant(int frames, int channels, int value) {
    return std::vector<int>(static_cast<size_t>(frames * channels), value);
}

// Mono frames 0, step, 2 * step, ...
inline std::vector<int> Ramp(int frames, int step) {
    std::vector<int> out;
    for (int i = 0; i < frames; ++i) out.push_back(i * step);
    return out;
}

// A scratch folder, removed with everything in it when the test ends.
class ScratchDir {
public:
    ScratchDir() {
        path_ = Fs_MakeScratchFolder("korvamo-wav-");
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        const auto file = path_ / name;
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace wavtest
