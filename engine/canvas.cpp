#include "engine/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/blend_span.h"

namespace oe {

namespace {

// Coordinates beyond this are refused: nothing that far away is visible, and
// the rasterisers' fixed-point arithmetic must not overflow.
constexpr float kMaxCoordinate = 1.0e6f;
constexpr int kMinSegments = 3;
constexpr int kMaxSegments = 1024;
constexpr float kMaxLineWidth = 1024.0f;

uint8_t Scale255(unsigned a, unsigned b) { return static_cast<uint8_t>((a * b + 127) / 255); }

float SaneWidth(float width) { return width > 1.0f ? std::min(width, kMaxLineWidth) : 1.0f; }

SDL_BlendMode ToSdl(Blend blend) {
    return blend == Blend::Add ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND;
}

bool Usable(float v) { return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate; }

bool UsableCorners(const std::array<SDL_FPoint, 4>& corners) {
    return std::all_of(corners.begin(), corners.end(), [](const SDL_FPoint& p) { return Usable(p.x) && Usable(p.y); });
}

// A rectangle on whole pixels.
bool WholeRect(float x, float y, float w, float h) {
    for (float v : {x, y, w, h, x + w, y + h})
        if (!Usable(v) || v != std::floor(v)) return false;
    return w > 0 && h > 0;
}

// Neither moved nor turned.
bool Upright(const SpriteQuad& quad) {
    return quad.angle == 0 && std::all_of(quad.offsets.begin(), quad.offsets.end(),
                                          [](const SDL_FPoint& p) { return p.x == 0 && p.y == 0; });
}

bool Uniform(const std::array<Colour, 4>& k) { return k[0] == k[1] && k[0] == k[2] && k[0] == k[3]; }

// The colour of the centre vertex where four corner colours meet.
Colour CentreColour(const std::array<Colour, 4>& k) {
    auto average = [&](auto member) {
        const unsigned sum = unsigned(k[0].*member) + k[1].*member + k[2].*member + k[3].*member;
        return static_cast<uint8_t>((sum + 2) / 4);
    };
    return Colour{average(&Colour::r), average(&Colour::g), average(&Colour::b), average(&Colour::a)};
}

Texels TexelsOf(const TextureRecord& record) {
    return Texels{Texture_Pixels(record).data(), record.width, record.height, record.opaque};
}

// Corners (top-left, top-right, bottom-right, bottom-left) lying on the
// screen's axes, top-left first: the software renderer copies such a quad
// of one colour as a rectangle rather than as triangles.
bool OnTheAxes(const std::array<SDL_FPoint, 4>& c) {
    return c[0].y == c[1].y && c[1].x == c[2].x && c[2].y == c[3].y && c[3].x == c[0].x && c[0].x < c[2].x &&
           c[0].y < c[2].y;
}

// What the software renderer makes of a rectangle: each of its numbers cut to a whole one.
IntRect Truncated(float x, float y, float w, float h) { return IntRect{int(x), int(y), int(w), int(h)}; }

}  // namespace

Colour ColourFromRgb(int32_t rgb, int alpha) {
    const auto c = static_cast<uint32_t>(rgb);
    return Colour{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c),
                  static_cast<uint8_t>(std::clamp(alpha, 0, 255))};
}

Colour Multiply(Colour a, Colour b) {
    return Colour{Scale255(a.r, b.r), Scale255(a.g, b.g), Scale255(a.b, b.b), Scale255(a.a, b.a)};
}

Canvas::Canvas(SDL_Renderer* renderer, SDL_Surface* target)
    : renderer_(renderer), generation_(Textures_Generation()) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer_, &info) == 0) software_ = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    if (software_ && target && target->format->format == SDL_PIXELFORMAT_ARGB8888 && !SDL_MUSTLOCK(target))
        target_ = target;
}

Canvas::~Canvas() {
    for (auto& [id, texture] : uploads_)
        if (texture) SDL_DestroyTexture(texture);
}

void Canvas::Clear(int32_t rgb) {
    lit_cache_.NextFrame();
    const Colour c = ColourFromRgb(rgb, 255);
    SDL_SetRenderDrawColor(renderer_, c.r, c.g, c.b, 255);
    SDL_RenderClear(renderer_);
}

// A GPU renderer keeps its own copy of the texels, so the store's are given
// back once uploaded; the software renderer without a target reads them from
// the store again whenever another canvas needs them, so they stay.
SDL_Texture* Canvas::Upload(const TextureRecord& record) {
    if (generation_ != Textures_Generation()) {
        for (auto& [id, texture] : uploads_)
            if (texture) SDL_DestroyTexture(texture);
        uploads_.clear();
        generation_ = Textures_Generation();
    }
    if (released_ != Textures_Released()) {
        std::erase_if(uploads_, [](const auto& upload) {
            if (Texture_Held(upload.first)) return false;
            if (upload.second) SDL_DestroyTexture(upload.second);
            return true;
        });
        released_ = Textures_Released();
    }
    if (auto it = uploads_.find(record.id); it != uploads_.end()) return it->second;
    if (Texture_Pixels(record).empty()) return nullptr;   // released by another canvas
    SDL_Texture* texture = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                             record.width, record.height);
    if (texture && SDL_UpdateTexture(texture, nullptr, Texture_Pixels(record).data(), record.width * 4) != 0) {
        SDL_DestroyTexture(texture);
        texture = nullptr;
    }
    if (texture) {
        SDL_SetTextureScaleMode(texture, software_ ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        if (!software_) Texture_ReleasePixels(&record);
    }
    uploads_[record.id] = texture;
    return texture;
}

PixelTarget Canvas::Pixels() const {
    return PixelTarget{static_cast<uint32_t*>(target_->pixels), target_->pitch / 4, target_->w, target_->h};
}

std::array<SDL_FPoint, 4> Canvas::Corners(const SpriteQuad& quad) {
    const float cx = quad.x + quad.w / 2, cy = quad.y + quad.h / 2;
    const std::array<SDL_FPoint, 4> rect{{{quad.x, quad.y},
                                          {quad.x + quad.w, quad.y},
                                          {quad.x + quad.w, quad.y + quad.h},
                                          {quad.x, quad.y + quad.h}}};
    const double radians = double(quad.angle) * std::numbers::pi / 180.0;
    const float c = static_cast<float>(std::cos(radians)), s = static_cast<float>(std::sin(radians));
    std::array<SDL_FPoint, 4> corners;
    for (size_t i = 0; i < 4; ++i) {
        const SDL_FPoint p{rect[i].x + quad.offsets[i].x, rect[i].y + quad.offsets[i].y};
        const float dx = p.x - cx, dy = p.y - cy;
        corners[i] = quad.angle == 0 ? p : SDL_FPoint{cx + dx * c - dy * s, cy + dx * s + dy * c};
    }
    return corners;
}

bool Canvas::Shade(const TextureRecord& record, const SpriteQuad& quad, Blend blend) {
    // Corners of different colours are shaded here only when opaque and
    // blended normally, as the lit world is; other mixes, which the game does
    // not draw, go through the triangles.
    const auto& k = quad.colours;
    const bool lit = blend == Blend::Normal && std::all_of(k.begin(), k.end(), [](const Colour& c) {
                         return c.a == 255;
                     });
    if (Uniform(k) || !lit || !Upright(quad) || !WholeRect(quad.x, quad.y, quad.w, quad.h) ||
        int(quad.w) != record.width || int(quad.h) != record.height)
        return false;
    const int x = int(quad.x), y = int(quad.y), w = record.width, h = record.height;
    const int x0 = std::max(x, 0) - x, x1 = std::min(x + w, target_->w) - x;
    const int y0 = std::max(y, 0) - y, y1 = std::min(y + h, target_->h) - y;
    if (x0 >= x1 || y0 >= y1) return true;
    // An opaque sprite replaces what is below it: shaded once, it is copied.
    if (record.opaque) {
        const uint32_t* kept = lit_cache_.Find(record.id, k);
        if (!kept) {
            if (uint32_t* made = lit_cache_.Make(record.id, k, w, h)) {
                ShadeRows(record, k, PixelTarget{made, w, w, h}, 0, 0, {0, w, 0, h}, blend);
                kept = made;
            }
        }
        if (kept) {
            const PixelTarget pixels = Pixels();
            for (int row = y0; row < y1; ++row)
                std::copy_n(kept + size_t(row) * size_t(w) + x0, x1 - x0,
                            pixels.pixels + size_t(row + y) * size_t(pixels.pitch) + x + x0);
            return true;
        }
    }
    ShadeRows(record, k, Pixels(), x, y, {x0, x1, y0, y1}, blend);
    return true;
}

void Canvas::ShadeRows(const TextureRecord& record, const std::array<Colour, 4>& k, const PixelTarget& pixels, int x,
                       int y, const std::array<int, 4>& clip, Blend blend) {
    const int w = record.width, h = record.height;
    const auto [x0, x1, y0, y1] = clip;
    // The corner colours, then the centre's, channel by channel (r, g, b);
    // the alpha is 255 throughout.
    std::array<std::array<float, 5>, 3> c;
    const Colour centre = CentreColour(k);
    for (size_t i = 0; i < 5; ++i) {
        const Colour& corner = i < 4 ? k[i] : centre;
        c[0][i] = corner.r, c[1][i] = corner.g, c[2][i] = corner.b;
    }
    // Within the triangle between two corners and the centre (0 top, 1 right,
    // 2 bottom, 3 left) the colour at (u, v) of the unit quad is
    // p + q v + r u: the coefficients (p, q, r) per triangle and channel.
    std::array<std::array<std::array<float, 3>, 3>, 4> plane;
    for (size_t ch = 0; ch < 3; ++ch) {
        const auto& q = c[ch];
        plane[0][ch] = {q[0], 2 * q[4] - q[0] - q[1], q[1] - q[0]};
        plane[1][ch] = {2 * q[4] - q[2], q[2] - q[1], q[1] + q[2] - 2 * q[4]};
        plane[2][ch] = {2 * q[4] - q[2], q[2] + q[3] - 2 * q[4], q[2] - q[3]};
        plane[3][ch] = {q[0], q[3] - q[0], 2 * q[4] - q[3] - q[0]};
    }
    const uint32_t* all_texels = Texture_Pixels(record).data();
    shade_row_.resize(size_t(w));
    const float du = 1.0f / float(w);
    for (int row = y0; row < y1; ++row) {
        const float v = (float(row) + 0.5f) / float(h);
        // Along a row the colour is linear within each triangle: the left one,
        // the top or bottom one, the right one. Each span steps in 16.16 fixed
        // point; then the row is blended at once.
        const float a = std::min(v, 1 - v), b = std::max(v, 1 - v);
        const int left_end = std::clamp(int(std::floor(a * float(w) - 0.5f)) + 1, 0, w);
        const int middle_end = std::clamp(int(std::floor(b * float(w) - 0.5f)) + 1, left_end, w);
        const std::array<std::array<int, 3>, 3> spans{{{3, 0, left_end},
                                                       {v <= 0.5f ? 0 : 2, left_end, middle_end},
                                                       {1, middle_end, w}}};
        for (const auto& [triangle, begin, end] : spans) {
            const int i0 = std::max(begin, x0), i1 = std::min(end, x1);
            if (i0 >= i1) continue;
            // The colours at the span's first and last pixel, in 16.16 fixed
            // point; steps that truncate toward zero never pass the last one.
            const float u0 = (float(i0) + 0.5f) * du, u1 = (float(i1 - 1) + 0.5f) * du;
            const int n = std::max(i1 - 1 - i0, 1);
            std::array<int32_t, 4> value{0, 0, 0, 255 << 16}, step{};
            for (size_t ch = 0; ch < 3; ++ch) {
                const auto& [p, q, r] = plane[size_t(triangle)][ch];
                // Plain copies: clang 14 cannot capture structured bindings.
                const float along_v = p + q * v, per_u = r;
                auto fixed = [along_v, per_u](float u) {
                    return int32_t(std::clamp(along_v + per_u * u, 0.0f, 255.0f) * 65536.0f);
                };
                value[ch] = fixed(u0);
                step[ch] = (fixed(u1) - value[ch]) / n;
            }
            StepColours(shade_row_.data() + i0, i1 - i0, value, step);
        }
        BlendSpanColours(all_texels + size_t(row) * size_t(w) + x0, shade_row_.data() + x0,
                         pixels.pixels + size_t(row + y) * size_t(pixels.pitch) + x + x0, x1 - x0, blend);
    }
}

// A rectangle on whole pixels is a rectangle fill, which keeps its blend mode
// (the software renderer's own rectangle detection for geometry loses the
// additive mode); an opaque one replaces what is below it, no blending.
bool Canvas::FillWhole(float x, float y, float w, float h, Colour colour, Blend blend) {
    if (!software_ || !WholeRect(x, y, w, h)) return false;
    const bool opaque = colour.a == 255 && blend == Blend::Normal;
    const SDL_Rect rect{int(x), int(y), int(w), int(h)};
    SDL_SetRenderDrawBlendMode(renderer_, opaque ? SDL_BLENDMODE_NONE : ToSdl(blend));
    SDL_SetRenderDrawColor(renderer_, colour.r, colour.g, colour.b, colour.a);
    SDL_RenderFillRect(renderer_, &rect);
    return true;
}

void Canvas::AddVertex(float x, float y, Colour colour, float u, float v) {
    vertices_.push_back(SDL_Vertex{SDL_FPoint{x, y}, SDL_Color{colour.r, colour.g, colour.b, colour.a},
                                   SDL_FPoint{u, v}});
}

// Corners in order around the quad; two triangles, no texture coordinates.
void Canvas::AddQuad(const std::array<SDL_FPoint, 4>& corners, Colour colour) {
    const int base = static_cast<int>(vertices_.size());
    for (const SDL_FPoint& p : corners) AddVertex(p.x, p.y, colour);
    indices_.insert(indices_.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
}

void Canvas::Submit(SDL_Texture* texture, Blend blend) {
    const bool usable = std::all_of(vertices_.begin(), vertices_.end(), [](const SDL_Vertex& v) {
        return Usable(v.position.x) && Usable(v.position.y);
    });
    if (usable && !indices_.empty()) {
        if (texture) {
            SDL_SetTextureBlendMode(texture, ToSdl(blend));
        } else {
            SDL_SetRenderDrawBlendMode(renderer_, ToSdl(blend));
        }
        SDL_RenderGeometry(renderer_, texture, vertices_.data(), static_cast<int>(vertices_.size()),
                           indices_.data(), static_cast<int>(indices_.size()));
    }
    vertices_.clear();
    indices_.clear();
}

void Canvas::DrawDirect(const TextureRecord& record, const SpriteQuad& quad, Blend blend) {
    if (Texture_Pixels(record).empty()) return;
    SDL_RenderFlush(renderer_);   // anything queued lands first
    if (Shade(record, quad, blend)) return;
    const std::array<SDL_FPoint, 4> c = Corners(quad);
    if (!UsableCorners(c)) return;
    const auto& k = quad.colours;
    const PixelTarget pixels = Pixels();
    const Texels texels = TexelsOf(record);
    if (Uniform(k) && OnTheAxes(c)) {
        Raster_Stretch(pixels, texels, IntRect{0, 0, record.width, record.height},
                       Truncated(c[0].x, c[0].y, c[2].x - c[0].x, c[2].y - c[0].y), k[0], blend);
        return;
    }
    // Corners on whole pixels and texels, as the software renderer takes them.
    auto corner = [&](SDL_FPoint p, float u, float v, Colour colour) {
        return RasterVertex{int(p.x), int(p.y), int(u * float(record.width)), int(v * float(record.height)), colour};
    };
    const std::array<RasterVertex, 4> v{corner(c[0], 0, 0, k[0]), corner(c[1], 1, 0, k[1]),
                                        corner(c[2], 1, 1, k[2]), corner(c[3], 0, 1, k[3])};
    if (Uniform(k)) {
        Raster_Triangle(pixels, texels, {v[0], v[1], v[2]}, blend);
        Raster_Triangle(pixels, texels, {v[0], v[2], v[3]}, blend);
        return;
    }
    const RasterVertex middle = corner(SDL_FPoint{(c[0].x + c[1].x + c[2].x + c[3].x) / 4,
                                                  (c[0].y + c[1].y + c[2].y + c[3].y) / 4},
                                       0.5f, 0.5f, CentreColour(k));
    for (size_t i = 0; i < 4; ++i) Raster_Triangle(pixels, texels, {v[i], v[(i + 1) % 4], middle}, blend);
}

void Canvas::DrawSprite(const OE_TextureRec* texture, const SpriteQuad& quad, Blend blend) {
    const TextureRecord* record = Texture_Find(texture);
    if (!record) return;
    if (target_) {
        DrawDirect(*record, quad, blend);
        return;
    }
    SDL_Texture* uploaded = Upload(*record);
    if (!uploaded) return;
    static constexpr std::array<SDL_FPoint, 4> kUv{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    const std::array<SDL_FPoint, 4> corners = Corners(quad);
    for (size_t i = 0; i < 4; ++i)
        AddVertex(corners[i].x, corners[i].y, quad.colours[i], kUv[i].x, kUv[i].y);
    const auto& k = quad.colours;
    if (Uniform(k)) {
        indices_ = {0, 1, 2, 0, 2, 3};
    } else {
        AddVertex((corners[0].x + corners[1].x + corners[2].x + corners[3].x) / 4,
                  (corners[0].y + corners[1].y + corners[2].y + corners[3].y) / 4, CentreColour(k), 0.5f, 0.5f);
        indices_ = {0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4};
    }
    Submit(uploaded, blend);
}

void Canvas::DrawPatches(const OE_TextureRec* texture, std::span<const TexturePatch> patches, Colour colour,
                         Blend blend) {
    const TextureRecord* record = Texture_Find(texture);
    if (!record || patches.empty()) return;
    if (target_) {
        if (Texture_Pixels(*record).empty()) return;
        SDL_RenderFlush(renderer_);
        const PixelTarget pixels = Pixels();
        for (const TexturePatch& p : patches) {
            const IntRect src{p.src_x, p.src_y, p.src_w, p.src_h};
            const bool inside = src.x >= 0 && src.y >= 0 && src.w > 0 && src.h > 0 &&
                                src.x + src.w <= record->width && src.y + src.h <= record->height;
            if (inside && Usable(p.x) && Usable(p.y) && Usable(p.x + p.w) && Usable(p.y + p.h))
                Raster_Stretch(pixels, TexelsOf(*record), src, Truncated(p.x, p.y, p.w, p.h), colour, blend);
        }
        return;
    }
    SDL_Texture* uploaded = Upload(*record);
    if (!uploaded) return;
    const float tw = static_cast<float>(texture->width), th = static_cast<float>(texture->height);
    for (const TexturePatch& p : patches) {
        const int base = static_cast<int>(vertices_.size());
        const float u0 = p.src_x / tw, v0 = p.src_y / th;
        const float u1 = (p.src_x + p.src_w) / tw, v1 = (p.src_y + p.src_h) / th;
        AddVertex(p.x, p.y, colour, u0, v0);
        AddVertex(p.x + p.w, p.y, colour, u1, v0);
        AddVertex(p.x + p.w, p.y + p.h, colour, u1, v1);
        AddVertex(p.x, p.y + p.h, colour, u0, v1);
        indices_.insert(indices_.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
    }
    Submit(uploaded, blend);
}

void Canvas::FillRect(float x, float y, float w, float h, Colour colour, Blend blend) {
    if (!(w > 0 && h > 0) || FillWhole(x, y, w, h, colour, blend)) return;
    AddQuad({{{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}}, colour);
    Submit(nullptr, blend);
}

void Canvas::OutlineRect(float x, float y, float w, float h, float width, Colour colour, Blend blend) {
    if (w < 0) x += w, w = -w;
    if (h < 0) y += h, h = -h;
    const float t = SaneWidth(width);
    if (w <= 2 * t || h <= 2 * t) {
        FillRect(x, y, w, h, colour, blend);
        return;
    }
    // Four bands that do not overlap, so a translucent outline is even.
    auto band = [&](float bx, float by, float bw, float bh) {
        if (!FillWhole(bx, by, bw, bh, colour, blend))
            AddQuad({{{bx, by}, {bx + bw, by}, {bx + bw, by + bh}, {bx, by + bh}}}, colour);
    };
    band(x, y, w, t);
    band(x, y + h - t, w, t);
    band(x, y + t, t, h - 2 * t);
    band(x + w - t, y + t, t, h - 2 * t);
    Submit(nullptr, blend);
}

void Canvas::Line(float x1, float y1, float x2, float y2, float width, Colour colour, Blend blend) {
    const float t = SaneWidth(width);
    if (t <= 1.0f) {
        if (!(Usable(x1) && Usable(y1) && Usable(x2) && Usable(y2))) return;
        SDL_SetRenderDrawBlendMode(renderer_, ToSdl(blend));
        SDL_SetRenderDrawColor(renderer_, colour.r, colour.g, colour.b, colour.a);
        SDL_RenderDrawLineF(renderer_, x1, y1, x2, y2);
        return;
    }
    const float dx = x2 - x1, dy = y2 - y1;
    const float length = std::hypot(dx, dy);
    // A zero-length wide line is a square dot.
    const float nx = length > 0 ? -dy / length * t / 2 : 0, ny = length > 0 ? dx / length * t / 2 : t / 2;
    const float ex = length > 0 ? 0 : t / 2;
    AddQuad({{{x1 + nx - ex, y1 + ny}, {x2 + nx + ex, y2 + ny}, {x2 - nx + ex, y2 - ny}, {x1 - nx - ex, y1 - ny}}},
            colour);
    Submit(nullptr, blend);
}

void Canvas::Circle(float x, float y, float radius, int segments, float width, bool filled, Colour colour,
                    Blend blend) {
    if (!(radius > 0) || !Usable(radius)) return;
    const int n = std::clamp(segments, kMinSegments, kMaxSegments);
    const float t = SaneWidth(width);
    const float outer = filled ? radius : radius + t / 2;
    const float inner = filled ? 0.0f : std::max(0.0f, radius - t / 2);
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * std::numbers::pi * i / n;
        const float c = static_cast<float>(std::cos(a)), s = static_cast<float>(std::sin(a));
        AddVertex(x + outer * c, y + outer * s, colour);
        if (!filled) AddVertex(x + inner * c, y + inner * s, colour);
    }
    if (filled) {
        AddVertex(x, y, colour);
        for (int i = 0; i < n; ++i) indices_.insert(indices_.end(), {n, i, (i + 1) % n});
    } else {
        for (int i = 0; i < n; ++i) {
            const int o0 = 2 * i, i0 = o0 + 1, o1 = 2 * ((i + 1) % n), i1 = o1 + 1;
            indices_.insert(indices_.end(), {o0, o1, i1, o0, i1, i0});
        }
    }
    Submit(nullptr, blend);
}

}  // namespace oe
