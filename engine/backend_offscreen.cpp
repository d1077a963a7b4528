#include "engine/backend_offscreen.h"

#include <SDL.h>
#include <stb_image_write.h>

#include <vector>

#include "engine/canvas.h"

namespace oe {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

class Offscreen final : public OffscreenBackend {
public:
    ~Offscreen() override { Close(); }

    bool Open(const std::string&, const OE_OptionsRec&) override {
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
        if (!surface_) return false;
        renderer_ = SDL_CreateSoftwareRenderer(surface_);
        if (!renderer_) return false;
        canvas_ = std::make_unique<Canvas>(renderer_, surface_);
        canvas_->Clear(0x000000);
        return true;
    }

    void Close() override {
        canvas_.reset();
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (surface_) SDL_FreeSurface(surface_);
        renderer_ = nullptr;
        surface_ = nullptr;
    }

    Canvas* GetCanvas() override { return canvas_.get(); }

    void BeginFrame() override { canvas_->Clear(0x000000); }

    void Present() override { SDL_RenderPresent(renderer_); }

    bool WritePng(const std::string& path) override {
        if (!surface_) return false;
        std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t p = PixelAt(x, y);
                uint8_t* out = &rgb[(static_cast<size_t>(y) * kWidth + x) * 3];
                out[0] = static_cast<uint8_t>(p >> 16);
                out[1] = static_cast<uint8_t>(p >> 8);
                out[2] = static_cast<uint8_t>(p);
            }
        return stbi_write_png(path.c_str(), kWidth, kHeight, 3, rgb.data(), kWidth * 3) != 0;
    }

    uint32_t PixelAt(int x, int y) override {
        if (!surface_ || x < 0 || y < 0 || x >= kWidth || y >= kHeight) return 0;
        const auto* row = static_cast<const uint8_t*>(surface_->pixels) + y * surface_->pitch;
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    }

private:
    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    std::unique_ptr<Canvas> canvas_;
};

}  // namespace

std::unique_ptr<OffscreenBackend> MakeOffscreenBackend() { return std::make_unique<Offscreen>(); }

}  // namespace oe
