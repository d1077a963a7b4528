// scratch_link.h: scratch folders that show the real assets without copying them.
#pragma once

#include <filesystem>

namespace harness {

// Makes `to` show what `from` holds: a symbolic link where the system allows
// one, else (Windows without the right to make them) a tree of hard links to
// the same files, else copies. False when none of these works.
bool LinkTree(const std::filesystem::path& from, const std::filesystem::path& to);

// Links every entry of the data folder `data` into the folder `to` but the
// player's own files ("prf", "main.cfg"), so a game working in `to` reads the
// real assets and whatever it writes stays out of them. False on failure.
bool LinkAssets(const std::filesystem::path& data, const std::filesystem::path& to);

}  // namespace harness
