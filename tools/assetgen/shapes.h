// shapes.h: signed distance fields of the shapes the art is built from.
// Distances are in pixels, negative inside.
#pragma once

#include <vector>

#include "raster.h"

namespace assetgen {

float DistCircle(Vec2 p, Vec2 centre, float radius);
float DistEllipse(Vec2 p, Vec2 centre, float rx, float ry);
// Box of half size (hw, hh) with rounded corners, turned by `degrees`.
float DistBox(Vec2 p, Vec2 centre, float hw, float hh, float corner = 0, float degrees = 0);
// Segment a-b thickened to radius ra at a and rb at b.
float DistCapsule(Vec2 p, Vec2 a, Vec2 b, float ra, float rb);
float DistPolygon(Vec2 p, const std::vector<Vec2>& points);

Field Circle(Vec2 centre, float radius);
Field Ellipse(Vec2 centre, float rx, float ry);
Field Box(Vec2 centre, float hw, float hh, float corner = 0, float degrees = 0);
Field Capsule(Vec2 a, Vec2 b, float ra, float rb);
Field Line(Vec2 a, Vec2 b, float width);
Field Polygon(std::vector<Vec2> points);
Field Ring(Vec2 centre, float radius, float thickness);

Field Union(Field a, Field b);
Field Intersect(Field a, Field b);
Field Subtract(Field a, Field b);
Field Grow(Field a, float amount);

}  // namespace assetgen
