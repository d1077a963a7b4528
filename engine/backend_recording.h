// backend_recording.h: the unit tests' backend: no pixels, every drawing call
// and sound request logged as data (record.h), a virtual clock, injected input.
#pragma once

#include <memory>

#include "engine/backend_virtual.h"

namespace oe {

// Installs a fresh recording backend with an empty log and a clean engine.
VirtualBackend& UseRecordingBackend();

}  // namespace oe
