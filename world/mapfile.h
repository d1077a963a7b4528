// mapfile.h: the map file, "wld\" + name + ".wld". Plain text, one value a
// line, CR LF line ends:
//   N; N blocks of kind (the rest of the line), x, y, ai, dynamic, colour;
//   M; M blocks of x, y.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/world.h"

// The farthest a map's object or waypoint may lie from the origin, in pixels
// along each axis: tracks span a few thousand.
constexpr int32_t MAP_COORDINATE_LIMIT = 1000000;

// The file's bytes for the world's objects and waypoints.
std::vector<uint8_t> MapFile_Encode(const tworld& world);
// Writes the map file (replacing it in one step); false when it cannot.
bool World_Save(const tworld& world, const std::string& file_name);

// Reads a map file's objects into the world after its current ones (setting
// kind, x, y, ai, dynamic and colour; every other field keeps what the slot
// held) and replaces its waypoints. Files are edited by hand, so the reader
// never trusts them: only the first 4097 objects and waypoints are kept (the
// rest of a longer list is skipped), and at the first line that is missing or
// is not a number that fits its field (ai and dynamic 0..255, coordinates
// within MAP_COORDINATE_LIMIT, so no arithmetic on them can overflow) reading stops,
// keeping the objects and waypoints read completely before it. A lone LF ends
// a line as well as CR LF. Returns the number of objects read.
int32_t MapFile_Read(const std::vector<uint8_t>& bytes, tworld& world);
