#include "engine/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace oe {

namespace {

// Coordinates beyond this are refused: nothing that far away is visible, and
// the software rasteriser's fixed-point arithmetic must not overflow.
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

}  // namespace

Colour ColourFromRgb(int32_t rgb, int alpha) {
    const auto c = static_cast<uint32_t>(rgb);
    return Colour{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c),
                  static_cast<uint8_t>(std::clamp(alpha, 0, 255))};
}

Colour Multiply(Colour a, Colour b) {
    return Colour{Scale255(a.r, b.r), Scale255(a.g, b.g), Scale255(a.b, b.b), Scale255(a.a, b.a)};
}

Canvas::Canvas(SDL_Renderer* renderer) : renderer_(renderer), generation_(Textures_Generation()) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer_, &info) == 0) smooth_ = !(info.flags & SDL_RENDERER_SOFTWARE);
}

Canvas::~Canvas() {
    for (auto& [id, texture] : uploads_) {
        if (texture) SDL_DestroyTexture(texture);
    }
}

void Canvas::Clear(int32_t rgb) {
    const Colour c = ColourFromRgb(rgb, 255);
    SDL_SetRenderDrawColor(renderer_, c.r, c.g, c.b, 255);
    SDL_RenderClear(renderer_);
}

SDL_Texture* Canvas::Upload(const OE_TextureRec* texture) {
    if (generation_ != Textures_Generation()) {
        for (auto& [id, uploaded] : uploads_) {
            if (uploaded) SDL_DestroyTexture(uploaded);
        }
        uploads_.clear();
        generation_ = Textures_Generation();
    }
    const TextureRecord* record = Texture_Find(texture);
    if (!record) return nullptr;
    if (auto it = uploads_.find(record->id); it != uploads_.end()) return it->second;
    SDL_Texture* uploaded = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC,
                                              record->width, record->height);
    if (uploaded && SDL_UpdateTexture(uploaded, nullptr, record->rgba.data(), record->width * 4) != 0) {
        SDL_DestroyTexture(uploaded);
        uploaded = nullptr;
    }
    if (uploaded) SDL_SetTextureScaleMode(uploaded, smooth_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    uploads_[record->id] = uploaded;
    return uploaded;
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

void Canvas::DrawSprite(const OE_TextureRec* texture, const SpriteQuad& quad, Blend blend) {
    SDL_Texture* uploaded = Upload(texture);
    if (!uploaded) return;
    static constexpr std::array<SDL_FPoint, 4> kUv{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
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
        AddVertex(corners[i].x, corners[i].y, quad.colours[i], kUv[i].x, kUv[i].y);
    }
    const auto& k = quad.colours;
    if (k[0] == k[1] && k[0] == k[2] && k[0] == k[3]) {
        indices_ = {0, 1, 2, 0, 2, 3};
    } else {
        auto average = [&](auto member) {
            const unsigned sum = unsigned(k[0].*member) + k[1].*member + k[2].*member + k[3].*member;
            return static_cast<uint8_t>((sum + 2) / 4);
        };
        const Colour centre{average(&Colour::r), average(&Colour::g), average(&Colour::b), average(&Colour::a)};
        AddVertex((corners[0].x + corners[1].x + corners[2].x + corners[3].x) / 4,
                  (corners[0].y + corners[1].y + corners[2].y + corners[3].y) / 4, centre, 0.5f, 0.5f);
        indices_ = {0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4};
    }
    Submit(uploaded, blend);
}

void Canvas::DrawPatches(const OE_TextureRec* texture, std::span<const TexturePatch> patches, Colour colour,
                         Blend blend) {
    SDL_Texture* uploaded = Upload(texture);
    if (!uploaded || patches.empty()) return;
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
    if (!(w > 0 && h > 0)) return;
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
