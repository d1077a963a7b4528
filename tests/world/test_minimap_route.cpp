// The minimap's route picture against what it stands for: 81 one-pixel lines
// at alpha 64, shifted by -4..4 pixels either way, drawn over the same ground.
// (A route larger than the screen is kept axis-aligned: where a slanted line is
// cut at the screen's edge, the line drawer's steps may fall a pixel apart.)
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/canvas.h"
#include "engine/texture.h"
#include "world/minimap_route.h"

namespace {

struct RouteCase {
    const char* name;
    std::vector<tcorner> waypoints;
};

class MinimapRoutePicture : public testing::TestWithParam<RouteCase> {
protected:
    void SetUp() override {
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
        renderer_ = SDL_CreateSoftwareRenderer(surface_);
        ASSERT_NE(renderer_, nullptr) << SDL_GetError();
        canvas_ = std::make_unique<oe::Canvas>(renderer_, surface_);
    }
    void TearDown() override {
        canvas_.reset();
        SDL_DestroyRenderer(renderer_);
        SDL_FreeSurface(surface_);
        oe::Textures_ReleaseAll();
    }

    // The ground: a dark box over a lighter colour, as the minimap's box lies
    // over the track.
    void Ground() {
        canvas_->Clear(0x5A7040);
        canvas_->FillRect(300, 200, 480, 380, oe::Colour{0, 0, 0, 64}, oe::Blend::Normal);
    }

    std::vector<uint32_t> Pixels() {
        SDL_RenderFlush(renderer_);
        const auto* p = static_cast<const uint32_t*>(surface_->pixels);
        return {p, p + 800 * 600};
    }

    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    std::unique_ptr<oe::Canvas> canvas_;
};

TEST_P(MinimapRoutePicture, GivesTheColoursOfItsShiftedLines) {
    const std::vector<tcorner>& w = GetParam().waypoints;
    int64_t min_x = INT64_MAX, min_y = INT64_MAX, max_x = INT64_MIN, max_y = INT64_MIN;
    for (const tcorner& c : w) {
        min_x = std::min<int64_t>(min_x, c.x), max_x = std::max<int64_t>(max_x, c.x);
        min_y = std::min<int64_t>(min_y, c.y), max_y = std::max<int64_t>(max_y, c.y);
    }
    // The route's origin where the minimap puts it: its far end 32 px from the corner.
    const int64_t ox = 800 - (max_x - min_x) / 15 - 32, oy = 600 - (max_y - min_y) / 15 - 32;
    Ground();
    const oe::Colour grey{0xAA, 0xAA, 0xAA, 64};
    auto line = [&](int dx, int dy, const tcorner& a, const tcorner& b) {
        canvas_->Line(float(ox + dx + Minimap_Scaled(a.x, min_x)), float(oy + dy + Minimap_Scaled(a.y, min_y)),
                      float(ox + dx + Minimap_Scaled(b.x, min_x)), float(oy + dy + Minimap_Scaled(b.y, min_y)), 1,
                      grey, oe::Blend::Normal);
    };
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            line(dx, dy, w.front(), w.back());
            for (size_t i = 0; i + 1 < w.size(); ++i) line(dx, dy, w[i], w[i + 1]);
        }
    const std::vector<uint32_t> lines = Pixels();

    const MinimapRoute route = Minimap_Route(w);
    ASSERT_LE(route.width, 800);
    ASSERT_LE(route.height, 600);
    Ground();
    oe::SpriteQuad quad{float(ox + route.left), float(oy + route.top), float(route.width), float(route.height)};
    canvas_->DrawSprite(oe::Texture_Create(route.width, route.height, route.rgba), quad, oe::Blend::Normal);
    const std::vector<uint32_t> picture = Pixels();

    int worst = 0;
    for (size_t i = 0; i < lines.size(); ++i)
        for (int shift : {0, 8, 16})
            worst = std::max(worst, std::abs(int(lines[i] >> shift & 255) - int(picture[i] >> shift & 255)));
    // The 81 layered blends each round down; the picture's single blend does not.
    EXPECT_LE(worst, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Minimap, MinimapRoutePicture,
    testing::Values(RouteCase{"Triangle", {{1000, 2000}, {1300, 2000}, {1300, 2450}}},
                    RouteCase{"SteepAndShallow", {{0, 0}, {3000, 700}, {2600, 2600}, {200, 1900}, {1500, 900}}},
                    RouteCase{"OnePoint", {{-5, 9}, {-5, 9}}},
                    RouteCase{"LargerThanTheScreen", {{0, 0}, {30000, 0}, {30000, 20000}, {0, 20000}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
