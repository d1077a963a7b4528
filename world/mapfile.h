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
// A map file is read up to this many bytes (4097 objects with the longest
// kinds take under 1.5 MB), and an object's kind is at most this many bytes,
// so a huge file or line costs no more than a real map.
constexpr size_t MAP_FILE_MAX_BYTES = 4u * 1024u * 1024u;
constexpr size_t MAP_KIND_MAX_BYTES = 255;

// The file's bytes for the world's objects and waypoints.
std::vector<uint8_t> MapFile_Encode(const tworld& world);
// Writes the map file (replacing it in one step); false when it cannot.
bool World_Save(const tworld& world, const std::string& file_name);

// Reads a map file's objects into the world after its current ones (setting
// kind, x, y, ai, dynamic and colour; every other field keeps what the slot
// held) and replaces its waypoints. Files are edited by hand, so the reader
// never trusts them: only the first 4097 objects and waypoints are kept (the
// rest of a longer list is skipped), and at the first line that is missing,
// a kind longer than MAP_KIND_MAX_BYTES or not a number that fits its field (ai and dynamic 0..255, coordinates
// within MAP_COORDINATE_LIMIT, so no arithmetic on them can overflow) reading stops,
// keeping the objects and waypoints read completely before it. A lone LF ends
// a line as well as CR LF. Returns the number of objects read.
int32_t MapFile_Read(const std::vector<uint8_t>& bytes, tworld& world);
