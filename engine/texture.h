// texture.h: the engine's texture store. Every texture handle the game holds
// points at a record kept here. The pixels are held once, as 32-bit ARGB
// words, the software target's own format:
// - a canvas drawing into a software target reads them in place, every frame;
// - a canvas on a GPU renderer uploads them the first time it draws the
//   texture and then releases them, keeping only the size. From then on only
//   that canvas can draw the texture; a canvas made later draws nothing for it.
//   Loading the textures again (after Textures_ReleaseAll, which starts a new
//   generation with new ids) is the only way to get the pixels back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/oe.h"

namespace oe {

struct TextureRecord : OE_TextureRec {
    std::vector<uint32_t> argb;   // width * height words 0xAARRGGBB, rows from the top; empty once released
    bool opaque = false;          // every texel at alpha 255
    std::string file;             // loaded from this file: unloaded pixels are decoded from it again
    uint32_t colour_key = 0;
};

// A part of a texture drawn into a rectangle of the screen (glyphs of a font).
struct TexturePatch {
    float x = 0, y = 0, w = 0, h = 0;            // destination
    int src_x = 0, src_y = 0, src_w = 0, src_h = 0;   // source pixels
};

// Stores a texture of w x h pixels given as RGBA bytes; null unless rgba holds
// exactly w * h * 4 bytes. Ids are never reused within a process, so a cache
// keyed by id stays valid.
// With `pixels_later` the store keeps only the size and whether it is opaque:
// the pixels come from the texture's file when first drawn (Texture_Pixels).
OE_Texture Texture_Create(int w, int h, std::vector<uint8_t> rgba, bool pixels_later = false);

// The store's record behind a handle; null for null or for a record that the
// store did not create (or has released).
const TextureRecord* Texture_Find(const OE_TextureRec* texture);

// Drops a texture's pixels once a renderer holds its own copy; the record,
// its id and its size stay, and the pixels never come back.
void Texture_ReleasePixels(const OE_TextureRec* texture);

// A texture's pixels for drawing: decoded again from its file when they were
// unloaded; empty when released, or when the file no longer gives them.
const std::vector<uint32_t>& Texture_Pixels(const TextureRecord& texture);

// Drops the pixels of a texture loaded from a file until they are next drawn,
// so textures not in use take no memory; others keep theirs.
void Texture_Unload(const OE_TextureRec* texture);

// Lets one texture go: Find refuses its handle from now on (a record of a few
// bytes stays, so a stale handle is still safe to look up).
void Texture_Release(const OE_TextureRec* texture);

// Counts the textures let go one by one, so canvases can drop their uploads of them.
uint64_t Textures_Released();
// Whether the store still holds the texture with this id.
bool Texture_Held(int32_t id);

// Frees every texture; every handle handed out before becomes invalid.
void Textures_ReleaseAll();

// Changes each time Textures_ReleaseAll runs, so canvases can drop their uploads.
uint64_t Textures_Generation();

}  // namespace oe
