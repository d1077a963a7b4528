// xm_songs.h: the shared XM reference songs for the module player's benchmarks:
// where they are, their bytes, and how long each is rendered.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "music/block.h"
#include "music/replay.h"
#include "music/song.h"

namespace xm_songs {

namespace fs = std::filesystem;

// Without a reference length, a song that never ends is cut here.
constexpr int64_t kMaxFrames = int64_t(600) * kOutputRate;

// The songs folder beside the source tree, or the one after --xm-dir (taken
// out of `args`, which starts as the whole command line).
inline fs::path Folder(std::vector<char*>& args) {
    fs::path dir = fs::path(__FILE__).parent_path().parent_path() / ".." / "shared" / "xm" / "songs";
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (std::strcmp(args[i], "--xm-dir") == 0) {
            dir = args[i + 1];
            args.erase(args.begin() + std::ptrdiff_t(i), args.begin() + std::ptrdiff_t(i) + 2);
            break;
        }
    }
    return dir;
}

// The .xm files of `dir`, sorted by name.
inline std::vector<fs::path> List(const fs::path& dir) {
    std::vector<fs::path> songs;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.path().extension() == ".xm") songs.push_back(e.path());
    std::sort(songs.begin(), songs.end());
    return songs;
}

// The frames of the reference rendering ("frames N" in the .env file) plus a
// second, since a song that jumps back never ends; kMaxFrames without one.
inline int64_t FrameLimit(const fs::path& song) {
    std::ifstream in(fs::path(song).replace_extension(".env"));
    std::string word;
    int64_t frames = 0;
    while (in >> word)
        if (word == "frames" && in >> frames) return frames + kOutputRate;
    return kMaxFrames;
}

inline std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Renders a loaded song through the game's block path (mixed, then converted
// to 16 bits) to its end or `limit` frames; the frames rendered.
inline int64_t RenderBlocks(TSong& song, int64_t limit) {
    std::array<float, 2 * kBlockFrames> acc;
    std::array<int16_t, 2 * kBlockFrames> out;
    int64_t frames = 0;
    while (!song.ended && frames < limit) {
        acc.fill(0.0f);
        frames += Song_Render(song, acc.data(), kBlockFrames);
        Block_Convert(acc.data(), out.data(), kFullVolumeDivisor);
        benchmark::DoNotOptimize(out.data());
    }
    return frames;
}

// Registers PREFIX/NAME for every song of `dir`, run once each, calling
// bench(state, name, bytes, frame limit); `data` keeps the bytes alive.
// False, with a message, when the folder holds no song.
template <typename Bench>
bool RegisterEach(const fs::path& dir, const std::string& prefix, Bench bench,
                  std::vector<std::vector<uint8_t>>& data) {
    const std::vector<fs::path> songs = List(dir);
    if (songs.empty()) {
        std::fprintf(stderr, "%s: no .xm songs in %s\n", prefix.c_str(), dir.string().c_str());
        return false;
    }
    data.reserve(songs.size());
    for (const fs::path& p : songs) {
        data.push_back(ReadAll(p));
        const std::string name = p.stem().string();
        benchmark::RegisterBenchmark((prefix + "/" + name).c_str(), bench, name, data.back(), FrameLimit(p))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    return true;
}

}  // namespace xm_songs
