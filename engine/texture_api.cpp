// texture_api.cpp: textures the game makes from its own pixels.
#include <vector>

#include "engine/image.h"
#include "engine/oe.h"
#include "engine/texture.h"

OE_Texture Tex_Create(int w, int h, const uint8_t* rgba) {
    if (!rgba || w <= 0 || h <= 0 || w > oe::kMaxImageSide || h > oe::kMaxImageSide) return nullptr;
    return oe::Texture_Create(w, h, std::vector<uint8_t>(rgba, rgba + size_t(w) * size_t(h) * 4));
}

void Tex_Free(OE_Texture tex) { oe::Texture_Release(tex); }

uint64_t Tex_Generation() { return oe::Textures_Generation(); }
