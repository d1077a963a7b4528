// texture.h: the engine's texture store. Every texture handle the game holds
// points at a record kept here; the pixels stay in memory so any canvas can
// upload them whenever it first draws the texture.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/oe.h"

namespace oe {

struct TextureRecord : OE_TextureRec {
    std::vector<uint8_t> rgba;   // width * height * 4 bytes, rows from the top
};

// A part of a texture drawn into a rectangle of the screen (glyphs of a font).
struct TexturePatch {
    float x = 0, y = 0, w = 0, h = 0;            // destination
    int src_x = 0, src_y = 0, src_w = 0, src_h = 0;   // source pixels
};

// Stores a texture of w x h pixels; null unless rgba holds exactly w * h * 4 bytes.
// Ids are never reused within a process, so a cache keyed by id stays valid.
OE_Texture Texture_Create(int w, int h, std::vector<uint8_t> rgba);

// The store's record behind a handle; null for null or for a record that the
// store did not create (or has released).
const TextureRecord* Texture_Find(const OE_TextureRec* texture);

// Frees every texture; every handle handed out before becomes invalid.
void Textures_ReleaseAll();

// Changes each time Textures_ReleaseAll runs, so canvases can drop their uploads.
uint64_t Textures_Generation();

}  // namespace oe
