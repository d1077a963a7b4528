// The four car kinds, each a small relief model seen from above and turned
// to the sixteen headings. The "_wh" layer carries the chassis, wheels and
// tracks; the "_tp" layer the body in neutral grey, which the game tints.
#include <cmath>
#include <future>
#include <string>
#include <utility>
#include <vector>

#include "catalog.h"
#include "shading.h"
#include "shapes.h"

namespace assetgen {

namespace {

constexpr int kCarSize = 64;

// One piece of a model in model space: x right, y down, nose towards -y.
// Where pieces overlap the later one is on top.
struct Part {
    std::function<float(Vec2)> dist;
    std::function<float(Vec2)> height;
    std::function<Material(Vec2)> material;
};

using Model = std::vector<Part>;

Material Paint(float level, float specular = 0.25f) {
    return {Grey(level), 0.42f, 0.7f, specular, 18.0f};
}

Material Tinted(uint32_t rgb, float specular) { return {Hex(rgb), 0.42f, 0.7f, specular, 30.0f}; }

// A raised slab whose edge rounds over `bevel` pixels.
Part Slab(Field dist, float base, float rise, float bevel, Material m) {
    auto d = dist;
    return {std::move(dist),
            [d, base, rise, bevel](Vec2 p) {
                const float t = Clamp01(-d(p) / bevel);
                return base + rise * std::sqrt(1.0f - (1.0f - t) * (1.0f - t));
            },
            [m](Vec2) { return m; }};
}

Part Slab(Field dist, float base, float rise, float bevel, std::function<Material(Vec2)> m) {
    Part part = Slab(std::move(dist), base, rise, bevel, Material{});
    part.material = std::move(m);
    return part;
}

// A tyre seen from above: a cylinder across x with tread ribs along y.
Part Tyre(Vec2 c, float hw, float hh, float base) {
    return {[=](Vec2 p) { return DistBox(p, c, hw, hh, 1.8f); },
            [=](Vec2 p) {
                const float u = Clamp01(std::fabs(p.x - c.x) / hw);
                return base + 3.0f * std::sqrt(1.0f - u * u);
            },
            [=](Vec2 p) {
                const float rib = std::fmod(std::fabs(p.y - c.y + 40.0f), 2.6f) < 1.3f ? 0.13f : 0.2f;
                return Material{Grey(rib), 0.45f, 0.6f, 0.05f, 8.0f};
            }};
}

// A tank track: a long belt with cross links.
Part Track(Vec2 c, float hw, float hh) {
    return {[=](Vec2 p) { return DistBox(p, c, hw, hh, 2.0f); },
            [=](Vec2 p) {
                const float u = Clamp01(std::fabs(p.x - c.x) / hw);
                const float link = std::fmod(p.y - c.y + 60.0f, 3.0f) < 1.0f ? 0.6f : 0.0f;
                return 2.0f + 2.0f * std::sqrt(1.0f - u * u) + link;
            },
            [=](Vec2 p) {
                const float link = std::fmod(p.y - c.y + 60.0f, 3.0f) < 1.0f ? 0.3f : 0.17f;
                const float rim = std::fabs(p.x - c.x) > hw - 1.2f ? 0.12f : link;
                return Material{Grey(rim), 0.45f, 0.65f, 0.1f, 10.0f};
            }};
}

Material Glass() { return {Hex(0x2B3440), 0.5f, 0.5f, 0.9f, 40.0f}; }

// The coupe: rear-driven on wider rear tyres.
Model SedanWheels() {
    Model m;
    m.push_back(Slab(Box({0, 0}, 10, 19.5f, 4), 0, 2, 2, Paint(0.18f)));
    for (float sx : {-1.0f, 1.0f}) {
        m.push_back(Tyre({sx * 10.6f, -13.0f}, 3.2f, 5.6f, 1));
        m.push_back(Tyre({sx * 11.4f, 13.0f}, 4.0f, 6.0f, 1));
    }
    return m;
}

// A sleek coupe: a long bonnet tapering to a rounded nose, wide rear
// haunches, the cabin set well back and a lip spoiler on the tail.
Model SedanBody() {
    Model m;
    const Field body = [](Vec2 p) {
        const float taper = Clamp01((-p.y - 2.0f) / 20.0f);
        const float w = 12.0f - 3.2f * taper * taper;
        return DistBox(p, {0, 0.5f}, w, 21.5f, 6.5f);
    };
    m.push_back(Slab(body, 0, 5.5f, 4.5f, [](Vec2 p) {
        // Two creases run down the bonnet.
        const float crease = std::fabs(std::fabs(p.x) - 3.8f) < 0.5f && p.y < -9 ? -0.08f : 0;
        return Paint(0.9f + crease, 0.35f);
    }));
    const Field cabin = Box({0, 5.5f}, 9.4f, 9.5f, 4.5f);
    const Field roof = Box({0, 7.0f}, 7.2f, 5.0f, 3.0f);
    m.push_back(Slab(cabin, 5.5f, 4.5f, 3.2f, [roof](Vec2 p) {
        return roof(p) > 0 ? Glass() : Paint(0.93f, 0.3f);
    }));
    m.push_back(Slab(Box({0, 20.4f}, 11.0f, 1.3f, 0.8f), 5.5f, 1.5f, 0.8f, Paint(0.75f, 0.4f)));
    for (float sx : {-1.0f, 1.0f}) {
        m.push_back(Slab(Ellipse({sx * 5.4f, -20.0f}, 2.4f, 1.2f), 4, 1, 1, Tinted(0xFFFFF0, 0.8f)));
        m.push_back(Slab(Ellipse({sx * 8.2f, 21.6f}, 2.4f, 0.9f), 4, 1, 1, Paint(0.42f)));
        // Mirrors stick out beside the windscreen.
        m.push_back(Slab(Ellipse({sx * 11.2f, -3.0f}, 1.6f, 1.1f), 4, 2, 1, Paint(0.85f)));
    }
    return m;
}

Model JeepWheels() {
    Model m;
    m.push_back(Slab(Box({0, 0}, 11, 18.5f, 3), 0, 2, 2, Paint(0.2f)));
    for (float sx : {-1.0f, 1.0f})
        for (float sy : {-1.0f, 1.0f}) m.push_back(Tyre({sx * 12.6f, sy * 12.0f}, 4.4f, 7.0f, 1));
    // The spare wheel hangs on the tailgate.
    m.push_back(Slab(Box({0, 21.2f}, 6.5f, 2.6f, 2.0f), 2, 3, 2, [](Vec2 p) {
        return std::fabs(p.x) < 2.2f ? Paint(0.45f, 0.4f) : Material{Grey(0.14f), 0.45f, 0.6f, 0.05f, 8};
    }));
    return m;
}

Model JeepBody() {
    Model m;
    m.push_back(Slab(Box({0, 0}, 12.4f, 19.5f, 3.0f), 0, 6, 2.0f, [](Vec2 p) {
        // Grille slots across the nose.
        if (p.y < -18.2f && std::fmod(std::fabs(p.x) + 0.5f, 2.0f) < 0.9f && std::fabs(p.x) < 6)
            return Paint(0.35f);
        return Paint(0.86f, 0.2f);
    }));
    // The open cab, sunk into the body.
    m.push_back(Slab(Box({0, 6.0f}, 10.4f, 11.0f, 2.0f), 6, -3.5f, 1.2f, Paint(0.34f, 0.05f)));
    for (float sx : {-1.0f, 1.0f})
        m.push_back(Slab(Box({sx * 5.2f, 1.0f}, 3.6f, 3.6f, 1.5f), 2.5f, 3.0f, 1.5f, Paint(0.55f, 0.1f)));
    m.push_back(Slab(Box({0, 10.5f}, 9.2f, 3.2f, 1.5f), 2.5f, 3.0f, 1.5f, Paint(0.55f, 0.1f)));
    // Windscreen and its frame.
    m.push_back(Slab(Box({0, -5.5f}, 11.0f, 1.4f, 0.6f), 6, 2.5f, 0.7f, Glass()));
    m.push_back(Slab(Box({0, -3.8f}, 11.4f, 0.7f, 0.5f), 6, 3.0f, 0.6f, Paint(0.8f)));
    // Roll bar over the seats.
    m.push_back(Slab(Capsule({-11, 5.5f}, {11, 5.5f}, 1.3f, 1.3f), 7, 2.5f, 1.3f, Paint(0.92f, 0.6f)));
    for (float sx : {-1.0f, 1.0f})
        m.push_back(Slab(Circle({sx * 8.6f, -18.6f}, 2.0f), 5, 1.5f, 1.5f, Tinted(0xFFFFF0, 0.9f)));
    return m;
}

Model TankTracks() {
    Model m;
    m.push_back(Slab(Box({0, 0}, 9, 20, 2), 0, 2, 2, Paint(0.2f)));
    for (float sx : {-1.0f, 1.0f}) m.push_back(Track({sx * 10.8f, 0}, 5.4f, 21.5f));
    return m;
}

Model TankBody() {
    Model m;
    m.push_back(Slab(Box({0, 0.5f}, 9.6f, 20.0f, 2.0f), 0, 6, 3.0f, [](Vec2 p) {
        // Engine deck louvres at the back.
        if (p.y > 11 && p.y < 18 && std::fabs(p.x) < 6.5f && std::fmod(p.y, 2.0f) < 0.8f)
            return Paint(0.45f);
        return Paint(0.84f, 0.15f);
    }));
    m.push_back(Slab(Circle({0, 2.0f}, 8.6f), 6, 4.5f, 5.0f, Paint(0.9f, 0.3f)));
    m.push_back(Slab(Capsule({0, -5.5f}, {0, -26.5f}, 1.7f, 1.5f), 8.5f, 1.5f, 1.6f, Paint(0.8f, 0.5f)));
    m.push_back(Slab(Box({0, -26.8f}, 2.3f, 1.6f, 0.8f), 8.5f, 2.0f, 1.0f, Paint(0.6f, 0.3f)));
    m.push_back(Slab(Circle({3.0f, 5.0f}, 2.6f), 10.5f, 0.8f, 1.0f, Paint(0.7f, 0.3f)));
    return m;
}

Model RacerWheels() {
    Model m;
    m.push_back(Slab(Box({0, 0}, 7, 18, 3), 0, 1.5f, 1.5f, Paint(0.18f)));
    for (float sx : {-1.0f, 1.0f}) {
        for (float y : {-14.0f, -10.0f, 10.0f, 14.0f})
            m.push_back(Slab(Capsule({sx * 4, y}, {sx * 11, y > 0 ? 12.0f : -12.0f}, 0.7f, 0.7f), 1, 1, 0.7f,
                             Paint(0.3f, 0.4f)));
        m.push_back(Tyre({sx * 12.8f, -12.0f}, 3.6f, 5.0f, 1));
        m.push_back(Tyre({sx * 13.0f, 12.0f}, 4.6f, 6.0f, 1));
    }
    return m;
}

Model RacerBody() {
    Model m;
    m.push_back(Slab(Box({0, -23.5f}, 14.0f, 2.0f, 1.0f), 0, 3, 1.5f, [](Vec2 p) {
        return std::fabs(p.x) > 12.5f ? Paint(0.5f) : Paint(0.88f, 0.4f);
    }));
    m.push_back(Slab(Capsule({0, -24.0f}, {0, -6.0f}, 2.4f, 5.2f), 0, 5, 3.5f, Paint(0.92f, 0.5f)));
    m.push_back(Slab(Box({0, 5.0f}, 8.6f, 8.5f, 4.0f), 0, 5, 3.5f, Paint(0.88f, 0.4f)));
    m.push_back(Slab(Capsule({0, -1.0f}, {0, 17.0f}, 5.0f, 2.8f), 3, 4, 3.0f, Paint(0.93f, 0.5f)));
    m.push_back(Slab(Ellipse({0, -3.5f}, 3.4f, 5.2f), 5, -2.5f, 1.0f, Paint(0.22f, 0.05f)));
    m.push_back(Slab(Circle({0, -2.2f}, 2.6f), 3, 4.0f, 2.6f, Tinted(0xF2F2F2, 0.9f)));
    m.push_back(Slab(Box({0, 21.8f}, 12.0f, 2.6f, 1.0f), 6, 2.5f, 1.2f, [](Vec2 p) {
        return std::fabs(p.x) > 10.6f ? Paint(0.45f) : Paint(0.9f, 0.5f);
    }));
    return m;
}

// The model turned to heading `degrees` (counter-clockwise from up) and
// lit from the screen's top left, on a square of `size` pixels (the model is
// drawn for kCarSize; distances and heights scale with it, so the light falls
// alike at every size).
Canvas RenderModel(const Model& model, float degrees, int size = kCarSize) {
    const float k = float(kCarSize) / float(size);   // model units per pixel
    const Vec2 centre{kCarSize * 0.5f, kCarSize * 0.5f};
    auto local = [centre, degrees, k](Vec2 p) { return Rotate(p * k - centre, -degrees); };
    auto top = [&model](Vec2 q) -> const Part* {
        for (auto it = model.rbegin(); it != model.rend(); ++it)
            if (it->dist(q) < 0) return &*it;
        return nullptr;
    };
    Relief relief;
    relief.outline = [&model, local, k](Vec2 p) {
        const Vec2 q = local(p);
        float d = 1e9f;
        for (const Part& part : model) d = std::min(d, part.dist(q));
        return d / k;
    };
    relief.height = [local, top, k](Vec2 p) {
        const Vec2 q = local(p);
        const Part* part = top(q);
        return part ? part->height(q) / k : 0.0f;
    };
    relief.material = [local, top](Vec2 p) {
        const Vec2 q = local(p);
        const Part* part = top(q);
        return part ? part->material(q) : Material{};
    };
    Canvas canvas(size, size);
    DrawRelief(canvas, relief);
    return canvas;
}

struct CarKind {
    const char* name;
    Model wheels;
    Model body;
};

}  // namespace

ImageSet MakeCars() {
    const CarKind kinds[] = {
        {"jeep", JeepWheels(), JeepBody()},
        {"car", SedanWheels(), SedanBody()},
        {"tank", TankTracks(), TankBody()},
        {"turbo", RacerWheels(), RacerBody()},
    };
    // One job per kind; the set keeps its fixed order.
    std::vector<std::future<ImageSet>> jobs;
    for (const CarKind& kind : kinds)
        jobs.push_back(std::async(std::launch::async, [&kind] {
            ImageSet frames;
            for (int d = 1; d <= 16; ++d) {
                const float heading = (d - 1) * 22.5f;
                frames.push_back({std::string(kind.name) + "_wh" + std::to_string(d),
                                  RenderModel(kind.wheels, heading)});
                frames.push_back({std::string(kind.name) + "_tp" + std::to_string(d),
                                  RenderModel(kind.body, heading)});
            }
            return frames;
        }));
    ImageSet set;
    for (auto& job : jobs)
        for (Image& image : job.get()) set.push_back(std::move(image));
    // The editor places cars too; its preview shows the whole car facing up.
    for (const CarKind& kind : kinds) {
        Canvas preview = FindImage(set, std::string(kind.name) + "_wh1");
        Composite(preview, FindImage(set, std::string(kind.name) + "_tp1"), 0, 0, kCarSize, kCarSize);
        set.push_back({std::string(kind.name) + "1", preview, true});
    }
    return set;
}

Canvas RacerPicture(int size, float degrees, Colour top) {
    Canvas picture = RenderModel(RacerWheels(), degrees, size);
    const Canvas body = RenderModel(RacerBody(), degrees, size);
    // The body is drawn white for the game to tint; here it takes `top`.
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Colour c = body.Get(x, y);
            c.r *= top.r;
            c.g *= top.g;
            c.b *= top.b;
            picture.Blend(x, y, c);
        }
    return picture;
}

}  // namespace assetgen
