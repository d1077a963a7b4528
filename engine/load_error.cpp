#include "engine/load_error.h"

#include "engine/oe.h"

namespace {

std::string last_error;

}  // namespace

namespace oe {

void SetLoadError(std::string reason) { last_error = std::move(reason); }

}  // namespace oe

const std::string& OE_LoadError() { return last_error; }
