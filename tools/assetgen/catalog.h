// catalog.h: generated pictures, named as the game looks them up.
#pragma once

#include <string>
#include <vector>

#include "raster.h"

namespace assetgen {

class Typeface;

struct Image {
    std::string name;     // file stem: "lamp1", "car_tp5", "g_but"
    Canvas canvas;
    bool listed = false;  // offered by the map editor (its kind goes into list.txt)
};

using ImageSet = std::vector<Image>;

// The image of that name; an empty canvas when there is none.
const Canvas& FindImage(const ImageSet& set, const std::string& name);

// The object registry: ground tiles, props, markers, bonuses and cars.
ImageSet MakeTiles();
ImageSet MakeNatureProps();
ImageSet MakeCityProps();
ImageSet MakeMarkers();
ImageSet MakeCars();
// The racer ("turbo") seen from above, turned by `degrees`, its body in `top`,
// on a transparent square of `size` pixels: the game's icon.
Canvas RacerPicture(int size, float degrees, Colour top);
// The game's icon for desktops, `size` pixels square with transparent corners.
Canvas AppIcon(int size);

// The share registry: interface skins, menu pictures, help pages, the
// countdown badge and the particle sprites. The track pictures are renders of
// the tracks, made after the generator by the track renderer.
ImageSet MakeInterface();
ImageSet MakePictures(const Typeface& face);
ImageSet MakeHelpPages(const Typeface& face, const ImageSet& objects);

// "list.txt": the kind of every listed image (its name without the final
// "1"), one per line with CR LF, in the set's order.
std::string EditorList(const ImageSet& objects);

}  // namespace assetgen
