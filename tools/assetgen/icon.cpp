// The game's icon: the racer crossing a chequered line on a rounded tile in
// the menus' blue, drawn afresh at every size so small ones stay sharp.
#include <algorithm>
#include <cmath>

#include "catalog.h"
#include "shapes.h"
#include "sketch.h"

namespace assetgen {

Canvas AppIcon(int size) {
    const float s = static_cast<float>(size);
    const Vec2 centre{s / 2, s / 2};
    const float half = s * 0.46f;
    Canvas icon(size, size);
    const Field tile = Box(centre, half, half, s * 0.2f);
    FillLit(icon, tile, [&](Vec2 p) { return Glossy(Mix(Hex(0x2F7AD0), Hex(0x12345E), p.y / s), 0.35f); },
            std::max(1.0f, s * 0.04f));
    // A chequered band across the tile, two rows of squares, inside its corners.
    const int columns = 8;
    const float cell = 2 * half / columns;
    const float band_top = s * 0.58f;
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < columns; ++col) {
            const Vec2 c{centre.x - half + (col + 0.5f) * cell, band_top + (row + 0.5f) * cell};
            const Colour colour = (row + col) % 2 ? Hex(0x101418, 0.85f) : Hex(0xF2F4F6, 0.9f);
            const Field square = Box(c, cell / 2, cell / 2);
            Fill(icon, [&](Vec2 p) { return std::max(square(p), tile(p)); }, colour);
        }
    const int car = static_cast<int>(std::lround(s * 0.86f));
    const Canvas racer = RacerPicture(car, -35.0f, Hex(0xE8362C));
    Composite(icon, racer, (s - car) / 2, (s - car) / 2 - s * 0.03f, car, car);
    return icon;
}

}  // namespace assetgen
