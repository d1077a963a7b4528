// trackshot: a picture of a whole track, drawn by the game's own code (race
// set-up, draw list, DrawWorld) on the offscreen backend one 800x600 view at a
// time and scaled down into one image.
//
//   trackshot [--data DIR] [--size WxH] TRACK OUT [TRACK OUT ...]
//
// TRACK names a map of the data folder's wld/ ("beach1"); OUT ends in .png or
// .tga (relative to where the tool was started). The picture covers the
// track's waypoints with a margin, widened to the picture's shape; default
// size 1200x900.
#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/texbase.h"
#include "core/state.h"
#include "engine/backend_offscreen.h"
#include "engine/oe.h"
#include "world/race_setup.h"
#include "world/render.h"
#include "world/view.h"

namespace {

namespace fs = std::filesystem;

constexpr int kScreenW = 800;
constexpr int kScreenH = 600;
constexpr int kMargin = 420;   // around the waypoints: the road and its barriers

struct Job {
    std::string track;
    fs::path out;
};

struct Options {
    std::string data = KORVAMO_DEFAULT_DATA;
    int width = 1200;
    int height = 900;
    std::vector<Job> jobs;
};

bool ParseArgs(int argc, char** argv, Options& o) {
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--data" && i + 1 < argc) {
            o.data = argv[++i];
        } else if (arg == "--size" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &o.width, &o.height) != 2 || o.width < 1 || o.height < 1) return false;
        } else {
            rest.push_back(arg);
        }
    }
    if (rest.empty() || rest.size() % 2 != 0) return false;
    for (size_t i = 0; i < rest.size(); i += 2) o.jobs.push_back({rest[i], fs::absolute(rest[i + 1])});
    return true;
}

// The world rectangle a picture shows: the waypoints and a margin, widened
// to the picture's shape.
struct Region {
    int x = 0, y = 0, w = 0, h = 0;
};

Region Frame(const tworld& map, int width, int height) {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (int i = 0; i < map.waypoint_count; ++i) {
        const tcorner& p = map.waypoints[i];
        x0 = i ? std::min(x0, p.x) : p.x;
        y0 = i ? std::min(y0, p.y) : p.y;
        x1 = i ? std::max(x1, p.x) : p.x;
        y1 = i ? std::max(y1, p.y) : p.y;
    }
    Region r{x0 - kMargin, y0 - kMargin, x1 - x0 + 2 * kMargin, y1 - y0 + 2 * kMargin};
    if (static_cast<int64_t>(r.w) * height < static_cast<int64_t>(r.h) * width) {
        const int w = static_cast<int>(static_cast<int64_t>(r.h) * width / height);
        r.x -= (w - r.w) / 2;
        r.w = w;
    } else {
        const int h = static_cast<int>(static_cast<int64_t>(r.w) * height / width);
        r.y -= (h - r.h) / 2;
        r.h = h;
    }
    return r;
}

// Area average of the full-size picture into the output size, as RGB bytes.
std::vector<uint8_t> Shrink(const std::vector<uint32_t>& big, int bw, int bh, int w, int h) {
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int sx0 = x * bw / w, sx1 = std::max(sx0 + 1, (x + 1) * bw / w);
            const int sy0 = y * bh / h, sy1 = std::max(sy0 + 1, (y + 1) * bh / h);
            uint64_t sum[3] = {0, 0, 0};
            for (int sy = sy0; sy < sy1; ++sy)
                for (int sx = sx0; sx < sx1; ++sx) {
                    const uint32_t p = big[static_cast<size_t>(sy) * bw + sx];
                    sum[0] += (p >> 16) & 0xFF;
                    sum[1] += (p >> 8) & 0xFF;
                    sum[2] += p & 0xFF;
                }
            const uint64_t n = static_cast<uint64_t>(sx1 - sx0) * (sy1 - sy0);
            for (int k = 0; k < 3; ++k) out[(static_cast<size_t>(y) * w + x) * 3 + k] = static_cast<uint8_t>(sum[k] / n);
        }
    return out;
}

bool WritePicture(const fs::path& path, const std::vector<uint8_t>& rgb, int w, int h) {
    const std::string file = path.string();
    if (path.extension() == ".tga") return stbi_write_tga(file.c_str(), w, h, 3, rgb.data()) != 0;
    return stbi_write_png(file.c_str(), w, h, 3, rgb.data(), w * 3) != 0;
}

// Runs the jobs between the engine's loop passes: each view is set up before
// a frame and copied out after it.
class Shooter {
public:
    Shooter(const Options& options, oe::OffscreenBackend& backend) : options_(options), backend_(backend) {}

    bool Step() {
        if (view_ > 0) CopyView(view_ - 1);
        if (view_ == Views()) {
            if (job_ >= 0 && !Finish()) return false;
            if (++job_ == static_cast<int>(options_.jobs.size())) return false;
            Start();
        }
        const int cols = (region_.w + kScreenW - 1) / kScreenW;
        game.main_camera->x = region_.x + (view_ % cols) * kScreenW;
        game.main_camera->y = region_.y + (view_ / cols) * kScreenH;
        World_RefreshDrawList();
        OE_Redraw();
        ++view_;
        return true;
    }

    bool Failed() const { return failed_; }

private:
    int Views() const {
        return ((region_.w + kScreenW - 1) / kScreenW) * ((region_.h + kScreenH - 1) / kScreenH);
    }

    void Start() {
        const Job& job = options_.jobs[job_];
        World_StartRace(job.track);
        region_ = Frame(world_map, options_.width, options_.height);
        picture_.assign(static_cast<size_t>(region_.w) * region_.h, 0);
        view_ = 0;
    }

    void CopyView(int view) {
        const int cols = (region_.w + kScreenW - 1) / kScreenW;
        const int left = (view % cols) * kScreenW, top = (view / cols) * kScreenH;
        for (int y = 0; y < kScreenH && top + y < region_.h; ++y)
            for (int x = 0; x < kScreenW && left + x < region_.w; ++x)
                picture_[static_cast<size_t>(top + y) * region_.w + left + x] = backend_.PixelAt(x, y);
    }

    bool Finish() {
        const Job& job = options_.jobs[job_];
        const auto rgb = Shrink(picture_, region_.w, region_.h, options_.width, options_.height);
        if (world_map.waypoint_count == 0 || !WritePicture(job.out, rgb, options_.width, options_.height)) {
            std::fprintf(stderr, "trackshot: cannot picture %s as %s\n", job.track.c_str(), job.out.c_str());
            failed_ = true;
            return false;
        }
        return true;
    }

    const Options& options_;
    oe::OffscreenBackend& backend_;
    int job_ = -1;
    int view_ = 0;
    Region region_;
    std::vector<uint32_t> picture_;
    bool failed_ = false;
};

void Load() {
    OE_SetResolutionDependence(kScreenW, kScreenH);
    TexBase_LoadFolder(share_registry, "gfx\\share\\");
    TexBase_LoadFolder(object_registry, "gfx\\obj\\");
    game.main_camera = Cam2D_Create();
    Cam2D_Set(game.main_camera);
}

// The race's backdrop under the world, as the game draws it.
void Draw() {
    Pr2D_Rect(0, 0, kScreenW, kScreenH, 0x444422, 255, 1);
    DrawWorld(draw_list);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArgs(argc, argv, options)) {
        std::fprintf(stderr, "usage: trackshot [--data DIR] [--size WxH] TRACK OUT.png|OUT.tga [TRACK OUT ...]\n");
        return 2;
    }
    std::error_code ec;
    fs::current_path(options.data, ec);
    if (ec) {
        std::fprintf(stderr, "trackshot: no data folder %s\n", options.data.c_str());
        return 2;
    }
    auto backend = oe::MakeOffscreenBackend();
    Shooter shooter(options, *backend);
    backend->SetDriver([&shooter] { return shooter.Step(); });
    oe::SetBackend(std::move(backend));
    OE_RegProcedure(OE_PROC_LOAD, Load);
    OE_RegProcedure(OE_PROC_DRAW, Draw);
    OE_SetScreenOptions(kScreenW, kScreenH, 32, 0, false, false);
    OE_Init(0, 0);
    return shooter.Failed() ? 1 : 0;
}
