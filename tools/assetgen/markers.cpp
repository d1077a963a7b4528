// Track markers the game treats specially (the lamp, the props that cast no
// shadow of their own) and the three bonus icons.
#include <cmath>

#include "barriers.h"
#include "catalog.h"
#include "noise.h"
#include "shapes.h"
#include "sketch.h"

namespace assetgen {

namespace {

// A street lamp; its globe sits 102 px above the base, where the game
// centres the lamp's light.
Canvas Lamp() {
    Canvas c(48, 128);
    DrawGroundShadow(c, {24, 124}, 14, 4, 0.45f);
    FillLit(c, Box({24, 121}, 9, 5, 2), Glossy(Hex(0x3C4046), 0.3f), 2.5f);
    FillCylinder(c, Box({24, 76}, 2.6f, 44), 21.4f, 26.6f, Glossy(Hex(0x59606A), 0.5f));
    FillLit(c, Box({24, 35}, 4.5f, 3, 1.5f), Glossy(Hex(0x3C4046), 0.4f), 2);
    // The globe glows, so it is not shaded by the daylight.
    Fill(c, Circle({24, 26}, 9.5f), [](Vec2 p) {
        const float d = Length(p - Vec2{22, 23}) / 11.0f;
        return Mix(Hex(0xFFFFF4), Hex(0xFFD37A), Clamp01(d));
    });
    FillLit(c, Ellipse({24, 16.5f}, 7.5f, 3.5f), Glossy(Hex(0x3C4046), 0.4f), 3);
    FillLit(c, Circle({24, 12.5f}, 2), Glossy(Hex(0x3C4046), 0.4f), 2);
    return c;
}

// A beach crab, claws raised.
Canvas Crab() {
    Canvas c(40, 32);
    DrawGroundShadow(c, {20, 24}, 15, 5, 0.35f);
    const Material shell = Glossy(Hex(0xD8542A), 0.35f);
    for (float s : {-1.0f, 1.0f}) {
        for (int leg = 0; leg < 3; ++leg) {
            const Vec2 a{20 + s * 7, 18.0f + leg * 2.5f};
            const Vec2 b{20 + s * 14, 17.0f + leg * 3.5f};
            const Vec2 e{20 + s * 17, 23.0f + leg * 2.5f};
            FillLit(c, Union(Line(a, b, 1.8f), Line(b, e, 1.4f)), shell, 1);
        }
        FillLit(c, Line({20 + s * 6, 15}, {20 + s * 12, 9}, 2.2f), shell, 1);
        FillLit(c, Ellipse({20 + s * 13, 7}, 4, 3.2f), shell, 2);
        Fill(c, Box({20 + s * 13, 4.5f}, 0.8f, 2.2f), Hex(0x5A1A08));
    }
    FillLit(c, Ellipse({20, 18}, 9, 6.5f), shell, 4);
    for (float s : {-1.0f, 1.0f}) {
        Fill(c, Line({20 + s * 3, 13}, {20 + s * 3.5f, 9.5f}, 1.0f), Hex(0x8A2C10));
        FillLit(c, Circle({20 + s * 3.5f, 9}, 1.6f), Glossy(Hex(0x101010), 0.8f), 1);
    }
    return c;
}

// A penguin standing upright.
Canvas Penguin() {
    Canvas c(32, 48);
    DrawGroundShadow(c, {16, 45}, 11, 3, 0.4f);
    const Material orange = Glossy(Hex(0xF0A020), 0.3f);
    FillLit(c, Ellipse({11.5f, 45}, 4, 2), orange, 1.5f);
    FillLit(c, Ellipse({20.5f, 45}, 4, 2), orange, 1.5f);
    FillLit(c, Ellipse({16, 29}, 10, 15), Glossy(Hex(0x1C2128), 0.35f), 7);
    FillLit(c, Ellipse({16, 32}, 6.5f, 11), Glossy(Hex(0xF4F4F0), 0.2f), 5);
    for (float s : {-1.0f, 1.0f})
        FillLit(c, Ellipse({16 + s * 10, 30}, 2.5f, 8), Glossy(Hex(0x1C2128), 0.3f), 2);
    FillLit(c, Circle({16, 12}, 7.5f), Glossy(Hex(0x1C2128), 0.35f), 5);
    for (float s : {-1.0f, 1.0f}) {
        Fill(c, Circle({16 + s * 3, 11}, 1.9f), Grey(1.0f));
        Fill(c, Circle({16 + s * 3.2f, 11.2f}, 0.9f), Grey(0.05f));
    }
    FillLit(c, Polygon({{13, 14.5f}, {19, 14.5f}, {16, 19}}), orange, 1.5f);
    return c;
}

// A big snowball, packed and lumpy.
Canvas Snowball() {
    Canvas c(48, 48);
    DrawGroundShadow(c, {25, 42}, 18, 5, 0.45f);
    const Noise n(401);
    Relief ball;
    const Vec2 centre{24, 24};
    ball.outline = [&n, centre](Vec2 p) {
        const Vec2 d = p - centre;
        const float a = std::atan2(d.y, d.x);
        const float wobble = (n.At(a * 1.3f + 10, 0.5f, 0) - 0.5f) * 2.0f;
        return Length(d) - 19.0f - wobble;
    };
    ball.height = [&n, centre](Vec2 p) {
        const Vec2 d = (p - centre) * (1.0f / 20.0f);
        const float r2 = std::min(Dot(d, d), 1.0f);
        return std::sqrt(1 - r2) * 20.0f + n.At(p.x / 4, p.y / 4, 0) * 1.5f;
    };
    ball.material = [](Vec2) { return Material{Hex(0xF4F8FF), 0.5f, 0.6f, 0.15f, 10}; };
    DrawRelief(c, ball);
    return c;
}

Canvas Coin(Colour rim, Colour inner_top, Colour inner_bottom) {
    Canvas c(32, 32);
    FillLit(c, Circle({16, 16}, 15), Glossy(rim, 0.5f), 3);
    Fill(c, Circle({16, 16}, 11.5f), [=](Vec2 p) { return Mix(inner_top, inner_bottom, Clamp01((p.y - 5) / 22)); });
    return c;
}

// Slow: a snail.
Canvas BonusSlow() {
    Canvas c = Coin(Hex(0x0A6FC0), Hex(0x5FD4FF), Hex(0x1B84D6));
    const Material white = Glossy(Hex(0xFFFFFF), 0.4f);
    FillLit(c, Capsule({8, 21}, {23, 21}, 2.2f, 2.6f), white, 1.5f);
    FillLit(c, Line({22, 19}, {24, 13.5f}, 1.0f), white, 0.5f);
    FillLit(c, Line({20, 19.5f}, {20.5f, 14.5f}, 1.0f), white, 0.5f);
    const Vec2 shell{13.5f, 15.5f};
    FillLit(c, Circle(shell, 6.5f), Glossy(Hex(0xFFF0C8), 0.4f), 3);
    // A spiral groove on the shell.
    Fill(c, [shell](Vec2 p) {
        const Vec2 d = p - shell;
        const float r = Length(d);
        const float turn = (std::atan2(d.y, d.x) + 3.14159f) / 6.28318f;
        float best = 1e9f;
        for (int k = 0; k < 3; ++k) best = std::min(best, std::fabs(r - 1.9f * (turn + k)));
        return r > 6.0f ? 1.0f : best - 0.45f;
    }, Hex(0x1B6CB0));
    return c;
}

// Speed: a lightning bolt.
Canvas BonusSpeed() {
    Canvas c = Coin(Hex(0xA0108A), Hex(0xFF7AF0), Hex(0xC21BAA));
    FillLit(c, Polygon({{18, 5}, {9, 18}, {15, 18}, {12.5f, 27}, {23, 13}, {17, 13}, {20, 5}}),
            Glossy(Hex(0xFFF15A), 0.6f), 1.5f);
    return c;
}

// Oil: a black drop on yellow.
Canvas BonusOil() {
    Canvas c = Coin(Hex(0xB89A00), Hex(0xFFF36A), Hex(0xE5C600));
    const Field drop = Union(Circle({16, 19}, 6.5f), Polygon({{16, 6}, {10.2f, 16.5f}, {21.8f, 16.5f}}));
    FillLit(c, drop, Glossy(Hex(0x17161C), 0.9f), 4);
    return c;
}

}  // namespace

ImageSet MakeMarkers() {
    return {
        {"lamp1", Lamp(), true},
        {"limit1", BarrierBlock(0), true},
        {"rak1", Crab(), true},
        {"pen1", Penguin(), true},
        {"sball1", Snowball(), true},
        {"bn_slw1", BonusSlow()},
        {"bn_spd1", BonusSpeed()},
        {"bn_oil1", BonusOil()},
    };
}

}  // namespace assetgen
