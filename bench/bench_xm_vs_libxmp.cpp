// The module player beside libxmp, a yardstick: every song of the shared XM
// folder rendered by both at 48000 Hz, 16-bit stereo with linear
// interpolation and full stereo separation, in 1024-frame blocks, for the
// same number of frames (as long as our player plays the song, see bench_xm).
// Each rendering runs a few times on this one thread and the fastest counts,
// in thread CPU time, so other work on the machine weighs little. Prints each
// player's multiples of real time and their ratio, song by song.
//
//   bench_xm_vs_libxmp [--xm-dir DIR] [--runs N] [Google Benchmark flags]
#include <benchmark/benchmark.h>
#include <xmp.h>

#include <time.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

int g_runs = 3;

struct Result {
    int64_t frames = 0;
    double ours = 0.0;     // multiples of real time
    double libxmp = 0.0;
};
std::map<std::string, Result> g_results;

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Our player through its block path, to the song's end or `limit`: the
// frames rendered and the thread seconds it took, or 0 frames if the song is
// rejected.
std::pair<int64_t, double> RenderOurs(const std::vector<uint8_t>& bytes, int64_t limit) {
    TArena arena;
    TSong song;
    ByteSource src = Source_OpenMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (!Song_Load(song, src, arena)) return {0, 0.0};
    song.no_loop = true;
    const double start = ThreadSeconds();
    const int64_t frames = xm_songs::RenderBlocks(song, limit);
    return {frames, ThreadSeconds() - start};
}

// libxmp rendering `frames` frames (looping if the song ends sooner): the
// thread seconds it took, or a negative value if it rejects the song.
double RenderLibxmp(const std::vector<uint8_t>& bytes, int64_t frames) {
    xmp_context ctx = xmp_create_context();
    double seconds = -1.0;
    if (xmp_load_module_from_memory(ctx, bytes.data(), long(bytes.size())) == 0) {
        if (xmp_start_player(ctx, kOutputRate, 0) == 0) {
            xmp_set_player(ctx, XMP_PLAYER_INTERP, XMP_INTERP_LINEAR);
            xmp_set_player(ctx, XMP_PLAYER_MIX, 100);
            std::array<int16_t, 2 * kBlockFrames> out;
            const double start = ThreadSeconds();
            for (int64_t done = 0; done < frames; done += kBlockFrames) {
                xmp_play_buffer(ctx, out.data(), int(sizeof out), 0);
                benchmark::DoNotOptimize(out.data());
            }
            seconds = ThreadSeconds() - start;
            xmp_end_player(ctx);
        }
        xmp_release_module(ctx);
    }
    xmp_free_context(ctx);
    return seconds;
}

void BM_OursVsLibxmp(benchmark::State& state, const std::string& name, const std::vector<uint8_t>& bytes,
                     int64_t limit) {
    for (auto _ : state) {
        double ours = 1e30, theirs = 1e30;
        int64_t frames = 0;
        for (int run = 0; run < g_runs; ++run) {
            const auto [n, seconds] = RenderOurs(bytes, limit);
            if (n == 0) {
                state.SkipWithError("song rejected by our player");
                return;
            }
            frames = n;
            ours = std::min(ours, seconds);
            const double s = RenderLibxmp(bytes, frames);
            if (s < 0.0) {
                state.SkipWithError("song rejected by libxmp");
                return;
            }
            theirs = std::min(theirs, s);
        }
        const double audio = double(frames) / kOutputRate;
        Result& r = g_results[name];
        r = {frames, audio / ours, audio / theirs};
        state.counters["ours_x_realtime"] = r.ours;
        state.counters["libxmp_x_realtime"] = r.libxmp;
        state.counters["ratio"] = r.ours / r.libxmp;
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    const fs::path dir = xm_songs::Folder(args);
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (std::strcmp(args[i], "--runs") == 0) {
            g_runs = std::max(1, std::atoi(args[i + 1]));
            args.erase(args.begin() + std::ptrdiff_t(i), args.begin() + std::ptrdiff_t(i) + 2);
            break;
        }
    }
    std::vector<std::vector<uint8_t>> data;
    if (!xm_songs::RegisterEach(dir, "BM_OursVsLibxmp", BM_OursVsLibxmp, data)) return 1;
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\nthread CPU time, fastest of %d runs\n", g_runs);
    std::printf("%-40s %10s %12s %12s %8s\n", "song", "seconds", "ours x rt", "libxmp x rt", "ratio");
    std::vector<double> ours, ratios;
    for (const auto& [name, r] : g_results) {
        std::printf("%-40s %10.1f %12.0f %12.0f %8.2f\n", name.c_str(), double(r.frames) / kOutputRate, r.ours,
                    r.libxmp, r.ours / r.libxmp);
        ours.push_back(r.ours);
        ratios.push_back(r.ours / r.libxmp);
    }
    if (ours.empty()) return 0;
    std::printf("%-40s %10s %12.0f %12s %8.2f\n", "lowest", "", *std::min_element(ours.begin(), ours.end()), "",
                *std::min_element(ratios.begin(), ratios.end()));
    return 0;
}
