// mathx.cpp: the engine's maths helpers.
//
// Angles are whole degrees in the usual mathematical sense on a screen whose y
// grows downwards: 0 points right, 90 down, 180 left, 270 (or -90) up.
#include <cmath>
#include <limits>
#include <numbers>

#include "engine/oe.h"

namespace {

// sin and cos of any whole angle. Working from the quadrant keeps the axis
// values exact (M_Cos(90) is 0, not 6e-17), so a car heading straight up
// never drifts sideways.
struct SinCos {
    double sin;
    double cos;
};

SinCos WholeDegrees(int degrees) {
    const int d = ((degrees % 360) + 360) % 360;
    const double rest = (d % 90) * std::numbers::pi / 180.0;
    const double s = std::sin(rest);
    const double c = std::cos(rest);
    switch (d / 90) {
        case 0: return {s, c};
        case 1: return {c, -s};
        case 2: return {-s, -c};
        default: return {-c, s};
    }
}

}  // namespace

double M_Sin(int degrees) { return WholeDegrees(degrees).sin; }

double M_Cos(int degrees) { return WholeDegrees(degrees).cos; }

// The angle a such that (x2, y2) + r (cos a, sin a) runs towards (x1, y1),
// rounded to the nearest degree and given as 0..359. Two equal points give 0.
int M_FindAngle(double x1, double y1, double x2, double y2) {
    const double degrees = std::atan2(y1 - y2, x1 - x2) * 180.0 / std::numbers::pi;
    const int32_t a = M_Round(degrees);
    return ((a % 360) + 360) % 360;
}

double M_Distance(double x1, double y1, double x2, double y2) {
    return std::hypot(x1 - x2, y1 - y2);
}

// Halves go away from zero (2.5 -> 3, -2.5 -> -3). Values beyond the int32
// range clamp to its ends; NaN gives 0.
int32_t M_Round(double value) {
    if (std::isnan(value)) return 0;
    const double r = std::round(value);
    if (r <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (r >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

// Strictly inside: a point on the rim is outside, and a circle of radius 0 or
// less holds no point at all.
bool Col_PointInCircle(double x, double y, const OE_Circle& circle) {
    const double dx = x - circle.x;
    const double dy = y - circle.y;
    const double r = circle.radius;
    return circle.radius > 0 && dx * dx + dy * dy < r * r;
}

std::string U_IntToStr(int64_t value) { return std::to_string(value); }
