// The plain land tiles the editor offers: the grounds, the start line and the
// plain road (tarmac with red and white kerbs) with its edges and corners.
#include "catalog.h"
#include "grounds.h"
#include "road_pieces.h"
#include "road_styles.h"
#include "shapes.h"
#include "surface.h"

namespace assetgen {

namespace {

// The start line: a chequered band across the middle, clear elsewhere, so
// it lies over any ground; stacked tiles continue the pattern.
Canvas StartLine() {
    Canvas tile(kCell, kCell);
    Fill(tile, Box({64, 64}, 18, 64), Grey(0.97f, 0.95f));
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 2; ++col)
            if ((row + col) % 2 == 0) Fill(tile, Box({48.0f + 16 * col + 8, 16.0f * row + 8}, 8, 8), Grey(0.08f));
    return tile;
}

}  // namespace

ImageSet MakeTiles() {
    ImageSet set;
    auto add = [&set](const std::string& kind, Canvas canvas) { set.push_back({kind + "1", std::move(canvas), true}); };
    const Canvas road = SandBlownTarmac();
    for (const char* ground : {"lnd_sand", "lnd_grass", "lnd_snow", "lnd_ice", "lnd_asphalt"})
        add(ground, PaintGround(ground, 0));
    add("lnd_road", road);
    for (const char* ground : {"lnd_dirt", "lnd_pavement", "lnd_water"}) add(ground, PaintGround(ground, 0));
    add("lnd_start", StartLine());
    for (Image& piece : MakeRoadEdges("lnd_", road, PaintKerb)) set.push_back(std::move(piece));
    return set;
}

}  // namespace assetgen
