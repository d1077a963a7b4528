// raster.h: a small float RGBA canvas with anti-aliased shape filling,
// compositing, resampling and blur; everything the art is painted with.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace assetgen {

struct Vec2 {
    float x = 0;
    float y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float k) { return {a.x * k, a.y * k}; }
// Inline: every distance field of the art calls these per pixel.
inline float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float Length(Vec2 a) { return std::sqrt(a.x * a.x + a.y * a.y); }
// Rotates by `degrees` counter-clockwise as seen on screen (y grows downwards).
Vec2 Rotate(Vec2 v, float degrees);

// Straight (not premultiplied) colour, every channel 0..1.
struct Colour {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 0;
};

Colour Hex(uint32_t rgb, float alpha = 1.0f);
Colour Grey(float level, float alpha = 1.0f);
Colour Mix(Colour from, Colour to, float t);
Colour Scaled(Colour c, float k);  // rgb times k, alpha kept
Colour WithAlpha(Colour c, float alpha);
float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float v);

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, Colour fill = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Out-of-range reads give transparent black.
    Colour Get(int x, int y) const;
    void Set(int x, int y, Colour c);
    // Source-over blending of c (its alpha is the coverage).
    void Blend(int x, int y, Colour c);
    // Bilinear sample at a continuous position (pixel centres at +0.5).
    Colour Sample(float x, float y) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Colour> pixels_;
};

// A signed distance in pixels (negative inside) and a colour per point.
using Field = std::function<float(Vec2)>;
using Paint = std::function<Colour(Vec2)>;

// Pixel rectangle [x0, x1) x [y0, y1) limiting the work of a fill.
struct Bounds {
    int x0 = 0;
    int y0 = 0;
    int x1 = 1 << 30;
    int y1 = 1 << 30;
};
Bounds Around(Vec2 centre, float radius);

// Blends paint over every pixel the shape covers, anti-aliased by distance.
void Fill(Canvas& canvas, const Field& shape, const Paint& paint, Bounds bounds = {});
void Fill(Canvas& canvas, const Field& shape, Colour colour, Bounds bounds = {});
// Blends paint over every pixel (paint's alpha is the coverage).
void Wash(Canvas& canvas, const Paint& paint, Bounds bounds = {});

// Draws src scaled into the rectangle (x, y, w, h) of dst, area-averaged,
// with its alpha multiplied by `alpha` and its colour by `tint`.
void Composite(Canvas& dst, const Canvas& src, float x, float y, float w, float h,
               float alpha = 1.0f, Colour tint = {1, 1, 1, 1});
// Copy of src with every pixel's alpha turned into `colour` at that alpha.
Canvas Silhouette(const Canvas& src, Colour colour);
// Box blur applied three times (close to a Gaussian), premultiplied.
void Blur(Canvas& canvas, int radius, bool wrap);
// Adds a blurred, offset silhouette under the image (a soft drop shadow).
void DropShadow(Canvas& canvas, float dx, float dy, int radius, float strength);

}  // namespace assetgen
