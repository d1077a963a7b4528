// backend_offscreen.h: the headless harness's backend: the real drawing into an
// 800x600 software surface, a virtual clock, injected input, no audio device.
#pragma once

#include <memory>
#include <string>

#include "engine/backend_virtual.h"

namespace oe {

class OffscreenBackend;

std::unique_ptr<OffscreenBackend> MakeOffscreenBackend();

class OffscreenBackend : public VirtualBackend {
public:
    // Writes the last frame drawn as an 800x600 PNG; false when it cannot.
    virtual bool WritePng(const std::string& path) = 0;
    // The pixel at (x, y) of the last frame, 0xRRGGBB.
    virtual uint32_t PixelAt(int x, int y) = 0;
};

}  // namespace oe
