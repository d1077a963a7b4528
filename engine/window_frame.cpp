#include "engine/window_frame.h"

#include <algorithm>

namespace oe {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The largest 4:3 rectangle centred in w x h.
SDL_Rect Letterbox(int w, int h) {
    const int fit_w = std::min(w, h * kWidth / kHeight), fit_h = std::min(h, w * kHeight / kWidth);
    return SDL_Rect{(w - fit_w) / 2, (h - fit_h) / 2, std::max(fit_w, 1), std::max(fit_h, 1)};
}

}  // namespace

bool WindowFrame::Open(SDL_Window* window) {
    window_ = window;
    picture_ = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!picture_) return false;
    SDL_SetSurfaceBlendMode(picture_, SDL_BLENDMODE_NONE);   // copied as it is, alpha and all
    renderer_ = SDL_CreateSoftwareRenderer(picture_);
    if (!renderer_ || !SDL_GetWindowSurface(window_)) return false;
    canvas_ = std::make_unique<Canvas>(renderer_, picture_);
    return true;
}

void WindowFrame::Close() {
    canvas_.reset();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (picture_) SDL_FreeSurface(picture_);
    renderer_ = nullptr;
    picture_ = nullptr;
    shown_on_ = nullptr;
}

void WindowFrame::Show() {
    SDL_Surface* screen = canvas_ ? SDL_GetWindowSurface(window_) : nullptr;
    if (!screen) return;
    SDL_RenderFlush(renderer_);   // queued drawing lands in the picture
    SDL_Rect fit = Letterbox(screen->w, screen->h);
    if (screen != shown_on_) {    // a new surface (a resize): black bars around the picture
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
        shown_on_ = screen;
    }
    if (fit.w == kWidth && fit.h == kHeight)
        SDL_BlitSurface(picture_, nullptr, screen, &fit);
    else
        SDL_BlitScaled(picture_, nullptr, screen, &fit);
    SDL_UpdateWindowSurface(window_);
}

SDL_Point WindowFrame::ToPicture(int x, int y) const {
    int w = kWidth, h = kHeight;
    if (window_) SDL_GetWindowSize(window_, &w, &h);
    const SDL_Rect fit = Letterbox(w, h);
    return SDL_Point{(x - fit.x) * kWidth / fit.w, (y - fit.y) * kHeight / fit.h};
}

}  // namespace oe
