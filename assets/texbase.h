// texbase.h: texture registries found by name, and the name lists that fill them.
//
// A registry is loaded once from an asset folder ("gfx\share\", "gfx\obj\") and
// then only searched: a texture's name is its file name without extension,
// compared exactly and case-sensitively. A name that is not there yields the
// registry's first texture, so a misspelt name still draws something.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/oe.h"

constexpr int32_t FLIST_CAPACITY = 1025;
constexpr size_t FLIST_LINE_BYTES = 256;   // a longer line of a list file is cut there
constexpr int32_t TEXBASE_CAPACITY = 4097;

// A list of up to 1025 names; a value, copied whole where it is kept.
struct TF_list {
    std::array<std::string, FLIST_CAPACITY> names;
    int32_t count = 0;
};

void FList_Clear(TF_list& list);
// Appends at index count; a full list drops the name.
void FList_Add(TF_list& list, const std::string& name);
// The names (no folder) of the files matching a mask such as "prf\*.*" or
// "gfx\obj\*.tga", in name order; empty when the folder is missing. Only the
// first 1025 fit.
TF_list FList_FromFolder(const std::string& mask);
// Scrolls a list by one place: +1 moves the last name to the front, -1 the
// first name to the end; any other direction, or an empty list, changes nothing.
void FList_Rotate(TF_list& list, int32_t direction);
// The file's lines in order (LF or CR LF ends, the ends not kept); a last line
// without an end counts, a final end adds nothing. A missing file gives an
// empty list; only the first 1025 lines fit.
TF_list FList_FromTextFile(const std::string& path);
// The same for text already in memory.
TF_list FList_FromText(std::string_view text);

// "car_wh1.tga" -> "car_wh1", "a.b.tga" -> "a.b"; only a dot after the last
// folder separator ('\', ':' or '/') starts an extension.
std::string StripExt(const std::string& file_name);

struct _PTexture {
    std::string name;               // file stem
    OE_Texture texture = nullptr;   // null when the file did not load
};

struct TBase {
    std::array<_PTexture, TEXBASE_CAPACITY> entries;
    int32_t count = 0;
};

// Loads the file and appends an entry named after its stem, even when the load
// failed (the entry then holds null). A full registry ignores the file. With
// `on_demand` the file is checked now and its pixels decoded when first drawn.
void TexBase_Add(TBase& base, const std::string& path, bool on_demand = false);
// Every "*.tga" of the folder (a path ending in "\"), then every "*.jpg".
// With `on_demand` the pixels of each are decoded only when it is first drawn,
// so a folder of many takes little memory.
void TexBase_LoadFolder(TBase& base, const std::string& folder, bool on_demand = false);
// Every texture of the registry gives its pixels back until next drawn.
void TexBase_Unload(const TBase& base);
// The first entry named exactly `name`; entry 0 when none is; null when empty.
OE_Texture TexBase_Find(const TBase& base, const std::string& name);

extern TBase share_registry;    // "gfx\share\": interface images and particles
extern TBase object_registry;   // "gfx\obj\": ground, objects, cars, bonuses
