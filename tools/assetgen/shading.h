// shading.h: light from the top left, shared by every drawn object so the
// whole game is lit the same way.
#pragma once

#include <functional>

#include "raster.h"

namespace assetgen {

struct Vec3 {
    float x = 0;
    float y = 0;
    float z = 0;
};

Vec3 Normalised(Vec3 v);
// Direction towards the light in screen space (x right, y down, z to the viewer).
Vec3 LightDirection();

struct Material {
    Colour albedo;
    float ambient = 0.45f;
    float diffuse = 0.65f;
    float specular = 0.0f;
    float shininess = 16.0f;
};

// Lit colour of a surface with normal n.
Colour Shade(const Material& m, Vec3 n);

// A surface described by its outline, its height and its material, all as
// functions of the screen position. Normals come from the height's slope.
struct Relief {
    Field outline;
    std::function<float(Vec2)> height;
    std::function<Material(Vec2)> material;
};

// Paints a relief, supersampling its edge for anti-aliasing.
void DrawRelief(Canvas& canvas, const Relief& relief, Bounds bounds = {});

// A lit ball; `squash` flattens it vertically (a ground-hugging rock, say).
void DrawBall(Canvas& canvas, Vec2 centre, float radius, const Material& material,
              float squash = 1.0f);

// Soft elliptical contact shadow on the ground.
void DrawGroundShadow(Canvas& canvas, Vec2 centre, float rx, float ry, float strength);

}  // namespace assetgen
