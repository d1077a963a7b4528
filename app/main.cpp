// The game's executable: finds its data folder, makes it the working folder and
// runs the game in an SDL window.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/startup.h"
#include "engine/backend_sdl.h"

namespace {

namespace fs = std::filesystem;

// The data folder holds gfx/, sfx/, fnt/ and wld/: beside the executable in a
// build, or in the install's share folder.
fs::path FindDataFolder() {
    std::error_code ec;
    const fs::path exe_dir = fs::read_symlink("/proc/self/exe", ec).parent_path();
    for (const fs::path& candidate :
         {exe_dir / "data", exe_dir, exe_dir / ".." / "share" / "korvamo"}) {
        if (fs::is_directory(candidate / "gfx", ec)) return candidate;
    }
    return {};
}

}  // namespace

int main() {
    const fs::path data = FindDataFolder();
    std::error_code ec;
    if (data.empty() || (fs::current_path(data, ec), ec)) {
        std::fprintf(stderr, "korvamo: cannot find the data folder (gfx/, sfx/, fnt/) next to the game\n");
        return 1;
    }
    oe::SetBackend(oe::MakeSdlBackend());
    Game_Main();
    return 0;
}
