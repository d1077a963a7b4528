#include "tools/harness/scratch_link.h"

#include <string>
#include <system_error>

namespace harness {

namespace fs = std::filesystem;

bool LinkTree(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    const bool folder = fs::is_directory(from, ec);
    if (folder) fs::create_directory_symlink(from, to, ec);
    else fs::create_symlink(from, to, ec);
    if (!ec) return true;
    if (!folder) {
        ec.clear();
        fs::create_hard_link(from, to, ec);
        if (ec) fs::copy_file(from, to, ec = {});
        return !ec;
    }
    ec.clear();
    fs::create_directory(to, ec);
    if (ec) return false;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, ec))
        if (!LinkTree(entry.path(), to / entry.path().filename())) return false;
    return !ec;
}

bool LinkAssets(const fs::path& data, const fs::path& to) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(data, ec)) {
        const std::string name = entry.path().filename().string();
        if (name == "prf" || name == "main.cfg") continue;
        if (!LinkTree(fs::absolute(entry.path()), to / name)) return false;
    }
    return !ec;
}

}  // namespace harness
