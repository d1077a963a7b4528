#include "persist/settings.h"

#include <cstdint>
#include <vector>

#include "engine/fs.h"

namespace {

constexpr const char* kSettingsFile = "main.cfg";

}  // namespace

tsettings Settings_Read() {
    // A missing or unreadable file reads as an empty one: every flag 0, every text empty.
    return Settings_Decode(Fs_ReadFileHead(kSettingsFile, SETTINGS_MAX_BYTES).value_or(std::vector<uint8_t>{}));
}

bool Settings_Write(const tsettings& settings) { return Fs_WriteFileAtomic(kSettingsFile, Settings_Encode(settings)); }
