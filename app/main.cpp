// The game's executable: finds its shipped data, makes it the working folder,
// prepares the player's folder and runs the game in an SDL window.
//
//   korvamo [--data DIR] [--player-dir DIR]
//
// --data names the shipped data (default: beside the executable in a build,
// or the install's share/korvamo); --player-dir (or KORVAMO_PLAYER_DIR) the
// folder for settings, profiles, records and edited tracks (default
// $XDG_DATA_HOME/korvamo, that is ~/.local/share/korvamo; on Windows
// %APPDATA%\Korvamo).
#include <cstdlib>
#include <string>

#include "app/player_folder.h"
#include "app/startup.h"
#include "engine/backend_sdl.h"
#include "engine/fs.h"
#include "engine/host.h"
#include "engine/oe.h"

namespace {

// The shipped data holds gfx/, sfx/, fnt/ and wld/: beside the executable in
// a build, or in the install's share folder, so any prefix works.
std::string FindDataFolder() {
    const std::string exe = Fs_ExecutableFolder();
    for (const std::string& candidate : {exe + "/data", exe, exe + "/../share/korvamo"})
        if (Fs_IsFolder(candidate + "/gfx")) return candidate;
    return {};
}

struct Options {
    std::string data;
    std::string player;
};

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--data" && i + 1 < argc) o.data = argv[++i];
        else if (arg == "--player-dir" && i + 1 < argc) o.player = argv[++i];
        else return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseArgs(argc, argv, o)) {
        Host_ReportError("usage: korvamo [--data DIR] [--player-dir DIR]");
        return 2;
    }
    if (o.data.empty()) o.data = FindDataFolder();
    if (o.player.empty() && std::getenv("KORVAMO_PLAYER_DIR")) o.player = std::getenv("KORVAMO_PLAYER_DIR");
    if (o.player.empty()) o.player = Host_DefaultPlayerFolder();
    if (o.data.empty() || !Fs_IsFolder(o.data + "/gfx")) {
        Host_ReportError("cannot find the data folder (gfx/, sfx/, fnt/) beside the game");
        return 1;
    }
    if (o.player.empty()) {
        Host_ReportError("no folder for the player's files: set HOME, XDG_DATA_HOME (APPDATA on Windows) or --player-dir");
        return 1;
    }
    std::string error;
    if (!PlayerFolder_Prepare(o.player, o.data, error) || !Fs_SetWorkingFolder(o.data)) {
        Host_ReportError(error.empty() ? "cannot enter " + o.data : error);
        return 1;
    }
    oe::SetBackend(oe::MakeSdlBackend());
    Game_Main();
    if (!OE_InitError().empty()) {
        Host_ReportError(OE_InitError());
        return 1;
    }
    return 0;
}
