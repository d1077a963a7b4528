// profile.h: a player's profile file "prf\" + name and the profile record.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "persist/file_formats.h"

// True when a name can become a file in "prf\": 1 to 64 bytes, no "/" or "\",
// not "." or "..", no control characters, not starting ".korvamo-" (the
// game's own hidden files).
bool Profile_NameIsStorable(std::string_view name);

// What a game that read `before` from a profile and now holds `mine` writes
// when the file meanwhile came to hold `on_file` (another game on the same
// profile saved): the further progress of the two (unless this game set its
// own back), and the file's score moved by this game's own change, never below 0.
tprofile Profile_Merge(const tprofile& before, const tprofile& mine, const tprofile& on_file);
// Profile_Merge onto what the player's file holds now (`mine` as it is
// without `before`), written in one step that no other game interleaves with;
// what the file then holds, or nothing when it cannot be written (errno tells
// why; the file stays as it was).
std::optional<tprofile> Profile_Update(const std::string& name, const std::optional<tprofile>& before,
                                       const tprofile& mine);

// Reads the player's file. A missing file, or a name that is not storable,
// gives 0 and 0; a score that is not a number 0; a progress above 16 is 16.
tprofile Profile_Read(const std::string& name);

// Writes a new profile (progress 0, no score line); false when the name is not
// storable, a profile of that name exists already (errno EEXIST; it is left
// as it was) or the write fails (errno tells why).
bool Profile_WriteNew(const std::string& name);
