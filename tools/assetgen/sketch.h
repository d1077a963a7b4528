// sketch.h: drawing helpers shared by the props, markers and pictures.
#pragma once

#include <vector>

#include "raster.h"
#include "shading.h"

namespace assetgen {

// Points along a quadratic or cubic Bezier curve, both ends included.
std::vector<Vec2> Bezier(Vec2 a, Vec2 b, Vec2 c, int steps);
std::vector<Vec2> Bezier(Vec2 a, Vec2 b, Vec2 c, Vec2 d, int steps);
// Radii from r0 at the first point to r1 at the last, shaped by `power`.
std::vector<float> Taper(size_t count, float r0, float r1, float power = 1.0f);
// A thick polyline whose radius varies per point.
Field Stroke(std::vector<Vec2> points, std::vector<float> radii);

// A flat shape shaded as a cushion: its edge rounds down over `round` pixels.
void FillLit(Canvas& canvas, const Field& shape, const Material& material, float round,
             Bounds bounds = {});
void FillLit(Canvas& canvas, const Field& shape, const std::function<Material(Vec2)>& material,
             float round, Bounds bounds = {});
// A vertical cylinder (pole, trunk, tyre side) shaded across x between x0 and x1.
void FillCylinder(Canvas& canvas, const Field& shape, float x0, float x1, const Material& material,
                  Bounds bounds = {});

Material Matte(Colour c);
Material Glossy(Colour c, float specular = 0.5f);

}  // namespace assetgen
