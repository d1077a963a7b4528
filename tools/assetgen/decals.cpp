// Decals are faint by design: thin at their edges, never a hard border, so a
// few of them vary a stretch of road or ground without cluttering it.
#include "decals.h"

#include <cmath>
#include <map>

#include "noise.h"
#include "shading.h"
#include "shapes.h"
#include "sketch.h"

namespace assetgen {

namespace {

// 1 inside a wobbly capsule from a (radius ra) to b (radius rb), fading to 0
// over `feather` px inside its outline.
float Cover(const Noise& n, Vec2 p, Vec2 a, Vec2 b, float ra, float rb, float wobble, float feather) {
    const float d = DistCapsule(p, a, b, ra, rb) + wobble * (2 * n.At(p.x / 9, p.y / 9, 0) - 1);
    return 1 - SmoothStep(-feather, 0, d);
}

// A drift of sand or snow blown into a tongue from a to b: grainy, lit from
// the top left where it is deep, thin and see-through at its edges.
Canvas Drift(uint32_t seed, int w, int h, Vec2 a, Vec2 b, float ra, float rb, Colour low, Colour high, float opacity) {
    Canvas c(w, h);
    const Noise n(seed);
    auto cover = [&](Vec2 p) { return Cover(n, p, a, b, ra, rb, 8, 18); };
    const Vec3 l = LightDirection();
    Wash(c, [&](Vec2 p) {
        const float k = cover(p);
        if (k <= 0) return Colour{};
        const Vec3 normal = Normalised({-(cover({p.x + 1, p.y}) - cover({p.x - 1, p.y})) * 1.5f,
                                        -(cover({p.x, p.y + 1}) - cover({p.x, p.y - 1})) * 1.5f, 1});
        const float light = (normal.x * l.x + normal.y * l.y + normal.z * l.z) / l.z;
        const float ripple = std::sin(p.x * 0.7f + p.y * 0.45f + 4 * n.At(p.x / 12, p.y / 12, 0, 3));
        const Colour tone = Mix(low, high, n.At(p.x / 2, p.y / 2, 0, 5) * 0.6f + k * 0.4f);
        return WithAlpha(Scaled(tone, light * (1 + 0.04f * ripple)), opacity * k);
    });
    return c;
}

Canvas SandDrift() { return Drift(701, 96, 56, {24, 28}, {72, 26}, 13, 15, Hex(0xCDB37C), Hex(0xEAD6A2), 0.85f); }
Canvas SandTongue() { return Drift(702, 88, 60, {22, 38}, {70, 20}, 13, 6, Hex(0xCDB37C), Hex(0xE8D39E), 0.8f); }
Canvas SandDust() { return Drift(703, 80, 68, {34, 34}, {46, 34}, 20, 18, Hex(0xD4BB85), Hex(0xE6D09C), 0.45f); }
Canvas SnowDrift() { return Drift(704, 92, 56, {22, 28}, {68, 26}, 12, 14, Hex(0xD5E0EC), Hex(0xFAFCFE), 0.95f); }

// A small leaf with its shadow and a darker rib down its middle.
void Leaf(Canvas& c, Vec2 at, float length, float angle, Colour colour) {
    const float half = length / 2;
    Fill(c, Box(at + Vec2{0.6f, 0.8f}, half, half / 2.2f, half / 2.2f, angle), Grey(0.0f, 0.25f), Around(at, length));
    Fill(c, Box(at, half, half / 2.2f, half / 2.2f, angle), colour, Around(at, length));
    const Vec2 tip = Rotate({half * 0.8f, 0}, angle);
    Fill(c, Line(at - tip, at + tip, 0.35f), Scaled(colour, 0.7f), Around(at, length));
}

Colour AutumnColour(Rng& rng) {
    const uint32_t colours[] = {0x8A4B1F, 0xB5651D, 0xC9A227, 0x6B3A1A, 0x9C7A2E, 0x7A5A22};
    return Hex(colours[rng.Below(6)]);
}

// Leaves gathered round the middle, on a damp patch when `damp`.
Canvas Leaves(uint32_t seed, int w, int h, int count, bool damp) {
    Canvas c(w, h);
    const Noise n(seed);
    const Vec2 mid{w / 2.0f, h / 2.0f};
    if (damp)
        Wash(c, [&](Vec2 p) {
            return Hex(0x3A2A16, 0.22f * Cover(n, p, mid - Vec2{w * 0.22f, 0}, mid + Vec2{w * 0.22f, 0}, h * 0.3f,
                                               h * 0.3f, 5, 10));
        });
    Rng rng(seed + 1);
    for (int i = 0; i < count; ++i) {
        // Denser towards the middle: the sum of two uniform numbers.
        const Vec2 at{mid.x + (rng.Signed() + rng.Signed()) * w * 0.22f,
                      mid.y + (rng.Signed() + rng.Signed()) * h * 0.22f};
        Leaf(c, at, rng.Range(4.5f, 7.0f), rng.Range(0, 360), AutumnColour(rng));
    }
    return c;
}

Canvas LeafLitter() { return Leaves(711, 96, 64, 70, true); }
Canvas FallenLeaves() { return Leaves(712, 64, 48, 14, false); }

Canvas Twigs() {
    Canvas c = Leaves(713, 64, 48, 6, false);
    Rng rng(714);
    for (int i = 0; i < 3; ++i) {
        const Vec2 a{rng.Range(10, 30), rng.Range(10, 38)};
        const Vec2 b = a + Rotate({rng.Range(18, 30), 0}, rng.Range(-30, 30));
        const Vec2 mid = (a + b) * 0.5f + Vec2{rng.Signed() * 3, rng.Signed() * 3};
        const auto stick = Bezier(a, mid, b, 8);
        Fill(c, Stroke(stick, Taper(stick.size(), 1.1f, 0.5f)), Grey(0.0f, 0.25f), {});
        FillLit(c, Stroke(stick, Taper(stick.size(), 0.9f, 0.4f)), Matte(Hex(0x5E4129)), 0.8f);
        const Vec2 fork = Bezier(a, mid, b, 8)[4];
        FillLit(c, Line(fork, fork + Rotate({6, 0}, rng.Range(20, 60)), 0.4f), Matte(Hex(0x5E4129)), 0.5f);
    }
    return c;
}

// Feathery frost crystals, each a star of barbed arms, fading out at the rim.
Canvas Frost(uint32_t seed, int size, int crystals) {
    Canvas c(size, size);
    Rng rng(seed);
    const Vec2 mid{size / 2.0f, size / 2.0f};
    for (int k = 0; k < crystals; ++k) {
        const Vec2 at = mid + Rotate({rng.Range(0, size * 0.3f), 0}, rng.Range(0, 360));
        const float fade = 0.7f * (1 - Length(at - mid) / (size * 0.45f));
        const float turn = rng.Range(0, 60);
        for (int arm = 0; arm < 6; ++arm) {
            const float angle = turn + arm * 60.0f;
            const float len = rng.Range(5, 11);
            const Vec2 tip = at + Rotate({len, 0}, angle);
            Fill(c, Line(at, tip, 0.45f), Hex(0xF4FAFF, fade), Around(at, len + 2));
            for (float t : {0.45f, 0.7f}) {
                const Vec2 base = at + (tip - at) * t;
                for (float side : {-1.0f, 1.0f})
                    Fill(c, Line(base, base + Rotate({len * 0.3f, 0}, angle + side * 45), 0.35f), Hex(0xF4FAFF, fade),
                         Around(base, len));
            }
        }
    }
    return c;
}

// Branching cracks wandering out from the middle.
void Crack(Canvas& c, Rng& rng, Vec2 from, float heading, int steps, Colour colour, Colour under) {
    Vec2 p = from;
    for (int s = 0; s < steps; ++s) {
        heading += rng.Range(-35, 35);
        const Vec2 q = p + Rotate({rng.Range(4, 8), 0}, heading);
        if (under.a > 0) Fill(c, Line(p + Vec2{0.8f, 0.8f}, q + Vec2{0.8f, 0.8f}, 0.7f), under, Around(p, 12));
        Fill(c, Line(p, q, 0.6f), colour, Around(p, 12));
        if (rng.Uniform() < 0.25f)
            Crack(c, rng, q, heading + rng.Range(40, 80) * (rng.Uniform() < 0.5f ? -1 : 1), (steps - s) / 2, colour,
                  under);
        p = q;
    }
}

Canvas Cracks(uint32_t seed, int w, int h, Colour colour, Colour under) {
    Canvas c(w, h);
    Rng rng(seed);
    const Vec2 mid{w / 2.0f, h / 2.0f};
    for (int k = 0; k < 3; ++k) Crack(c, rng, mid, k * 120.0f + rng.Range(-30, 30), 5, colour, under);
    return c;
}

Canvas IceCrack() { return Cracks(721, 80, 80, Hex(0xFFFFFF, 0.75f), Hex(0x5F95AE, 0.35f)); }
Canvas AsphaltCracks() { return Cracks(722, 80, 64, Hex(0x111114, 0.7f), Colour{}); }

Canvas Oil() {
    Canvas c(64, 48);
    const Noise n(731);
    Wash(c, [&n](Vec2 p) {
        const float k = Cover(n, p, {22, 24}, {42, 24}, 14, 12, 5, 7);
        if (k <= 0) return Colour{};
        // A rainbow sheen where the film thins out.
        const float rim = k * (1 - k) * 4;
        const Colour sheen = Mix(Hex(0x5A3A80), Hex(0x3A8060), n.At(p.x / 5, p.y / 5, 0, 2));
        return WithAlpha(Mix(Hex(0x0F0F13), sheen, rim * 0.35f), 0.45f * k);
    });
    return c;
}

Canvas Manhole() {
    Canvas c(40, 40);
    const Vec2 mid{20, 20};
    DrawGroundShadow(c, mid + Vec2{0.8f, 1.0f}, 19, 19, 0.3f);
    FillLit(c, Circle(mid, 18), Glossy(Hex(0x4C4C50), 0.25f), 1.5f);
    Fill(c, Ring(mid, 15.5f, 0.8f), Hex(0x2C2C30));
    // A raised grid of studs, then the two lifting holes.
    for (int y = -3; y <= 3; ++y)
        for (int x = -3; x <= 3; ++x) {
            const Vec2 at = mid + Vec2{x * 4.0f, y * 4.0f};
            if (Length(at - mid) < 13.5f) FillLit(c, Box(at, 1.3f, 1.3f, 0.5f), Glossy(Hex(0x5E5E63), 0.3f), 0.8f);
        }
    for (float s : {-1.0f, 1.0f}) Fill(c, Box(mid + Vec2{s * 8, 0}, 1.6f, 0.8f, 0.6f), Hex(0x141416));
    return c;
}

// A patch of newer asphalt, a shade darker and smoother, sealed round its edge.
Canvas Repair() {
    Canvas c(96, 64);
    const Noise n(741);
    // Cut by hand: the edges wander a little.
    const Field box = Box({48, 32}, 38, 22, 6, 6);
    const Field patch = [&n, box](Vec2 p) { return box(p) + 1.5f * (2 * n.At(p.x / 7, p.y / 7, 0, 3) - 1); };
    Fill(c, Grow(patch, 1.2f), Hex(0x18181C, 0.25f));
    Fill(c, patch, [&n](Vec2 p) {
        const float chip = n.At(std::floor(p.x), std::floor(p.y), 0, 7);
        return WithAlpha(Mix(Hex(0x36363C), Hex(0x48484E), n.At(p.x / 6, p.y / 6, 0) * 0.6f + (chip > 0.85f) * 0.4f),
                         0.3f);
    });
    return c;
}

Canvas Flowers(uint32_t seed, Colour petal, Colour heart) {
    Canvas c(48, 40);
    Rng rng(seed);
    const Vec2 mid{24, 20};
    for (int i = 0; i < 8; ++i) {
        const Vec2 at = mid + Rotate({rng.Range(2, 14), 0}, rng.Range(0, 360));
        Fill(c, Capsule(at, at + Rotate({4, 0}, rng.Range(0, 360)), 1.1f, 0.3f), Hex(0x2F6E24, 0.9f), Around(at, 6));
    }
    for (int i = 0; i < 7; ++i) {
        const Vec2 at = mid + Vec2{rng.Signed() * 15, rng.Signed() * 12};
        const float turn = rng.Range(0, 72);
        for (int k = 0; k < 5; ++k)
            Fill(c, Circle(at + Rotate({0, -1.7f}, turn + k * 72.0f), 1.3f), petal, Around(at, 4));
        Fill(c, Circle(at, 0.9f), heart, Around(at, 2));
    }
    return c;
}

// Blades springing from a clump; `straw` for dry grass.
Canvas Tuft(uint32_t seed, int w, int h, int blades, Colour dark, Colour light, float reach) {
    Canvas c(w, h);
    Rng rng(seed);
    const Vec2 base{w / 2.0f, h - 8.0f};
    DrawGroundShadow(c, base + Vec2{2, 1}, w * 0.3f, 4, 0.3f);
    for (int i = 0; i < blades; ++i) {
        const Vec2 root = base + Vec2{rng.Signed() * 4, rng.Signed() * 1.5f};
        const float angle = rng.Range(-65, 65);
        const Vec2 tip = root + Rotate({0, -rng.Range(reach * 0.5f, reach)}, angle);
        const Vec2 bend = (root + tip) * 0.5f + Vec2{angle * 0.04f, 0};
        const auto blade = Bezier(root, bend, tip, 6);
        Fill(c, Stroke(blade, Taper(blade.size(), 0.8f, 0.15f)), Mix(dark, light, rng.Uniform()), {});
    }
    return c;
}

Canvas GrassTuft() { return Tuft(751, 40, 32, 26, Hex(0x2A5E1E), Hex(0x7DBA4E), 16); }
Canvas DryGrass() { return Tuft(752, 56, 48, 30, Hex(0x8E7A48), Hex(0xD6C284), 26); }

Canvas Stones() {
    Canvas c(48, 32);
    Rng rng(761);
    for (int i = 0; i < 5; ++i) {
        const Vec2 at{rng.Range(10, 38), rng.Range(10, 24)};
        const float r = rng.Range(2.0f, 4.5f);
        DrawGroundShadow(c, at + Vec2{1.2f, 1.5f}, r * 1.2f, r * 0.8f, 0.35f);
        DrawBall(c, at, r, Matte(Mix(Hex(0x7C7A74), Hex(0xB4B0A6), rng.Uniform())), 0.75f);
    }
    return c;
}

// Two scallop shells, ribbed fans, and a small spiral one.
Canvas Shells() {
    Canvas c(48, 32);
    const struct {
        Vec2 at;
        float r, angle;
        uint32_t colour;
    } fans[] = {{{14, 18}, 7, 10, 0xF2D9C6}, {{32, 12}, 5.5f, -25, 0xE8C3A8}};
    for (const auto& f : fans) {
        const Field fan = Intersect(Circle(f.at, f.r), Polygon({f.at + Rotate({0, 2}, f.angle),
                                                                f.at + Rotate({-f.r * 1.2f, -f.r * 1.2f}, f.angle),
                                                                f.at + Rotate({f.r * 1.2f, -f.r * 1.2f}, f.angle)}));
        DrawGroundShadow(c, f.at + Vec2{1, 0}, f.r, f.r * 0.6f, 0.3f);
        FillLit(c, fan, Matte(Hex(f.colour)), 2);
        for (int k = -3; k <= 3; ++k)
            Fill(c, Line(f.at + Rotate({0, 1}, f.angle), f.at + Rotate({0, -f.r}, f.angle + k * 13.0f), 0.3f),
                 Hex(0xA07A64, 0.5f), Around(f.at, f.r + 1));
    }
    const Vec2 snail{34, 24};
    FillLit(c, Circle(snail, 3.2f), Matte(Hex(0xF5EBDD)), 1.5f);
    Fill(c, Ring(snail + Vec2{0.4f, 0.3f}, 1.6f, 0.35f), Hex(0x9C7E62, 0.7f));
    return c;
}

// Wind ripples in a patch of finer sand.
Canvas Ripples() {
    Canvas c(96, 64);
    const Noise n(771);
    Wash(c, [&n](Vec2 p) {
        const float k = Cover(n, p, {30, 32}, {66, 32}, 22, 22, 6, 16);
        const float wave = std::sin((p.x * 0.35f - p.y * 0.9f) + 3 * n.At(p.x / 14, p.y / 14, 0, 1));
        const Colour tone = wave > 0 ? Hex(0xF2E2B6) : Hex(0xB89C68);
        return WithAlpha(tone, k * 0.45f * std::fabs(wave));
    });
    return c;
}

// A penguin's three-toed prints waddling across.
Canvas Footprints() {
    Canvas c(96, 40);
    for (int k = 0; k < 6; ++k) {
        const Vec2 heel{10.0f + k * 15.0f, 22.0f + (k % 2 ? 5.0f : -5.0f)};
        for (float toe : {-30.0f, 0.0f, 30.0f})
            Fill(c, Capsule(heel, heel + Rotate({5, 0}, toe), 1.1f, 0.7f), Hex(0x7F98B4, 0.55f), Around(heel, 8));
    }
    return c;
}

Canvas Puddle() {
    Canvas c(72, 48);
    const Noise n(781);
    Wash(c, [&n](Vec2 p) {
        const float k = Cover(n, p, {26, 24}, {46, 22}, 15, 13, 6, 1.5f);
        const float wet = Cover(n, p, {26, 24}, {46, 22}, 18, 16, 6, 3) - k;
        if (k <= 0) return Hex(0x0C0C10, 0.3f * wet);
        // The sky's reflection brightens towards the top left.
        const float sky = Clamp01(1 - (p.x + p.y) / 90);
        return WithAlpha(Mix(Hex(0x1E2630), Hex(0x5A6C80), sky * 0.8f), 0.8f * k);
    });
    return c;
}

Canvas Litter() {
    Canvas c(48, 40);
    DrawGroundShadow(c, {16, 22}, 9, 6, 0.3f);
    FillLit(c, Polygon({{8, 18}, {14, 12}, {22, 15}, {24, 22}, {17, 27}, {9, 24}}), Matte(Hex(0xE9E7DF)), 2);
    Fill(c, Line({12, 16}, {20, 23}, 0.3f), Hex(0x9A978E, 0.6f));
    DrawGroundShadow(c, {33, 30}, 8, 3.5f, 0.35f);
    FillCylinder(c, Capsule({27, 28}, {38, 28}, 3, 3), 27, 38, Glossy(Hex(0xB52020), 0.5f));
    Fill(c, Box({38, 28}, 1.2f, 3, 1), Hex(0xC8C8CC));
    FillLit(c, Circle({36, 14}, 1.8f), Glossy(Hex(0xC8A030), 0.5f), 1);
    return c;
}

struct DecalKind {
    const char* name;
    Canvas (*paint)();
};

const DecalKind kDecals[] = {
    {"lnd_dcl_sand_drift", SandDrift},
    {"lnd_dcl_sand_tongue", SandTongue},
    {"lnd_dcl_sand_dust", SandDust},
    {"lnd_dcl_leaf_litter", LeafLitter},
    {"lnd_dcl_fallen_leaves", FallenLeaves},
    {"lnd_dcl_twigs", Twigs},
    {"lnd_dcl_snow_drift", SnowDrift},
    {"lnd_dcl_frost", [] { return Frost(791, 80, 7); }},
    {"lnd_dcl_oil", Oil},
    {"lnd_dcl_manhole", Manhole},
    {"lnd_dcl_repair", Repair},
    {"lnd_dcl_flowers_white", [] { return Flowers(801, Hex(0xFFFFFF), Hex(0xE0A41E)); }},
    {"lnd_dcl_flowers_yellow", [] { return Flowers(802, Hex(0xFFE14A), Hex(0xE08A1E)); }},
    {"lnd_dcl_tuft", GrassTuft},
    {"lnd_dcl_stones", Stones},
    {"lnd_dcl_shells", Shells},
    {"lnd_dcl_ripples", Ripples},
    {"lnd_dcl_dry_grass", DryGrass},
    {"lnd_dcl_footprints", Footprints},
    {"lnd_dcl_ice_crack", IceCrack},
    {"lnd_dcl_cracks", AsphaltCracks},
    {"lnd_dcl_puddle", Puddle},
    {"lnd_dcl_litter", Litter},
};

}  // namespace

const std::vector<std::string>& DecalsOn(const std::string& style_or_ground) {
    static const std::map<std::string, std::vector<std::string>> kOn = {
        {"beach", {"lnd_dcl_sand_drift", "lnd_dcl_sand_tongue", "lnd_dcl_sand_dust"}},
        {"forest", {"lnd_dcl_leaf_litter", "lnd_dcl_fallen_leaves", "lnd_dcl_twigs"}},
        {"icy", {"lnd_dcl_snow_drift", "lnd_dcl_frost"}},
        {"city", {"lnd_dcl_oil", "lnd_dcl_manhole", "lnd_dcl_repair"}},
        {"lnd_grass", {"lnd_dcl_flowers_white", "lnd_dcl_flowers_yellow", "lnd_dcl_tuft", "lnd_dcl_stones"}},
        {"lnd_sand", {"lnd_dcl_shells", "lnd_dcl_ripples", "lnd_dcl_dry_grass"}},
        {"lnd_snow", {"lnd_dcl_snow_drift", "lnd_dcl_footprints"}},
        {"lnd_ice", {"lnd_dcl_ice_crack", "lnd_dcl_frost"}},
        {"lnd_asphalt", {"lnd_dcl_cracks", "lnd_dcl_puddle", "lnd_dcl_litter"}},
        {"lnd_pavement", {"lnd_dcl_cracks", "lnd_dcl_puddle", "lnd_dcl_litter"}},
    };
    static const std::vector<std::string> kNone;
    const auto it = kOn.find(style_or_ground);
    return it == kOn.end() ? kNone : it->second;
}

ImageSet MakeDecals() {
    ImageSet set;
    for (const DecalKind& d : kDecals) set.push_back({std::string(d.name) + "1", d.paint(), false});
    return set;
}

}  // namespace assetgen
