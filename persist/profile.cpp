#include "persist/profile.h"

#include <algorithm>

#include "core/state.h"
#include "engine/fs.h"
#include "persist/file_formats.h"
#include "world/race_rules.h"

const std::array<const char*, 16> track_files = {
    "beach1",  "beach2",  "beach1r",  "beach2r",  "forest1", "forest2", "forest1r", "forest2r",
    "icy1",    "icy2",    "icy1r",    "icy2r",    "city1",   "city2",   "city1r",   "city2r",
};

const std::array<const char*, 4> group_texts = {
    "This is your first tracks, so you have to finish it first!",
    "Forestville is beautifull forest with wonderfull trees and flowers.",
    "Ice Land is very cold place...",
    "It is final tracks! The Cup is almost yours.",
};

namespace {

constexpr const char* kProfileFolder = "prf\\";
constexpr size_t kMaxNameBytes = 64;

bool WriteProfile(const std::vector<uint8_t>& bytes) {
    if (!Profile_NameIsStorable(player.name)) return false;
    // The folder may have been removed by hand since the game was installed.
    return Fs_MakeFolder(kProfileFolder) && Fs_WriteFileAtomic(Profile_Path(), bytes);
}

}  // namespace

bool Profile_NameIsStorable(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameBytes || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || byte < 32 || byte == 127;
    });
}

std::string Profile_Path() { return kProfileFolder + player.name; }

bool Profile_Save() { return WriteProfile(Profile_Encode({player.progress, player.score})); }

void Profile_Load() {
    // A name that could lead outside the profile folder reads as a missing profile.
    std::vector<uint8_t> file;
    if (Profile_NameIsStorable(player.name)) {
        file = Fs_ReadFile(Profile_Path()).value_or(std::vector<uint8_t>{});
    }
    const tprofile profile = Profile_Decode(file);
    player.progress = profile.progress;
    player.score = profile.score;
}

bool Profile_Create() { return WriteProfile({0, '\r', '\n'}); }

bool Profile_CarUnlocked(int kind) { return kind <= player.progress / 4; }

bool Profile_TrackUnlocked(int track) { return track <= player.progress; }
