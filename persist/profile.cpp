#include "persist/profile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/fs.h"

namespace {

constexpr const char* kProfileFolder = "prf\\";
// Held while a game reads a profile and writes it back.
constexpr const char* kProfileLock = "prf\\.korvamo-lock";

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
    // The game's own hidden files (locks, unfinished saves) are named so.
    if (name.starts_with(".korvamo-")) return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || byte < 32 || byte == 127;
    });
}

tprofile Profile_Merge(const tprofile& before, const tprofile& mine, const tprofile& on_file) {
    const int64_t score = int64_t{on_file.score} + mine.score - before.score;
    // Progress only goes back when this game set it back itself.
    const int32_t progress = mine.progress < before.progress ? mine.progress : std::max(mine.progress, on_file.progress);
    return {progress,
            static_cast<int32_t>(std::clamp<int64_t>(score, 0, std::numeric_limits<int32_t>::max()))};
}

std::optional<tprofile> Profile_Update(const std::string& name, const std::optional<tprofile>& before,
                                       const tprofile& mine) {
    if (!Profile_NameIsStorable(name)) {
        errno = EINVAL;
        return std::nullopt;
    }
    // Without the lock (a folder that takes none) the re-read still keeps what another game saved.
    const Fs_Lock lock(kProfileLock);
    const tprofile merged = before && Fs_IsFile(Path(name)) ? Profile_Merge(*before, mine, Profile_Read(name)) : mine;
    if (!WriteProfile(name, Profile_Encode(merged))) return std::nullopt;
    return merged;
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
