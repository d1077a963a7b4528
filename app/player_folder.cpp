// player_folder.cpp: where a player's files live, and bringing along those an
// older game wrote into its data folder.
#include "app/player_folder.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <vector>

#include "engine/fs.h"
#include "world/tournament.h"

namespace fs = std::filesystem;

namespace {

// Present once the old data folder's files were brought over.
constexpr const char* kCopiedMarker = ".copied-from-data-folder";
// See RemoveStaleTemporaryFiles.
constexpr auto STALE_TEMPORARY_AGE = std::chrono::minutes(10);

bool ShippedTrack(const fs::path& file) {
    for (const char* track : track_files)
        if (file.filename() == std::string(track) + ".wld") return true;
    return false;
}

// True when anything is at `path`, a symbolic link (even one leading nowhere)
// included: nothing is ever created through a link in the player's folder.
bool Taken(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found;   // unknown (an error) counts as taken
}

// Copies `from` to `to` unless something is at `to`; failures leave the copy out.
void CopyIfMissing(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::is_regular_file(from, ec) && !Taken(to)) fs::copy_file(from, to, ec);
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

// A temporary file of an atomic write older than STALE_TEMPORARY_AGE was left
// by a game that stopped mid-write (a newer one may be another game's, writing now).
void RemoveStaleTemporaryFiles(const fs::path& root) {
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (const fs::path& folder : {root, root / "prf", root / "rec", root / "wld"}) {
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            if (!Fs_IsTemporaryName(Fs_Utf8(entry.path().filename()))) continue;
            const auto written = fs::symlink_status(entry.path(), ec).type() == fs::file_type::regular
                                     ? fs::last_write_time(entry.path(), ec)
                                     : now;
            if (!ec && now - written > STALE_TEMPORARY_AGE) fs::remove(entry.path(), ec);
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
    if (!Taken(root / kCopiedMarker)) {
        CopyOldFiles(fs::absolute(Fs_NativePath(data), ec), root);
        const std::string note = "The files an older game kept in its data folder were copied here once.\n";
        Fs_WriteFileAtomic(Fs_Utf8(root / kCopiedMarker), std::vector<uint8_t>(note.begin(), note.end()));
    }
    RemoveStaleTemporaryFiles(root);
    std::string absolute = Fs_Utf8(root.lexically_normal());
    while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
    Fs_SetPlayerFolder(absolute);
    return true;
}
