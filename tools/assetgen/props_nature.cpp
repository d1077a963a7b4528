// Props of the beach, forest and ice tracks, drawn standing on their base
// (the bottom centre of the picture is where the object stands).
#include <algorithm>
#include <cmath>

#include "catalog.h"
#include "noise.h"
#include "shapes.h"
#include "sketch.h"

namespace assetgen {

namespace {

// A clump of foliage: a lit ball with leafy light and dark flecks.
void Foliage(Canvas& c, Vec2 centre, float r, Colour dark, Colour light, const Noise& n) {
    FillLit(
        c, Circle(centre, r),
        [=, &n](Vec2 p) {
            const float fleck = n.At(p.x / 3.0f, p.y / 3.0f, 0);
            return Material{Mix(dark, light, 0.25f + fleck * 0.75f), 0.38f, 0.8f, 0.0f, 8};
        },
        r, Around(centre, r));
}

Material Bark(Colour base) {
    return Material{base, 0.45f, 0.65f, 0.0f, 8};
}

Canvas Palm() {
    Canvas c(128, 160);
    DrawGroundShadow(c, {64, 155}, 18, 4, 0.45f);
    const auto trunk = Bezier({64, 156}, {56, 122}, {72, 84}, {67, 56}, 24);
    FillLit(c, Stroke(trunk, Taper(trunk.size(), 6.0f, 3.8f)), [](Vec2 p) {
        const float ring = std::fmod(p.y + 400.0f, 7.0f);
        return Bark(ring < 1.6f ? Hex(0x5E4328) : Hex(0x9A774C));
    }, 5);
    const Vec2 crown{67, 54};
    // Fronds: the back ones first, darker, then the front ones.
    const float angles[] = {-150, -30, -110, -70, 170, 10, 140, 40, -175, 85};
    const float lengths[] = {52, 54, 42, 44, 54, 56, 48, 50, 36, 40};
    for (int i = 0; i < 10; ++i) {
        const Vec2 dir = Rotate({1, 0}, angles[i]);
        const float len = lengths[i];
        const Vec2 end = crown + Vec2{dir.x * len, dir.y * len * 0.55f + len * 0.45f};
        const Vec2 ctrl = crown + Vec2{dir.x * len * 0.55f, dir.y * len * 0.4f - len * 0.35f};
        const auto spine = Bezier(crown, ctrl, end, 20);
        std::vector<float> radii(spine.size());
        for (size_t k = 0; k < spine.size(); ++k) {
            const float t = static_cast<float>(k) / (spine.size() - 1);
            const float jag = 0.75f + 0.25f * std::fabs(std::sin(t * 26.0f));
            radii[k] = 7.5f * std::pow(std::sin(3.14159f * std::pow(t, 0.6f)), 0.8f) * jag + 0.4f;
        }
        const bool back = i < 4;
        const Colour dark = back ? Hex(0x1F5A1E) : Hex(0x2F7A24);
        const Colour light = back ? Hex(0x3F8A2E) : Hex(0x7CC04A);
        FillLit(c, Stroke(spine, radii), [=](Vec2 p) {
            return Matte(Mix(dark, light, Clamp01(1.0f - Length(p - crown) / 60.0f + 0.3f)));
        }, 3);
        Fill(c, Stroke(spine, Taper(spine.size(), 0.9f, 0.2f)), Hex(0x1E4A16, 0.6f));
        if (i == 5) {
            for (int k = 0; k < 3; ++k)
                FillLit(c, Circle(crown + Vec2{-4.0f + k * 4.0f, 5.0f + (k % 2) * 2.0f}, 4.0f),
                        Glossy(Hex(0x6B4A22), 0.3f), 4);
        }
    }
    return c;
}

Canvas Hut() {
    Canvas c(128, 128);
    DrawGroundShadow(c, {64, 123}, 54, 6, 0.45f);
    const Noise n(311);
    // Plank wall.
    Fill(c, Box({64, 98}, 40, 26), [&n](Vec2 p) {
        const int plank = static_cast<int>(p.x / 8);
        const float tone = 0.8f + 0.2f * n.At(static_cast<float>(plank), 0.5f, 0, 1);
        const bool seam = std::fmod(p.x, 8.0f) < 1.0f;
        return Scaled(Hex(0xB98A52), seam ? 0.6f : tone);
    });
    Fill(c, Box({64, 77}, 40, 5), Grey(0.0f, 0.35f));
    FillLit(c, Box({64, 108}, 9, 16, 1), Matte(Hex(0x5A3A1E)), 2);
    Fill(c, Circle({70, 108}, 1.2f), Hex(0xE0C060));
    for (float x : {36.0f, 92.0f}) {
        FillLit(c, Box({x, 96}, 9, 8, 1), Matte(Hex(0x7A5330)), 2);
        Fill(c, Box({x, 96}, 6.5f, 5.5f), Hex(0x2A3A48));
        Fill(c, Box({x, 96}, 0.8f, 5.5f), Hex(0x7A5330));
    }
    // Thatched roof with a ragged fringe.
    const Field roof = Union(Polygon({{6, 82}, {122, 82}, {98, 22}, {30, 22}}),
                             [](Vec2 p) {
                                 if (p.x < 6 || p.x > 122) return 1.0f;
                                 const float tooth = 3.0f * std::fabs(std::sin(p.x * 0.55f));
                                 return std::max(p.y - (85.0f + tooth), 78.0f - p.y);
                             });
    FillLit(c, Intersect(roof, Box({64, 55}, 60, 35)), [&n](Vec2 p) {
        const float strand = n.At(p.x / 1.6f, p.y / 9.0f, 0, 2);
        return Matte(Mix(Hex(0x9C7A32), Hex(0xE2C46E), strand));
    }, 6);
    FillLit(c, Box({64, 22}, 35, 3, 3), Matte(Hex(0x8A6A2C)), 3);
    return c;
}

Canvas Parasol() {
    Canvas c(96, 96);
    DrawGroundShadow(c, {48, 92}, 12, 3, 0.4f);
    FillCylinder(c, Box({48, 66}, 1.6f, 26), 46.4f, 49.6f, Glossy(Hex(0xDADADA), 0.5f));
    const Vec2 apex{48, 30};
    const Field canopy = [](Vec2 p) {
        const Vec2 d = p - Vec2{48, 36};
        const float a = std::atan2(d.y, d.x);
        const float scallop = 1.0f - 0.05f * std::fabs(std::sin(a * 4));
        return DistEllipse(p, {48, 36}, 43 * scallop, 24 * scallop);
    };
    FillLit(c, canopy, [apex](Vec2 p) {
        const Vec2 d = p - apex;
        const float a = std::atan2(d.y * 1.8f, d.x) + 3.14159f;
        const bool red = static_cast<int>(a / (3.14159f / 4)) % 2 == 0;
        return Glossy(red ? Hex(0xE0342A) : Hex(0xF6F2E6), 0.2f);
    }, 16);
    FillLit(c, Circle(apex, 2.5f), Glossy(Hex(0xDADADA), 0.6f), 2);
    return c;
}

Canvas Tree() {
    Canvas c(128, 128);
    DrawGroundShadow(c, {64, 123}, 26, 5, 0.45f);
    const Noise n(321);
    const Field trunk = Union(Capsule({64, 124}, {64, 70}, 7.5f, 5.0f),
                              Union(Capsule({64, 121}, {54, 126}, 3.5f, 1.5f), Capsule({64, 121}, {75, 126}, 3.5f, 1.5f)));
    FillLit(c, trunk, [&n](Vec2 p) {
        return Bark(Mix(Hex(0x4E3520), Hex(0x7C5A3A), n.At(p.x / 1.5f, p.y / 8.0f, 0)));
    }, 6);
    struct Ball {
        float x, y, r;
    };
    std::vector<Ball> balls = {{-24, -62, 19}, {24, -62, 19}, {0, -82, 24}, {-26, -82, 17}, {26, -82, 17},
                               {-14, -100, 17}, {14, -100, 17}, {0, -52, 20}, {-13, -60, 16}, {13, -58, 16}};
    std::sort(balls.begin(), balls.end(), [](const Ball& a, const Ball& b) { return a.y < b.y; });
    for (const Ball& b : balls)
        Foliage(c, {64 + b.x, 124 + b.y}, b.r, Hex(0x1F5E1E), Hex(0x6DB646), n);
    return c;
}

Canvas Bush() {
    Canvas c(64, 48);
    DrawGroundShadow(c, {32, 44}, 24, 4, 0.4f);
    const Noise n(331);
    const float balls[][3] = {{-13, -13, 11}, {13, -13, 11}, {0, -22, 13}, {-5, -11, 10}, {8, -10, 10}};
    for (const auto& b : balls) Foliage(c, {32 + b[0], 46 + b[1]}, b[2], Hex(0x215A1C), Hex(0x5FA63C), n);
    Rng rng(332);
    for (int i = 0; i < 9; ++i) {
        const Vec2 p{rng.Range(14, 50), rng.Range(14, 38)};
        FillLit(c, Circle(p, 1.7f), Glossy(Hex(0xC8202C), 0.7f), 1.5f);
    }
    return c;
}

Canvas Rock() {
    Canvas c(64, 48);
    DrawGroundShadow(c, {32, 42}, 27, 5, 0.45f);
    const Noise n(341);
    const Field lump = Union(Ellipse({30, 30}, 22, 14), Union(Ellipse({40, 24}, 14, 12), Ellipse({22, 26}, 12, 10)));
    Relief rock;
    rock.outline = [lump, &n](Vec2 p) { return lump(p) + (n.At(p.x / 5, p.y / 5, 0) - 0.5f) * 3.0f; };
    rock.height = [lump, &n](Vec2 p) {
        return std::sqrt(std::max(-lump(p), 0.0f)) * 4.0f + n.At(p.x / 4, p.y / 4, 0, 1) * 3.0f;
    };
    rock.material = [&n](Vec2 p) {
        const float moss = SmoothStep(0.6f, 0.8f, n.At(p.x / 7, p.y / 7, 0, 2)) * SmoothStep(32, 18, p.y);
        return Matte(Mix(Mix(Hex(0x77736C), Hex(0xA19C92), n.At(p.x / 2, p.y / 2, 0, 3)), Hex(0x5E7E3A), moss));
    };
    DrawRelief(c, rock);
    return c;
}

Canvas Stump() {
    Canvas c(48, 40);
    DrawGroundShadow(c, {24, 36}, 18, 4, 0.45f);
    const Noise n(351);
    const Material bark = Bark(Hex(0x6A4A2C));
    FillLit(c, Capsule({12, 34}, {5, 37}, 3, 1.5f), bark, 2);
    FillLit(c, Capsule({36, 34}, {43, 37}, 3, 1.5f), bark, 2);
    FillCylinder(c, Box({24, 26}, 12, 9, 2), 12, 36, bark);
    Fill(c, Box({24, 26}, 12, 9, 2), [&n](Vec2 p) {
        return Hex(0x2A1A0C, 0.5f * SmoothStep(0.55f, 0.7f, n.At(p.x / 1.2f, p.y / 6, 0)));
    });
    Fill(c, Ellipse({24, 17}, 12, 5), [](Vec2 p) {
        const float r = Length({(p.x - 24) / 12, (p.y - 17) / 5});
        const float ring = 0.5f + 0.5f * std::cos(r * 22);
        return Mix(Hex(0xC49A62), Hex(0xE2C08A), ring * (1 - r * 0.4f));
    });
    return c;
}

Canvas Flowers() {
    Canvas c(48, 32);
    DrawGroundShadow(c, {24, 27}, 20, 4, 0.3f);
    const Noise n(361);
    const float leaves[][3] = {{-12, -9, 8}, {10, -9, 8}, {0, -12, 9}};
    for (const auto& l : leaves) Foliage(c, {24 + l[0], 30 + l[1]}, l[2], Hex(0x2C6A22), Hex(0x6AB044), n);
    const uint32_t colours[] = {0xE83A5A, 0xFFD030, 0xA050E0, 0xFF7A2A, 0xF4F4F4};
    const float spots[][2] = {{10, 16}, {20, 10}, {30, 14}, {38, 19}, {16, 22}, {27, 21}};
    for (int i = 0; i < 6; ++i) {
        const Vec2 p{spots[i][0], spots[i][1]};
        for (int k = 0; k < 5; ++k)
            FillLit(c, Circle(p + Rotate({0, -2.2f}, k * 72.0f), 1.9f), Glossy(Hex(colours[i % 5]), 0.2f), 1.5f);
        Fill(c, Circle(p, 1.2f), Hex(0xF0B020));
    }
    return c;
}

Canvas Fir() {
    Canvas c(96, 128);
    DrawGroundShadow(c, {48, 123}, 24, 5, 0.45f);
    FillCylinder(c, Box({48, 116}, 5, 9), 43, 53, Bark(Hex(0x5A3E26)));
    const Noise n(371);
    for (int tier = 0; tier < 4; ++tier) {
        const float top = 6.0f + tier * 22.0f;
        const float bottom = top + 40.0f + tier * 4.0f;
        const float half = 18.0f + tier * 8.0f;
        const Field cone = [=](Vec2 p) {
            const float ragged = 2.5f * std::fabs(std::sin(p.x * 0.45f));
            return std::max(DistPolygon(p, {{48, top}, {48 + half, bottom}, {48 - half, bottom}}),
                            p.y - bottom + ragged);
        };
        FillLit(c, cone, [&n](Vec2 p) {
            return Matte(Mix(Hex(0x163F24), Hex(0x2F6E3A), n.At(p.x / 2, p.y / 2, 0)));
        }, 7);
        // Snow lying along the upper part of the tier.
        const float line = top + (bottom - top) * 0.5f;
        const Field snow = Intersect(Grow(cone, -1.5f), [=](Vec2 p) {
            return p.y - (line + 4.0f * std::sin(p.x * 0.35f + tier));
        });
        FillLit(c, snow, Material{Hex(0xF4F8FF), 0.55f, 0.55f, 0.1f, 8}, 3);
    }
    return c;
}

Canvas Snowman() {
    Canvas c(64, 96);
    DrawGroundShadow(c, {32, 92}, 22, 5, 0.45f);
    const Material snow{Hex(0xF2F6FF), 0.5f, 0.6f, 0.1f, 8};
    for (float s : {-1.0f, 1.0f}) {
        const Vec2 a{32 + s * 12, 46}, b{32 + s * 27, 34};
        FillLit(c, Union(Line(a, b, 2.2f), Line(b - Vec2{s * 4, 1}, b + Vec2{s * 1, -5}, 1.6f)),
                Bark(Hex(0x5A3A1E)), 1);
    }
    DrawBall(c, {32, 74}, 19, snow);
    DrawBall(c, {32, 47}, 14, snow);
    for (float y : {42.0f, 49.0f, 56.0f}) DrawBall(c, {32, y}, 1.6f, Glossy(Hex(0x202020), 0.5f));
    // Scarf.
    FillLit(c, Ellipse({32, 34}, 11, 3.2f), Matte(Hex(0xC8262C)), 2);
    FillLit(c, Box({38, 40}, 2.6f, 6, 1, -12), Matte(Hex(0xC8262C)), 2);
    DrawBall(c, {32, 24}, 10.5f, snow);
    for (float s : {-1.0f, 1.0f}) DrawBall(c, {32 + s * 3.8f, 21.5f}, 1.4f, Glossy(Hex(0x101010), 0.6f));
    FillLit(c, Polygon({{31, 24}, {31, 27.5f}, {43, 27}}), Glossy(Hex(0xF07A1E), 0.3f), 1.5f);
    // Top hat.
    FillLit(c, Ellipse({32, 15}, 11, 2.6f), Glossy(Hex(0x1A1A1E), 0.4f), 2);
    FillLit(c, Box({32, 8}, 7, 7, 1), Glossy(Hex(0x1A1A1E), 0.4f), 3);
    Fill(c, Box({32, 12.5f}, 7, 1.4f), Hex(0xB02028));
    return c;
}

Canvas Igloo() {
    Canvas c(128, 96);
    DrawGroundShadow(c, {64, 90}, 58, 6, 0.4f);
    const Vec2 centre{64, 86};
    Relief dome;
    dome.outline = [centre](Vec2 p) { return std::max(DistEllipse(p, centre, 54, 62), p.y - 88); };
    dome.height = [centre](Vec2 p) {
        const float dx = (p.x - centre.x) / 54, dy = (p.y - centre.y) / 62;
        return std::sqrt(std::max(1 - dx * dx - dy * dy, 0.0f)) * 50;
    };
    dome.material = [centre](Vec2 p) {
        const float dx = (p.x - centre.x) / 54;
        const float lat = (centre.y - p.y) / 62;
        const float row = lat * 6;
        const float across = std::asin(std::clamp(dx / std::sqrt(std::max(1 - lat * lat, 0.05f)), -1.0f, 1.0f));
        const float joint = std::fmod(across * 4 + (static_cast<int>(row) % 2) * 0.5f + 10, 1.0f);
        const bool seam = std::fmod(row, 1.0f) < 0.1f || joint < 0.05f;
        return Material{seam ? Hex(0xA9C3D8) : Hex(0xF0F6FC), 0.5f, 0.6f, 0.15f, 10};
    };
    DrawRelief(c, dome);
    FillLit(c, Intersect(Union(Circle({64, 66}, 17), Box({64, 78}, 17, 10)), [](Vec2 p) { return p.y - 90; }),
            Material{Hex(0xE8F0F8), 0.5f, 0.6f, 0.1f, 8}, 5);
    Fill(c, Intersect(Union(Circle({64, 70}, 10), Box({64, 80}, 10, 10)), [](Vec2 p) { return p.y - 90; }),
         Hex(0x233448));
    return c;
}

}  // namespace

ImageSet MakeNatureProps() {
    return {
        {"palm1", Palm(), true},   {"hut1", Hut(), true},     {"parasol1", Parasol(), true},
        {"tree1", Tree(), true},   {"bush1", Bush(), true},   {"rock1", Rock(), true},
        {"stump1", Stump(), true}, {"flower1", Flowers(), true}, {"fir1", Fir(), true},
        {"snowman1", Snowman(), true}, {"igloo1", Igloo(), true},
    };
}

}  // namespace assetgen
