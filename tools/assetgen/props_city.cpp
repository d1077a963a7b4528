// Props of the city tracks: houses, a block of flats, tyre stacks, cones.
#include <cmath>

#include "catalog.h"
#include "noise.h"
#include "shapes.h"
#include "sketch.h"

namespace assetgen {

namespace {

void Window(Canvas& c, Vec2 centre, float hw, float hh, Colour glass) {
    FillLit(c, Box(centre, hw + 1.5f, hh + 1.5f, 0.5f), Matte(Hex(0xF2F0EA)), 1.5f);
    Fill(c, Box(centre, hw, hh), [=](Vec2 p) {
        // Sky reflected towards the top left of the pane.
        const float t = Clamp01((p.x - centre.x + hw + p.y - centre.y + hh) / (2 * (hw + hh)));
        return Mix(Mix(glass, Grey(1.0f), 0.35f), Scaled(glass, 0.7f), t);
    });
}

Canvas House() {
    Canvas c(128, 128);
    DrawGroundShadow(c, {64, 123}, 56, 6, 0.45f);
    const Noise n(501);
    Fill(c, Box({64, 94}, 46, 30), [&n](Vec2 p) {
        return Mix(Hex(0xE2CFA6), Hex(0xF0E2C2), n.At(p.x / 2, p.y / 2, 0));
    });
    Fill(c, Box({64, 70}, 46, 6), [](Vec2 p) { return Grey(0.0f, 0.35f * (1 - (p.y - 64) / 12)); });
    Window(c, {36, 92}, 8, 8, Hex(0x4A78A8));
    Window(c, {92, 92}, 8, 8, Hex(0x4A78A8));
    for (float x : {36.0f, 92.0f}) FillLit(c, Box({x, 103}, 10, 2, 1), Matte(Hex(0x8A5A34)), 1.5f);
    FillLit(c, Box({64, 106}, 9, 17, 1), Matte(Hex(0x7A4222)), 2);
    Fill(c, Circle({70, 107}, 1.2f), Hex(0xE8C860));
    FillLit(c, Box({64, 124}, 12, 1.8f, 0.5f), Matte(Grey(0.6f)), 1);
    FillLit(c, Box({90, 26}, 6, 12, 1), [](Vec2 p) {
        const bool mortar = std::fmod(p.y, 4.0f) < 0.8f;
        return Matte(mortar ? Hex(0xC8B8A0) : Hex(0x9A4A32));
    }, 2);
    // Tiled roof: rows of tiles, each row offset by half a tile.
    FillLit(c, Polygon({{8, 68}, {120, 68}, {102, 16}, {26, 16}}), [](Vec2 p) {
        const float row = (p.y - 16) / 6.5f;
        const float col = p.x / 9 + (static_cast<int>(row) % 2) * 0.5f;
        const bool gap = std::fmod(row, 1.0f) > 0.82f || std::fmod(col, 1.0f) < 0.08f;
        return Matte(gap ? Hex(0x6E2A1C) : Mix(Hex(0xB24A32), Hex(0xC8634A), std::fmod(row, 1.0f)));
    }, 5);
    FillLit(c, Box({64, 16}, 39, 2.5f, 2), Matte(Hex(0x7E3020)), 2);
    return c;
}

Canvas Flats() {
    Canvas c(128, 192);
    DrawGroundShadow(c, {64, 187}, 58, 6, 0.45f);
    const Noise n(511);
    // The roof, seen from above behind the facade.
    FillLit(c, Polygon({{14, 36}, {114, 36}, {106, 10}, {22, 10}}), Matte(Hex(0x8E8A84)), 3);
    FillLit(c, Box({44, 22}, 8, 5, 1), Matte(Hex(0xB0ACA4)), 2);
    FillLit(c, Box({84, 24}, 5, 4, 1), Matte(Hex(0x6A6A6E)), 2);
    Fill(c, Box({64, 112}, 50, 76), [&n](Vec2 p) {
        const bool joint = std::fmod(p.y - 36, 18.0f) < 0.8f;
        return joint ? Hex(0x8A8680) : Mix(Hex(0xB4AFA4), Hex(0xC6C1B6), n.At(p.x / 3, p.y / 3, 0));
    });
    Fill(c, Box({64, 38}, 50, 3), Grey(0.0f, 0.25f));
    for (int floor = 0; floor < 7; ++floor)
        for (int col = 0; col < 5; ++col) {
            const Vec2 centre{26.0f + col * 19.0f, 50.0f + floor * 18.0f};
            const bool lit = n.At(static_cast<float>(col), static_cast<float>(floor), 0, 7) > 0.72f;
            Window(c, centre, 5.5f, 5.5f, lit ? Hex(0xF2D27A) : Hex(0x3E6690));
            FillLit(c, Box(centre + Vec2{0, 7.5f}, 7, 1, 0.5f), Matte(Hex(0x9A968E)), 1);
        }
    FillLit(c, Box({64, 172}, 16, 2.5f, 1), Matte(Hex(0x5A6068)), 2);
    Fill(c, Box({64, 180}, 11, 8), Hex(0x35506A));
    Fill(c, Box({64, 180}, 0.7f, 8), Hex(0x9AA0A6));
    return c;
}

Canvas Tyres() {
    Canvas c(48, 64);
    DrawGroundShadow(c, {24, 60}, 22, 4, 0.45f);
    for (int i = 0; i < 4; ++i) {
        const float y = 54.0f - i * 12.0f;
        const bool red = i % 2 == 0;
        FillCylinder(c, Box({24, y}, 19, 6.5f, 4), 5, 43, Material{Grey(0.14f), 0.5f, 0.6f, 0.15f, 10});
        FillCylinder(c, Box({24, y}, 19, 2.2f, 1), 5, 43, Glossy(red ? Hex(0xD02A26) : Hex(0xF2F2EE), 0.2f));
    }
    FillLit(c, Ellipse({24, 12}, 19, 5.5f), Material{Grey(0.2f), 0.5f, 0.6f, 0.2f, 10}, 3);
    Fill(c, Ellipse({24, 12}, 8, 2.4f), Hex(0x08080A));
    return c;
}

Canvas Cone() {
    Canvas c(32, 40);
    DrawGroundShadow(c, {16, 37}, 14, 3, 0.45f);
    FillLit(c, Box({16, 35}, 13, 3, 1), Matte(Hex(0xC8501A)), 1.5f);
    const Field body = Polygon({{14, 3}, {18, 3}, {25, 33}, {7, 33}});
    FillCylinder(c, body, 7, 25, Glossy(Hex(0xF26B1D), 0.3f));
    for (float y : {13.0f, 24.0f})
        FillCylinder(c, Intersect(body, Box({16, y}, 12, 2.8f)), 7, 25, Glossy(Hex(0xF6F6F2), 0.3f));
    return c;
}

}  // namespace

ImageSet MakeCityProps() {
    return {
        {"house1", House(), true},
        {"flats1", Flats(), true},
        {"tyres1", Tyres(), true},
        {"cone1", Cone(), true},
    };
}

}  // namespace assetgen
