#include "persist/profile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <vector>

#include "engine/fs.h"

namespace {

constexpr const char* kProfileFolder = "prf\\";

// The profile file of a player, "prf\" + name.
std::string Path(const std::string& name) { return kProfileFolder + name; }

bool WriteProfile(const std::string& name, const std::vector<uint8_t>& bytes) {
    if (!Profile_NameIsStorable(name)) {
        errno = EINVAL;
        return false;
    }
    // The folder may have been removed by hand since the game was installed.
    return Fs_MakeFolder(kProfileFolder) && Fs_WriteFileAtomic(Path(name), bytes);
}

}  // namespace

bool Profile_NameIsStorable(std::string_view name) {
    if (name.empty() || name.size() > PROFILE_NAME_MAX_BYTES || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || byte < 32 || byte == 127;
    });
}

bool Profile_Write(const std::string& name, const tprofile& profile) {
    return WriteProfile(name, Profile_Encode(profile));
}

tprofile Profile_Read(const std::string& name) {
    // A name that could lead outside the profile folder reads as a missing profile.
    std::vector<uint8_t> file;
    if (Profile_NameIsStorable(name)) file = Fs_ReadFileHead(Path(name), PROFILE_MAX_BYTES).value_or(std::vector<uint8_t>{});
    return Profile_Decode(file);
}

bool Profile_WriteNew(const std::string& name) {
    // Never over a player's progress: an existing profile is loaded, not replaced.
    if (Profile_NameIsStorable(name) && Fs_IsFile(Path(name))) {
        errno = EEXIST;
        return false;
    }
    return WriteProfile(name, {0, '\r', '\n'});
}
