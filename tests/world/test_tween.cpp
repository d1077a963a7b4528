// Frames between ticks: the points on the way, and the camera put back.
#include <gtest/gtest.h>

#include <memory>

#include "core/state.h"
#include "world/tween.h"

namespace {

struct BetweenCase {
    tcorner from;
    tcorner to;
    float progress;
    tcorner drawn;
};

class TweenBetween : public testing::TestWithParam<BetweenCase> {};

TEST_P(TweenBetween, GivesThePointOnTheWayOrTheEndOfAJump) {
    const BetweenCase& c = GetParam();
    const tcorner at = Tween_Between(c.from, c.to, c.progress);
    EXPECT_EQ(at.x, c.drawn.x);
    EXPECT_EQ(at.y, c.drawn.y);
}

constexpr int32_t kJump = TWEEN_MAX_STEP + 1;
INSTANTIATE_TEST_SUITE_P(Tween, TweenBetween,
                         testing::Values(BetweenCase{{0, 0}, {10, -20}, 0.0f, {0, 0}},
                                         BetweenCase{{0, 0}, {10, -20}, 0.25f, {3, -5}},
                                         BetweenCase{{0, 0}, {10, -20}, 1.0f, {10, -20}},
                                         BetweenCase{{0, 0}, {10, -20}, 1.5f, {10, -20}},
                                         BetweenCase{{0, 0}, {kJump, 0}, 0.5f, {kJump, 0}},
                                         BetweenCase{{5, 0}, {5, -kJump}, 0.5f, {5, -kJump}},
                                         BetweenCase{{-2147483647, 0}, {2147483647, 0}, 0.5f, {2147483647, 0}}));

TEST(Tween, TheCameraStandsOnItsWayWhileDrawingAndIsPutBackExactly) {
    OE_CameraRec camera;
    game.main_camera = &camera;
    camera.x = 100;
    camera.y = 200;
    Tween_Remember(*std::make_unique<tworld>());
    camera.x = 140;
    camera.y = 180;
    {
        const Tween_Camera drawn(0.25f);
        EXPECT_EQ(camera.x, 110);
        EXPECT_EQ(camera.y, 195);
    }
    EXPECT_EQ(camera.x, 140);
    EXPECT_EQ(camera.y, 180);
    game.main_camera = nullptr;
}

}  // namespace
