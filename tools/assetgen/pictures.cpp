// Menu pictures of the share registry: the title, the gears that turn on
// the menu, the race corner's steering wheel, the icons beside the menu
// buttons and the two logos.
#include <cmath>

#include "catalog.h"
#include "shapes.h"
#include "sketch.h"
#include "text.h"

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

Material Gold() { return {Hex(0xF2B632), 0.4f, 0.7f, 0.8f, 24}; }
Material Steel() { return {Hex(0xBFC6CE), 0.45f, 0.65f, 0.7f, 30}; }

void Chequer(Canvas& c, const Field& area, float size, Vec2 origin) {
    Fill(c, area, [size, origin](Vec2 p) {
        const int i = static_cast<int>(std::floor((p.x - origin.x) / size));
        const int j = static_cast<int>(std::floor((p.y - origin.y) / size));
        return ((i + j) % 2 + 2) % 2 ? Grey(0.08f) : Grey(0.97f);
    });
}

Canvas Title(const Typeface& face) {
    Canvas c(800, 256);
    // Left of centre: the menu's steering wheel covers the right-hand side.
    constexpr int kSize = 100;
    constexpr float kBold = 3.5f;
    const float width = static_cast<float>(face.Measure("Korvamo", kSize, kBold));
    const float left = 330 - width / 2;
    // Speed streaks trailing the name.
    const float streaks[][3] = {{50, 40, 0.9f}, {64, 10, 1.0f}, {78, 55, 0.8f}, {92, 25, 0.95f}};
    for (const auto& s : streaks) {
        const float x0 = left - 150 + s[1], x1 = left - 8;
        Fill(c, Capsule({x0, s[0]}, {x1, s[0]}, 0.5f, 3.0f), [=](Vec2 p) {
            return Grey(1.0f, 0.7f * s[2] * Clamp01((p.x - x0) / (x1 - x0)));
        });
    }
    Chequer(c, Box({330, 114}, width / 2 - 12, 6), 6, {left, 108});
    DrawOutlinedText(c, face, "Korvamo", kSize, 330, 100, Align::Centre, [](Vec2 p) {
        const Colour top = Hex(0xFFF07A), bottom = Hex(0xFF6A12);
        Colour col = Mix(top, bottom, SmoothStep(0.2f, 0.75f, p.y));
        if (std::fabs(p.y - 0.36f) < 0.025f) col = Mix(col, Grey(1.0f), 0.5f);
        return col;
    }, Hex(0x2A0E04), 6, kBold);
    return c;
}

// A cog wheel; the menu turns three of them against each other.
Canvas Gear() {
    Canvas c(256, 256);
    const Vec2 centre{128, 128};
    const Field wheel = [centre](Vec2 p) {
        const Vec2 d = p - centre;
        const float a = std::atan2(d.y, d.x);
        const float tooth = Clamp01(std::cos(a * 14) * 1.6f + 0.45f);
        return Length(d) - (102 + 22 * tooth);
    };
    Field cut = Circle(centre, 30);
    for (int k = 0; k < 6; ++k) cut = Union(cut, Circle(centre + Rotate({0, -66}, k * 60.0f), 20));
    FillLit(c, Subtract(wheel, cut), [centre](Vec2 p) {
        const float r = Length(p - centre) / 124;
        return Material{Mix(Hex(0x9FB0C2, 0.6f), Hex(0x5C6E82, 0.6f), r), 0.55f, 0.55f, 0.4f, 16};
    }, 7);
    FillLit(c, Subtract(Circle(centre, 44), Circle(centre, 30)), Material{Hex(0xC8D4E0, 0.7f), 0.55f, 0.55f, 0.5f, 16}, 5);
    return c;
}

Canvas SteeringWheel() {
    Canvas c(128, 128);
    const Vec2 centre{64, 64};
    const Material leather{Hex(0x26262A), 0.5f, 0.6f, 0.5f, 18};
    for (float angle : {90.0f, -30.0f, 210.0f}) {
        const Vec2 end = centre + Rotate({54, 0}, angle);
        FillLit(c, Capsule(centre, end, 9, 5), Steel(), 4);
    }
    FillLit(c, Ring(centre, 52, 13), [centre, leather](Vec2 p) {
        // Finger grips along the rim.
        const Vec2 d = p - centre;
        const float grip = std::fabs(std::sin(std::atan2(d.y, d.x) * 18));
        Material m = leather;
        m.albedo = Scaled(m.albedo, 0.85f + 0.3f * grip);
        return m;
    }, 6);
    FillLit(c, Circle(centre, 19), Material{Hex(0x303036), 0.5f, 0.6f, 0.4f, 18}, 6);
    FillLit(c, Circle(centre, 9), Glossy(Hex(0xD0281E), 0.7f), 4);
    DropShadow(c, 3, 4, 3, 0.5f);
    return c;
}

Canvas Trophy() {
    Canvas c(128, 128);
    FillLit(c, Box({64, 112}, 30, 10, 3), Glossy(Hex(0x5A3418), 0.3f), 4);
    FillLit(c, Box({64, 112}, 14, 4, 1), Gold(), 2);
    FillLit(c, Box({64, 98}, 20, 4, 2), Gold(), 3);
    FillLit(c, Capsule({64, 94}, {64, 74}, 7, 4), Gold(), 4);
    for (float s : {-1.0f, 1.0f})
        FillLit(c, Intersect(Ring({64 + s * 34, 40}, 13, 6), [s](Vec2 p) { return s * (64 - p.x) + 30; }), Gold(), 3);
    const Field cup = Union(Box({64, 22}, 34, 6, 2), [](Vec2 p) {
        const float hw = 34 - std::pow(Clamp01((p.y - 22) / 50), 1.6f) * 26;
        return std::max({std::fabs(p.x - 64) - hw, 22 - p.y, p.y - 72});
    });
    FillLit(c, cup, Gold(), 10);
    const std::vector<Vec2> star = [] {
        std::vector<Vec2> pts;
        for (int k = 0; k < 10; ++k) pts.push_back(Vec2{64, 44} + Rotate({0, k % 2 ? -5.5f : -13.0f}, k * 36.0f));
        return pts;
    }();
    FillLit(c, Polygon(star), Glossy(Hex(0xFFF4C0), 0.8f), 2);
    DropShadow(c, 3, 4, 3, 0.45f);
    return c;
}

// A chequered flag waving on its pole. The cloth hangs low in the picture:
// on the menu the picture's top overlaps the button above it.
Canvas Flag() {
    Canvas c(128, 128);
    FillCylinder(c, Capsule({24, 26}, {28, 124}, 3, 3), 20, 31, Steel());
    FillLit(c, Circle({24, 26}, 5), Gold(), 3);
    constexpr float x0 = 28, x1 = 120, height = 56;
    Wash(c, [=](Vec2 p) {
        if (p.x < x0 || p.x > x1) return Colour{};
        const float u = (p.x - x0) / (x1 - x0);
        const float wave = 8 * std::sin(u * 2 * kPi * 1.1f) * u;
        const float top = 32 + wave;
        const float v = (p.y - top) / height;
        if (v < 0 || v > 1) return Colour{};
        const float slope = std::cos(u * 2 * kPi * 1.1f);
        const int i = static_cast<int>(u * 7), j = static_cast<int>(v * 5);
        const Colour base = (i + j) % 2 ? Grey(0.1f) : Grey(0.96f);
        const float edge = Clamp01(std::min({(p.x - x0), (x1 - p.x), v * height, (1 - v) * height}) + 0.5f);
        return WithAlpha(Scaled(base, 0.85f + 0.25f * slope), edge);
    });
    DropShadow(c, 3, 4, 3, 0.4f);
    return c;
}

Canvas Tools() {
    Canvas c(128, 128);
    // The wrench, from bottom left to top right.
    const Vec2 a{28, 102}, b{90, 40};
    const Field jaw = Subtract(Circle(b, 18), Union(Box(b + Rotate({0, -10}, -45), 6, 12, 1, -45), Circle(b, 7)));
    FillLit(c, Union(Capsule(a, b, 7, 7), Union(jaw, Circle(a, 11))), Steel(), 4);
    Fill(c, Circle(a, 5), Hex(0x5A6470));
    // The screwdriver, crossing it.
    FillLit(c, Capsule({36, 34}, {76, 76}, 2.5f, 2.5f), Steel(), 2);
    FillLit(c, Capsule({76, 76}, {104, 104}, 9, 10), Glossy(Hex(0xE03A20), 0.6f), 6);
    FillLit(c, Capsule({84, 84}, {96, 96}, 3, 3), Glossy(Hex(0xFFD030), 0.6f), 2);
    DropShadow(c, 3, 4, 3, 0.45f);
    return c;
}

Canvas Helmet() {
    Canvas c(128, 128);
    const Field shell = Union(Circle({62, 60}, 46), Box({74, 92}, 36, 16, 14));
    FillLit(c, Intersect(shell, [](Vec2 p) { return p.y - 108; }), [](Vec2 p) {
        const float stripe = std::fabs((p.y - 26) - (p.x - 40) * 0.15f);
        return Glossy(stripe < 7 ? Hex(0xF6F6F2) : Hex(0xD42A1E), 0.7f);
    }, 14);
    const Field visor = Intersect(Box({84, 66}, 34, 14, 10), Circle({62, 60}, 50));
    FillLit(c, visor, Glossy(Hex(0x1C2A3A), 0.9f), 5);
    Fill(c, Box({92, 59}, 18, 2.5f, 2), Grey(1.0f, 0.45f));
    for (int k = 0; k < 3; ++k) Fill(c, Box({38.0f + k * 7, 92}, 2, 7, 1), Hex(0x2A0A06, 0.8f));
    DropShadow(c, 3, 4, 3, 0.45f);
    return c;
}

// The little "new" sticker and envelope beside the Subscribe button: both
// keep to the ends of the picture so the caption between them stays clear.
Canvas Announcement(const Typeface& face) {
    Canvas c(160, 64);
    const Field envelope = Box({13, 20}, 10, 7, 1.5f);
    FillLit(c, envelope, Glossy(Hex(0xF8F4E8), 0.2f), 2);
    Fill(c, Intersect(envelope, Union(Line({3, 13}, {13, 22}, 1.4f), Line({13, 22}, {23, 13}, 1.4f))), Hex(0xA09070));
    std::vector<Vec2> star;
    for (int k = 0; k < 24; ++k) star.push_back(Vec2{148, 12} + Rotate({0, k % 2 ? -8.5f : -11.0f}, k * 15.0f));
    FillLit(c, Polygon(star), Glossy(Hex(0xE8241C), 0.4f), 3);
    DrawText(c, face, "NEW", 7, 148, 15, Align::Centre, Hex(0xFFFFFF), 0.5f);
    DropShadow(c, 2, 2, 2, 0.45f);
    return c;
}

Canvas StudioLogo(const Typeface& face) {
    Canvas c(215, 64);
    FillLit(c, Box({107.5f, 32}, 104, 28, 12), Glossy(Hex(0x1A2A3E), 0.3f), 4);
    Fill(c, Subtract(Box({107.5f, 32}, 101, 25, 10), Box({107.5f, 32}, 99.5f, 23.5f, 9)), Hex(0xF2B632, 0.8f));
    Chequer(c, Box({30, 32}, 14, 14, 2), 7, {16, 18});
    DrawText(c, face, "KORVAMO", 25, 128, 33, Align::Centre,
             [](Vec2 p) { return Mix(Hex(0xFFE45A), Hex(0xFF8A1E), p.y); }, 1.2f);
    DrawText(c, face, "G A M E S", 11, 128, 50, Align::Centre, Hex(0xBFD4EA), 0.3f);
    return c;
}

Canvas PublisherLogo(const Typeface& face) {
    Canvas c(256, 128);
    Fill(c, Intersect(Ring({128, 150}, 100, 7), [](Vec2 p) { return p.y - 78; }), [](Vec2 p) {
        return Mix(Hex(0x38D0C8, 0.0f), Hex(0x38D0C8, 0.9f), Clamp01(1 - std::fabs(p.x - 128) / 110));
    });
    DrawOutlinedText(c, face, "vemko", 58, 128, 66, Align::Centre, [](Vec2 p) {
        return Mix(Hex(0x7FF0E0), Hex(0x1E7EC8), p.y);
    }, Hex(0x0A1E30), 3, 1.5f);
    return c;
}

}  // namespace

ImageSet MakePictures(const Typeface& face) {
    return {
        {"g_tit", Title(face)},
        {"g_sh", Gear()},
        {"g_wh", SteeringWheel()},
        {"g_tr", Trophy()},
        {"g_sr", Flag()},
        {"g_op", Tools()},
        {"ann", Announcement(face)},
        {"g_qt", Helmet()},
        {"logo2", StudioLogo(face)},
        {"vemko", PublisherLogo(face)},
    };
}

}  // namespace assetgen
