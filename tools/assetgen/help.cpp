// The two help pages, drawn over the help window below the title (their
// top rows and their bottom rows stay clear of the title and the buttons).
#include <string>

#include "catalog.h"
#include "shapes.h"
#include "sketch.h"
#include "text.h"

namespace assetgen {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 364;

void Heading(Canvas& c, const Typeface& face, const std::string& text) {
    DrawOutlinedText(c, face, text, 30, 60, 78, Align::Left,
                     [](Vec2 p) { return Mix(Hex(0xFFF07A), Hex(0xFF8A1E), p.y); }, Hex(0x2A0E04), 2, 1.0f);
}

// White text with a soft drop shadow; a line wider than `room` is set
// smaller until it fits.
void Say(Canvas& c, const Typeface& face, const std::string& text, float x, float y, int size = 18,
         int room = kWidth) {
    while (size > 11 && face.Measure(text, size) > room) --size;
    DrawText(c, face, text, size, x + 2, y + 2, Align::Left, Hex(0x000000, 0.6f));
    DrawText(c, face, text, size, x, y, Align::Left, Hex(0xFFFFFF));
}

void Bullet(Canvas& c, const Typeface& face, const std::string& text, float y) {
    FillLit(c, Circle({70, y - 6}, 4), Glossy(Hex(0xFF8A1E), 0.5f), 2);
    Say(c, face, text, 84, y);
}

Canvas Overview(const Typeface& face, const ImageSet& objects) {
    Canvas c(kWidth, kHeight);
    Heading(c, face, "Overview");
    Bullet(c, face, "The Tournament: sixteen tracks, four laps each.", 128);
    Bullet(c, face, "Finish first to unlock the next track.", 162);
    Bullet(c, face, "Every fourth win unlocks the next car.", 196);
    Bullet(c, face, "Losing a tournament race costs 1000 points.", 230);
    Bullet(c, face, "Free Race replays any track you have unlocked.", 264);
    Bullet(c, face, "Drive over the bonuses to score their points.", 298);

    FillLit(c, Box({640, 214}, 110, 104, 14), Material{Hex(0x0C1622, 0.55f), 0.8f, 0.3f, 0, 8}, 4);
    DrawText(c, face, "Bonuses", 20, 640, 138, Align::Centre, Hex(0xFFE45A), 0.6f);
    const char* names[] = {"bn_slw1", "bn_spd1", "bn_oil1"};
    const char* points[] = {"10 points", "80 points", "150 points"};
    for (int i = 0; i < 3; ++i) {
        const float y = 154.0f + i * 54;
        Composite(c, FindImage(objects, names[i]), 566, y, 44, 44);
        Say(c, face, points[i], 624, y + 30);
    }
    return c;
}

// A key cap with a label or an arrow on it.
void Key(Canvas& c, const Typeface& face, Vec2 centre, float hw, const std::string& label, float arrow = -1) {
    Fill(c, Box(centre + Vec2{0, 3}, hw + 1, 21, 6), Grey(0.0f, 0.6f));
    FillLit(c, Box(centre, hw, 19, 6), Glossy(Hex(0xE4E8EE), 0.3f), 6);
    if (arrow >= 0) {
        std::vector<Vec2> tri;
        for (int k = 0; k < 3; ++k) tri.push_back(centre + Rotate({0, k == 0 ? -9.0f : 6.0f}, arrow + (k == 1 ? 45.0f : k == 2 ? -45.0f : 0.0f)));
        Fill(c, Polygon(tri), Hex(0x2A3440));
    } else {
        DrawText(c, face, label, 15, centre.x, centre.y + 6, Align::Centre, Hex(0x2A3440), 0.4f);
    }
}

// A dark, rounded panel behind a group of lines.
void Board(Canvas& c, const Typeface& face, float x0, float y0, float x1, float y1, const std::string& title) {
    FillLit(c, Box({(x0 + x1) / 2, (y0 + y1) / 2}, (x1 - x0) / 2, (y1 - y0) / 2, 14),
            Material{Hex(0x0C1622, 0.55f), 0.8f, 0.3f, 0, 8}, 4);
    DrawText(c, face, title, 20, (x0 + x1) / 2, y0 + 28, Align::Centre, Hex(0xFFE45A), 0.6f);
}

Canvas Controls(const Typeface& face) {
    Canvas c(kWidth, kHeight);
    Heading(c, face, "Controls");
    // Driving: the arrow keys.
    const Vec2 up{130, 126};
    Key(c, face, up, 22, "", 0);
    Key(c, face, up + Vec2{-48, 46}, 22, "", 90);
    Key(c, face, up + Vec2{0, 46}, 22, "", 180);
    Key(c, face, up + Vec2{48, 46}, 22, "", 270);
    Say(c, face, "Up: accelerate", 60, 230, 17, 230);
    Say(c, face, "Down: brake, reverse", 60, 256, 17, 230);
    Say(c, face, "Left, Right: steer", 60, 282, 17, 230);
    Say(c, face, "A game pad works too: stick", 60, 316, 14, 230);
    Say(c, face, "steers, A drives, B reverses.", 60, 336, 14, 230);

    // The keys that work everywhere.
    const struct {
        const char* key;
        const char* action;
    } keys[] = {{"Esc", "pause the race"}, {"F11", "main menu"}, {"F12", "map editor"}};
    for (int i = 0; i < 3; ++i) {
        const float y = 128.0f + i * 50;
        Key(c, face, {320, y}, 26, keys[i].key);
        Say(c, face, keys[i].action, 356, y + 7, 17, 140);
    }

    // The menus: keys or a game pad, no mouse needed.
    const char* const menu_lines[] = {
        "Menus: arrows or Tab move,",
        "Enter or Space chooses,",
        "Esc goes back, Left/Right",
        "flip cars, colours, tracks.",
        "Pad: d-pad, A, B and Start.",
    };
    for (int i = 0; i < 5; ++i) Say(c, face, menu_lines[i], 296, 268.0f + i * 18, 14, 200);

    // The map editor: every edit wants Shift held.
    Board(c, face, 508, 96, 776, 336, "Map editor");
    const char* const lines[] = {
        "Hold Shift while you edit:",     "left click places the item",   "right click removes an object",
        "middle button drag paints",      "tick Way: click adds waypoints", "Undo drops the last waypoint",
        "F5 mirrors the whole track",     "mouse at an edge scrolls",
    };
    for (int i = 0; i < 8; ++i) Say(c, face, lines[i], 524, 150.0f + i * 24, 15, 238);
    return c;
}

}  // namespace

ImageSet MakeHelpPages(const Typeface& face, const ImageSet& objects) {
    return {
        {"help1", Overview(face, objects)},
        {"help2", Controls(face)},
    };
}

}  // namespace assetgen
