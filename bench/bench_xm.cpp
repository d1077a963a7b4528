// The module player's rendering speed: every song of the shared XM folder is
// rendered once through, in the player's 1024-frame blocks, and reported in
// multiples of real time, song by song and as the median. A song plays to its
// end, or as long as its reference rendering (the .env file beside it) plus a
// second when it jumps back and would never end.
//
//   bench_xm [--xm-dir DIR] [Google Benchmark flags]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/xm_songs.h"
#include "music/arena.h"
#include "music/replay.h"
#include "music/song.h"
#include "music/source.h"
#include "music/xm_loader.h"

namespace {

namespace fs = std::filesystem;

std::map<std::string, double> g_speed;   // song -> multiples of real time (last run)

void BM_RenderSong(benchmark::State& state, const std::string& name, const std::vector<uint8_t>& bytes,
                   int64_t limit) {
    double audio_seconds = 0.0;
    double wall_seconds = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        TArena arena;
        TSong song;
        ByteSource src = Source_OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
        const bool loaded = Song_Load(song, src, arena);
        song.no_loop = true;
        state.ResumeTiming();
        if (!loaded) {
            state.SkipWithError("song rejected");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        const int64_t frames = xm_songs::RenderBlocks(song, limit);
        wall_seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        audio_seconds += double(frames) / kOutputRate;
    }
    const double speed = wall_seconds > 0.0 ? audio_seconds / wall_seconds : 0.0;
    state.counters["x_realtime"] = speed;
    g_speed[name] = speed;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    const fs::path dir = xm_songs::Folder(args);
    std::vector<std::vector<uint8_t>> data;
    if (!xm_songs::RegisterEach(dir, "BM_RenderSong", BM_RenderSong, data)) return 1;
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::vector<double> speeds;
    std::printf("\n%-45s %12s\n", "song", "x real time");
    for (const fs::path& p : xm_songs::List(dir)) {
        const auto it = g_speed.find(p.stem().string());
        if (it == g_speed.end()) {
            std::printf("%-45s %12s\n", p.stem().string().c_str(), "rejected");
            continue;
        }
        std::printf("%-45s %12.0f\n", it->first.c_str(), it->second);
        speeds.push_back(it->second);
    }
    if (speeds.empty()) return 0;
    std::sort(speeds.begin(), speeds.end());
    const size_t m = speeds.size();
    const double median = m % 2 ? speeds[m / 2] : (speeds[m / 2 - 1] + speeds[m / 2]) / 2.0;
    std::printf("%-45s %12.0f\n", "median", median);
    return 0;
}
