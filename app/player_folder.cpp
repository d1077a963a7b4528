// player_folder.cpp: where a player's files live, and bringing along those an
// older game wrote into its data folder.
#include "app/player_folder.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "engine/fs.h"
#include "world/tournament.h"

namespace fs = std::filesystem;

namespace {

// Present once the old data folder's files were brought over.
constexpr const char* kCopiedMarker = ".copied-from-data-folder";

bool ShippedTrack(const fs::path& file) {
    for (const char* track : track_files)
        if (file.filename() == std::string(track) + ".wld") return true;
    return false;
}

// Copies `from` to `to` unless `to` exists; failures leave the copy out.
void CopyIfMissing(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::is_regular_file(from, ec) && !fs::exists(to, ec)) fs::copy_file(from, to, ec);
}

void CopyOldFiles(const fs::path& data, const fs::path& folder) {
    std::error_code ec;
    if (fs::equivalent(data, folder, ec)) return;
    CopyIfMissing(data / "main.cfg", folder / "main.cfg");
    for (const char* sub : {"prf", "rec", "wld"}) {
        for (const auto& entry : fs::directory_iterator(data / sub, ec)) {
            const fs::path& file = entry.path();
            if (std::string(sub) == "wld" && (file.extension() != ".wld" || ShippedTrack(file))) continue;
            if (file.filename().string().starts_with(".")) continue;
            CopyIfMissing(file, folder / sub / file.filename());
        }
    }
}

}  // namespace

bool PlayerFolder_Prepare(const std::string& folder, const std::string& data, std::string& error) {
    std::error_code ec;
    const fs::path root = fs::absolute(Fs_NativePath(folder), ec);
    for (const char* sub : {"prf", "rec", "wld"}) {
        fs::create_directories(root / sub, ec);
        if (ec) {
            error = "cannot make the player's folder " + Fs_Utf8(root / sub) + ": " + ec.message();
            return false;
        }
    }
    if (!fs::exists(root / kCopiedMarker, ec)) {
        CopyOldFiles(fs::absolute(Fs_NativePath(data), ec), root);
        std::ofstream(root / kCopiedMarker, std::ios::binary) << "The files an older game kept in its data folder were copied here once.\n";
    }
    std::string absolute = Fs_Utf8(root.lexically_normal());
    while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
    Fs_SetPlayerFolder(absolute);
    return true;
}
