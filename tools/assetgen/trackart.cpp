// Track pictures "t0" to "t3": a bird's-eye view of a circuit in each
// group's setting, built from the game's own tiles, props and cars.
#include <algorithm>
#include <cmath>
#include <string>

#include "catalog.h"
#include "noise.h"
#include "shapes.h"
#include "sketch.h"
#include "text.h"

namespace assetgen {

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr float kScale = 0.5f;  // tiles and props at half size
constexpr float kRoad = 27;     // half width of the road

struct Setting {
    const char* title;
    const char* ground;
    const char* road;
    const char* water;  // a strip of sea along the top, or none
    std::vector<std::pair<const char*, int>> props;  // kind and how many, biggest first
    uint64_t seed;
};

// Distance from the circuit's centre line, a rounded rectangle.
float CircuitDistance(Vec2 p) { return std::fabs(DistBox(p, {200, 166}, 140, 84, 64)); }

// True when a sprite standing at `base` keeps off the road and the banner.
bool Clear(Vec2 base, float w, float h) {
    for (int j = 0; j <= 4; ++j)
        for (int i = 0; i <= 4; ++i) {
            const Vec2 p{base.x + w * (i / 4.0f - 0.5f) * 0.8f, base.y - h * (j / 4.0f) * 0.9f};
            if (CircuitDistance(p) < kRoad + 5) return false;
            if (p.x < 196 && p.y < 44) return false;
        }
    return true;
}

void TileInto(Canvas& c, const Canvas& tile, const Field& where) {
    const float size = tile.Width() * kScale;
    Fill(c, where, [&tile, size](Vec2 p) {
        return tile.Sample(std::fmod(p.x, size) / kScale, std::fmod(p.y, size) / kScale, true);
    });
}

void Place(Canvas& c, const Canvas& sprite, Vec2 base, float scale) {
    const float w = sprite.Width() * scale, h = sprite.Height() * scale;
    Composite(c, sprite, base.x - w / 2, base.y - h, w, h);
}

void Car(Canvas& c, const ImageSet& objects, const std::string& kind, int frame, Vec2 centre, uint32_t colour) {
    const Canvas& wheels = FindImage(objects, kind + "_wh" + std::to_string(frame));
    const Canvas& body = FindImage(objects, kind + "_tp" + std::to_string(frame));
    const float size = wheels.Width() * 0.6f;
    Composite(c, wheels, centre.x - size / 2, centre.y - size / 2, size, size);
    Composite(c, body, centre.x - size / 2 + 2, centre.y - size / 2 + 3, size, size, 0.35f, Grey(0.0f));
    Composite(c, body, centre.x - size / 2, centre.y - size / 2, size, size, 1.0f, Hex(colour));
}

Canvas Picture(const Typeface& face, const ImageSet& objects, const Setting& s) {
    Canvas c(kWidth, kHeight, Grey(0.0f, 1.0f));
    TileInto(c, FindImage(objects, std::string(s.ground) + "1"), Box({200, 150}, 200, 150));
    if (s.water) {
        const Noise n(s.seed);
        TileInto(c, FindImage(objects, std::string(s.water) + "1"), [&n](Vec2 p) {
            return p.y - (48 + 10 * n.At(p.x / 40, 0.5f, 0));
        });
    }
    // Road with kerbs on both edges and a start line across the bottom straight.
    TileInto(c, FindImage(objects, std::string(s.road) + "1"), [](Vec2 p) { return CircuitDistance(p) - kRoad; });
    Fill(c, [](Vec2 p) { return std::fabs(CircuitDistance(p) - kRoad + 2.5f) - 2.5f; }, [](Vec2 p) {
        const Vec2 d = p - Vec2{200, 166};
        const float along = (std::atan2(d.y, d.x) + 3.14159f) * 60;
        return std::fmod(along, 8.0f) < 4.0f ? Hex(0xD02A26) : Hex(0xF1F1EC);
    });
    Fill(c, Box({236, 250}, 6, kRoad - 5), [](Vec2 p) {
        const int i = static_cast<int>((p.x - 230) / 4), j = static_cast<int>((p.y - 223) / 4);
        return (i + j) % 2 ? Grey(0.1f) : Grey(0.95f);
    });

    // Props inside and outside the loop, kept off the road, drawn back to front.
    Rng rng(s.seed);
    std::vector<std::pair<Vec2, const char*>> placed;
    for (const auto& [kind, count] : s.props) {
        const Canvas& sprite = FindImage(objects, std::string(kind) + "1");
        const float spacing = std::max(sprite.Width(), sprite.Height()) * kScale * 0.45f;
        int left = count;
        for (int tries = 0; tries < 150 && left > 0; ++tries) {
            const Vec2 base{rng.Range(-8, 408), rng.Range(s.water ? 70.0f : 30.0f, 310)};
            if (!Clear(base, sprite.Width() * kScale, sprite.Height() * kScale)) continue;
            bool crowded = false;
            for (const auto& p : placed) crowded = crowded || Length(p.first - base) < spacing + 8;
            if (crowded) continue;
            placed.push_back({base, kind});
            --left;
        }
    }
    std::sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.first.y < b.first.y; });
    for (const auto& [base, kind] : placed) Place(c, FindImage(objects, std::string(kind) + "1"), base, kScale);

    Car(c, objects, "turbo", 13, {270, 238}, 0xEB4C37);
    Car(c, objects, "car", 13, {300, 262}, 0x4B88C3);
    Car(c, objects, "jeep", 13, {190, 240}, 0x00FF00);
    Car(c, objects, "tank", 5, {120, 80}, 0x87B05F);

    // Title banner and a bevelled frame.
    Fill(c, Box({96, 22}, 90, 15, 7), Hex(0x0C1622, 0.7f));
    DrawText(c, face, s.title, 20, 96, 29, Align::Centre, Hex(0xFFE45A), 0.6f);
    Fill(c, Subtract(Box({200, 150}, 200, 150), Box({200, 150}, 195, 145, 4)), Hex(0x14202E));
    Fill(c, Subtract(Box({200, 150}, 196, 146, 4), Box({200, 150}, 194, 144, 4)), Hex(0x9CC4EA, 0.6f));
    return c;
}

}  // namespace

ImageSet MakeTrackPictures(const Typeface& face, const ImageSet& objects) {
    const Setting settings[] = {
        {"Sunny Beach", "lnd_sand", "lnd_dirt", "lnd_water",
         {{"hut", 2}, {"palm", 9}, {"parasol", 4}, {"rak", 4}}, 701},
        {"Forestville", "lnd_grass", "lnd_road", nullptr,
         {{"tree", 12}, {"bush", 6}, {"rock", 4}, {"stump", 3}, {"flower", 5}}, 702},
        {"Ice Land", "lnd_snow", "lnd_ice", nullptr,
         {{"igloo", 2}, {"fir", 12}, {"snowman", 3}, {"pen", 4}, {"sball", 3}}, 703},
        {"Big City", "lnd_pavement", "lnd_asphalt", nullptr,
         {{"flats", 3}, {"house", 4}, {"lamp", 6}, {"tyres", 5}, {"cone", 6}}, 704},
    };
    ImageSet set;
    for (int i = 0; i < 4; ++i) set.push_back({"t" + std::to_string(i), Picture(face, objects, settings[i])});
    return set;
}

}  // namespace assetgen
