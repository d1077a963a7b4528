// The game's executable: finds its data folder, makes it the working folder and
// runs the game in an SDL window.
#include <cstdio>
#include <string>

#include "app/startup.h"
#include "engine/backend_sdl.h"
#include "engine/fs.h"
#include "engine/oe.h"

namespace {

// The data folder holds gfx/, sfx/, fnt/ and wld/: beside the executable in a
// build, or in the install's share folder.
std::string FindDataFolder() {
    const std::string exe = Fs_ExecutableFolder();
    for (const std::string& candidate : {exe + "/data", exe, exe + "/../share/korvamo"})
        if (Fs_IsFolder(candidate + "/gfx")) return candidate;
    return {};
}

}  // namespace

int main() {
    const std::string data = FindDataFolder();
    if (data.empty() || !Fs_SetWorkingFolder(data)) {
        std::fprintf(stderr, "korvamo: cannot find the data folder (gfx/, sfx/, fnt/) beside the game\n");
        return 1;
    }
    oe::SetBackend(oe::MakeSdlBackend());
    Game_Main();
    if (!OE_InitError().empty()) {
        std::fprintf(stderr, "korvamo: %s\n", OE_InitError().c_str());
        return 1;
    }
    return 0;
}
