// Interface skins and sprites of the share registry: window and button
// skins (stretched by the game to any size), the cursor, the colour swatch,
// the padlock, the countdown badge and the two particle sprites.
#include <cmath>

#include "catalog.h"
#include "noise.h"
#include "shapes.h"
#include "sketch.h"

namespace assetgen {

namespace {

// A panel whose rim bevels up over `bevel` pixels, lit from the top left.
void Panel(Canvas& c, const Field& outline, float bevel, const std::function<Material(Vec2)>& material) {
    Relief r;
    r.outline = outline;
    r.height = [outline, bevel](Vec2 p) { return std::min(-outline(p), bevel) * 1.4f; };
    r.material = material;
    DrawRelief(c, r);
}

Canvas WindowSkin() {
    Canvas c(256, 256);
    const Field outline = Box({128, 128}, 128, 128, 10);
    Panel(c, outline, 5, [](Vec2 p) {
        const float t = p.y / 256;
        Colour base = Mix(Hex(0x34587E, 0.95f), Hex(0x132235, 0.95f), t);
        // Faint diagonal pinstripes.
        if (std::fmod(p.x + p.y, 6.0f) < 1.0f) base = Scaled(base, 1.08f);
        return Material{base, 0.75f, 0.5f, 0.0f, 8};
    });
    Fill(c, Subtract(Box({128, 128}, 121, 121, 6), Box({128, 128}, 120, 120, 5)), Hex(0x9CC4EA, 0.35f));
    return c;
}

Canvas ButtonSkin() {
    Canvas c(128, 64);
    const Field outline = Box({64, 32}, 63, 31, 14);
    Fill(c, Grow(outline, 1), Hex(0x3A1004, 0.9f));
    Panel(c, outline, 4, [](Vec2 p) {
        return Material{Mix(Hex(0xF27A2E), Hex(0xA8300E), p.y / 64), 0.7f, 0.45f, 0.2f, 20};
    });
    // Gloss over the upper half.
    Fill(c, Box({64, 19}, 56, 11, 10), [](Vec2 p) { return Grey(1.0f, 0.32f * (1 - (p.y - 8) / 24)); });
    return c;
}

// The arrow's tip sits at (16, 8), where the game puts the mouse position.
Canvas Cursor() {
    Canvas c(64, 64);
    const Field arrow = Polygon({{16, 8}, {16, 37}, {22.5f, 31}, {27.5f, 41.5f}, {32, 39.5f}, {27, 29}, {35.5f, 29}});
    Fill(c, Grow(arrow, 1.6f), Grey(0.0f));
    DropShadow(c, 2.5f, 3, 2, 0.45f);
    Fill(c, arrow, [](Vec2 p) { return Mix(Grey(1.0f), Hex(0xC8D8E8), Clamp01((p.y - 8) / 34)); });
    return c;
}

// A white swatch: the game tints it with the chosen colour.
Canvas Swatch() {
    Canvas c(64, 64);
    Fill(c, Box({32, 32}, 28, 28, 8), Grey(0.25f, 0.8f));
    FillLit(c, Box({32, 32}, 26, 26, 7), Glossy(Grey(1.0f), 0.2f), 5);
    Fill(c, Box({27, 22}, 17, 8, 6), Grey(1.0f, 0.35f));
    return c;
}

Canvas Padlock() {
    Canvas c(64, 64);
    const Material steel = Glossy(Hex(0xB8BEC6), 0.7f);
    FillLit(c, Intersect(Ring({32, 24}, 12, 6), [](Vec2 p) { return p.y - 30; }), steel, 3);
    FillLit(c, Box({20, 31}, 3, 4), steel, 2);
    FillLit(c, Box({44, 31}, 3, 4), steel, 2);
    FillLit(c, Box({32, 44}, 20, 15, 4), Glossy(Hex(0xE0A82A), 0.6f), 4);
    Fill(c, Union(Circle({32, 41}, 3.5f), Polygon({{30, 42}, {34, 42}, {35.5f, 51}, {28.5f, 51}})), Hex(0x2A1A06));
    DropShadow(c, 2, 2, 2, 0.4f);
    return c;
}

// The countdown badge, drawn tinted with each phase's colour: a bright
// chequered rim that carries the colour round a dark disc, so the pale
// digits stand out whatever the tint.
Canvas CountdownBadge() {
    Canvas c(128, 128);
    const Vec2 centre{64, 64};
    FillLit(c, Circle(centre, 62), Glossy(Grey(0.95f), 0.5f), 5);
    Fill(c, Ring(centre, 54, 10), [centre](Vec2 p) {
        const Vec2 d = p - centre;
        const int seg = static_cast<int>((std::atan2(d.y, d.x) + 3.14159f) / (6.28318f / 32));
        const int row = Length(d) < 54 ? 0 : 1;
        return (seg + row) % 2 ? Grey(0.98f) : Grey(0.5f);
    });
    Fill(c, Circle(centre, 46), [centre](Vec2 p) {
        const float r = Length(p - centre - Vec2{-14, -16}) / 72;
        return Mix(Grey(0.36f), Grey(0.12f), Clamp01(r));
    });
    Fill(c, Ring(centre, 46, 2.5f), Grey(0.05f, 0.9f));
    Fill(c, Ellipse({58, 38}, 28, 11), [](Vec2 p) { return Grey(1.0f, 0.2f * (1 - (p.y - 27) / 22)); });
    return c;
}

// White light whose alpha falls off softly from the centre.
Canvas Light() {
    Canvas c(256, 256);
    Wash(c, [](Vec2 p) {
        const float r = Length(p - Vec2{128, 128}) / 128;
        const float a = std::pow(Clamp01(1 - r), 2.2f);
        return Grey(1.0f, a);
    });
    return c;
}

Canvas Smoke() {
    Canvas c(64, 64);
    const Noise n(601);
    Wash(c, [&n](Vec2 p) {
        const float r = Length(p - Vec2{32, 32}) / 30;
        const float billow = n.Fractal(p.x / 64, p.y / 64, 4, 3);
        const float a = (1 - SmoothStep(0.25f, 1.0f, r + (billow - 0.5f) * 0.5f)) * 0.85f;
        return Grey(0.97f - 0.25f * Clamp01((p.x + p.y - 40) / 60), Clamp01(a));
    });
    return c;
}

}  // namespace

ImageSet MakeInterface() {
    return {
        {"g_wnd", WindowSkin()},
        {"g_but", ButtonSkin()},
        {"g_cur", Cursor()},
        {"color", Swatch()},
        {"lock", Padlock()},
        {"for", CountdownBadge()},
        {"light", Light()},
        {"smoke", Smoke()},
    };
}

}  // namespace assetgen
