// backend_sdl.h: the game's backend, an SDL window with a GPU renderer and SDL audio.
#pragma once

#include <memory>

#include "engine/backend.h"

namespace oe {

std::unique_ptr<Backend> MakeSdlBackend();

}  // namespace oe
