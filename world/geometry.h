// geometry.h: object sizes from their textures, the lamps' light at the
// objects' corners, and the shadows they cast.
#pragma once

#include <cstdint>

#include "world/world.h"

struct tlamp_hit {
    int32_t index = 0;      // the nearest lamp; 0 when the world has none
    int32_t distance = 0;   // rounded; 0 when the world has none (lit everywhere)
};

// v brought into 0..360 (both ends are left as they are).
int32_t Geo_WrapDegrees(int32_t v);
// Width, height and radius (width div 4) of every object from the object
// registry: kind + "_wh1" for cars, kind + "1" for the rest.
void Geo_SetSizes(tworld& world);
// The nearest object of kind "lamp" to (x, y); ties keep the earlier one.
tlamp_hit Geo_NearestLamp(const tworld& world, float x, float y);
// Corner colours of every object: white within 100 px of the nearest lamp,
// 0x111111 darker for every further 50 px, never below 0x111111.
void Geo_CornerColours(tworld& world);
// Shadow strength, angle and offset of the objects whose dynamic flag equals
// `flag`, away from the nearest lamp. Lamps, land tiles and the props "pen",
// "rak", "sball" and the barrier blocks cast none and keep their values.
void Geo_Shadows(tworld& world, uint8_t flag);
// Turns the vector (p, q) by a degrees.
void Geo_Rotate(float& p, float& q, int32_t a);
