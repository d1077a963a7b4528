// load_error.h: why the latest texture, sound or font load failed, told by
// the loader where it gave up and read through OE_LoadError.
#pragma once

#include <string>

namespace oe {

void SetLoadError(std::string reason);

}  // namespace oe
