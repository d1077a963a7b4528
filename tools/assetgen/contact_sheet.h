// contact_sheet.h: every generated texture on one picture, each with its
// name, to look the whole art set over at a glance.
#pragma once

#include <string>

#include "catalog.h"

namespace assetgen {

class Typeface;

// Share registry first, then the object registry, each under a heading.
// Textures keep their size up to a cell's width and are scaled down beyond
// it; a chequer under each shows what is transparent.
Canvas ContactSheet(const ImageSet& shared, const ImageSet& objects, const Typeface& face);

// 8-bit RGB PNG of the canvas over opaque black, or RGBA keeping its
// transparency; false when it cannot be written.
bool WritePng(const std::string& path, const Canvas& canvas, bool keep_alpha = false);

}  // namespace assetgen
