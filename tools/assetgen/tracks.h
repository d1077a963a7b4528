// tracks.h: the game's sixteen tracks as map files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog.h"

namespace assetgen {

struct TrackFile {
    std::string name;             // "beach1": written as wld/beach1.wld
    std::vector<uint8_t> bytes;   // the map file
};

// Every track, each layout forwards and reversed; empty
// with `error` set when a layout is not a valid course.
std::vector<TrackFile> MakeTracks(const ImageSet& objects, std::string& error);

}  // namespace assetgen
