// call_log.h: the engine's call log written as text, one call a line, with
// every handle named by the file it was loaded from, so the logs of two builds
// of the game can be compared line by line.
#pragma once

#include <string>

namespace harness {

// Writes every call the recorder holds to `path`; false when it cannot be written.
bool WriteCallLog(const std::string& path);

}  // namespace harness
