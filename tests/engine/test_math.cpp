// Maths helpers: the angle conventions the car physics and the drivers rely on.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/oe.h"

namespace {

// A car's heading angle from its frame, as the player's car derives it.
int FrameAngle(double frame) { return -M_Round((frame - 1.0) * 22.5 - 90.0); }

TEST(MathAngles, AxisValuesAreExact) {
    EXPECT_EQ(M_Cos(0), 1.0);
    EXPECT_EQ(M_Sin(0), 0.0);
    EXPECT_EQ(M_Cos(90), 0.0);
    EXPECT_EQ(M_Sin(90), 1.0);
    EXPECT_EQ(M_Cos(180), -1.0);
    EXPECT_EQ(M_Sin(180), 0.0);
    EXPECT_EQ(M_Cos(270), 0.0);
    EXPECT_EQ(M_Sin(270), -1.0);
    EXPECT_EQ(M_Sin(-90), -1.0);
    EXPECT_EQ(M_Cos(-180), -1.0);
}

TEST(MathAngles, MatchesStandardTrigonometryForAnyWholeAngle) {
    for (int d = -1080; d <= 1080; d += 7) {
        const double rad = d * 3.14159265358979323846 / 180.0;
        EXPECT_NEAR(M_Sin(d), std::sin(rad), 1e-12) << d;
        EXPECT_NEAR(M_Cos(d), std::cos(rad), 1e-12) << d;
    }
    EXPECT_NEAR(M_Sin(30), 0.5, 1e-15);
    EXPECT_NEAR(M_Cos(60), 0.5, 1e-15);
    EXPECT_NEAR(M_Sin(-30), -0.5, 1e-15);
}

TEST(MathAngles, FrameOneMovesUpTheScreen) {
    const int a = FrameAngle(1.0);
    EXPECT_EQ(a, 90);
    // A car moves by minus its heading vector; y grows downwards.
    EXPECT_EQ(-M_Cos(a), 0.0);
    EXPECT_EQ(-M_Sin(a), -1.0);
}

TEST(MathAngles, CardinalFramesMoveLeftDownRight) {
    const int left = FrameAngle(5.0), down = FrameAngle(9.0), right = FrameAngle(13.0);
    EXPECT_EQ(-M_Cos(left), -1.0);
    EXPECT_EQ(M_Sin(left), 0.0);
    EXPECT_EQ(-M_Sin(down), 1.0);
    EXPECT_EQ(M_Cos(down), 0.0);
    EXPECT_EQ(-M_Cos(right), 1.0);
    EXPECT_EQ(M_Sin(right), 0.0);
}

TEST(MathAngles, EveryFrameTurnsAnticlockwiseBySixteenthsOfATurn) {
    for (int frame = 1; frame <= 16; ++frame) {
        const int a = FrameAngle(frame);
        const double turn = (frame - 1) * 22.5 * 3.14159265358979323846 / 180.0;
        // Frame 1 is up, each frame a sixteenth further towards the left.
        const double want_x = -std::sin(turn), want_y = -std::cos(turn);
        const double tolerance = std::sin(0.5 * 3.14159265358979323846 / 180.0) + 1e-12;
        EXPECT_NEAR(-M_Cos(a), want_x, tolerance) << "frame " << frame;
        EXPECT_NEAR(-M_Sin(a), want_y, tolerance) << "frame " << frame;
    }
}

TEST(MathAngles, FrameAngleFindAngleRoundTrip) {
    for (int frame = 1; frame <= 16; ++frame) {
        const int a = FrameAngle(frame);
        const int wrapped = ((a % 360) + 360) % 360;
        const double x2 = 1000.0, y2 = -250.0;
        const double x1 = x2 + 700.0 * M_Cos(a), y1 = y2 + 700.0 * M_Sin(a);
        EXPECT_EQ(M_FindAngle(x1, y1, x2, y2), wrapped) << "frame " << frame;
        // The computer driver turns an angle back into a frame.
        int back = 90 - wrapped;
        while (back < 0) back += 360;
        EXPECT_NEAR(back / 22.5 + 1.0, frame, 0.5 / 22.5 + 1e-9)
            << "frame " << frame;
    }
}

TEST(MathFindAngle, AxesAndDiagonals) {
    // Direction in which point 1 lies, seen from point 2 at (10, 10).
    EXPECT_EQ(M_FindAngle(20, 10, 10, 10), 0);     // right
    EXPECT_EQ(M_FindAngle(10, 20, 10, 10), 90);    // below
    EXPECT_EQ(M_FindAngle(0, 10, 10, 10), 180);    // left
    EXPECT_EQ(M_FindAngle(10, 0, 10, 10), 270);    // above
    EXPECT_EQ(M_FindAngle(20, 20, 10, 10), 45);
    EXPECT_EQ(M_FindAngle(0, 20, 10, 10), 135);
    EXPECT_EQ(M_FindAngle(0, 0, 10, 10), 225);
    EXPECT_EQ(M_FindAngle(20, 0, 10, 10), 315);
}

TEST(MathFindAngle, StaysWithinZeroTo359) {
    // Just below the positive x axis rounds up to 360, which must read 0.
    EXPECT_EQ(M_FindAngle(1000, -1, 0, 0), 0);
    EXPECT_EQ(M_FindAngle(1000, 1, 0, 0), 0);
    EXPECT_EQ(M_FindAngle(5, 5, 5, 5), 0);
    for (int i = 0; i < 720; ++i) {
        const double t = i * 0.5 * 3.14159265358979323846 / 180.0;
        const int a = M_FindAngle(std::cos(t) * 300.0, std::sin(t) * 300.0, 0, 0);
        EXPECT_GE(a, 0);
        EXPECT_LE(a, 359);
    }
}

TEST(MathFindAngle, SteppingAlongTheAngleApproachesPointOne) {
    const double targets[][2] = {{500, 120}, {-300, 40}, {7, -900}, {-650, -650}, {3, 2}};
    for (const auto& t : targets) {
        double x = 100.0, y = 80.0;
        double before = M_Distance(t[0], t[1], x, y);
        for (int step = 0; step < 5; ++step) {
            const int a = M_FindAngle(t[0], t[1], x, y);
            x += M_Cos(a);
            y += M_Sin(a);
            const double after = M_Distance(t[0], t[1], x, y);
            EXPECT_LT(after, before) << t[0] << "," << t[1];
            before = after;
        }
    }
}

TEST(MathDistance, Euclidean) {
    EXPECT_DOUBLE_EQ(M_Distance(0, 0, 3, 4), 5.0);
    EXPECT_DOUBLE_EQ(M_Distance(3, 4, 0, 0), 5.0);
    EXPECT_DOUBLE_EQ(M_Distance(-1, -1, -1, -1), 0.0);
    EXPECT_DOUBLE_EQ(M_Distance(10, 0, -10, 0), 20.0);
}

TEST(MathRound, HalvesGoAwayFromZero) {
    EXPECT_EQ(M_Round(0.5), 1);
    EXPECT_EQ(M_Round(-0.5), -1);
    EXPECT_EQ(M_Round(1.5), 2);
    EXPECT_EQ(M_Round(-1.5), -2);
    EXPECT_EQ(M_Round(2.5), 3);
    EXPECT_EQ(M_Round(2.4999), 2);
    EXPECT_EQ(M_Round(-2.4999), -2);
    EXPECT_EQ(M_Round(0.0), 0);
    EXPECT_EQ(M_Round(-247.5), -248);
}

TEST(MathRound, OutOfRangeClampsAndNanIsZero) {
    EXPECT_EQ(M_Round(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(M_Round(-1e12), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(M_Round(std::numeric_limits<double>::infinity()), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(M_Round(std::nan("")), 0);
    EXPECT_EQ(M_Round(2147483646.6), 2147483647);
}

TEST(MathCircle, StrictlyInside) {
    const OE_Circle c{100, 50, 10};
    EXPECT_TRUE(Col_PointInCircle(100, 50, c));
    EXPECT_TRUE(Col_PointInCircle(109.9, 50, c));
    EXPECT_TRUE(Col_PointInCircle(106, 57.9, c));
    EXPECT_FALSE(Col_PointInCircle(110, 50, c));   // on the rim
    EXPECT_FALSE(Col_PointInCircle(100, 40, c));   // on the rim
    EXPECT_FALSE(Col_PointInCircle(106, 58, c));   // 6-8-10: on the rim
    EXPECT_FALSE(Col_PointInCircle(120, 50, c));
}

TEST(MathCircle, EmptyCirclesHoldNothing) {
    EXPECT_FALSE(Col_PointInCircle(0, 0, OE_Circle{0, 0, 0}));
    EXPECT_FALSE(Col_PointInCircle(0, 0, OE_Circle{0, 0, -5}));
    EXPECT_FALSE(Col_PointInCircle(1, 1, OE_Circle{0, 0, -5}));
}

TEST(MathText, IntToStrIsDecimal) {
    EXPECT_EQ(U_IntToStr(0), "0");
    EXPECT_EQ(U_IntToStr(1000), "1000");
    EXPECT_EQ(U_IntToStr(-42), "-42");
    EXPECT_EQ(U_IntToStr(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

}  // namespace
