// profile.h: a player's profile file "prf\" + name and the profile record.
#pragma once

#include <string>
#include <string_view>

#include "persist/file_formats.h"

// True when a name can become a file in "prf\": 1 to 64 bytes, no "/" or "\",
// not "." or "..", no control characters.
bool Profile_NameIsStorable(std::string_view name);

// Writes the record to the player's file, replacing it whole; false when the
// name is not storable or the write fails (the old file stays as it was; errno tells why).
bool Profile_Write(const std::string& name, const tprofile& profile);

// Reads the player's file. A missing file, or a name that is not storable,
// gives 0 and 0; a score that is not a number 0; a progress above 16 is 16.
tprofile Profile_Read(const std::string& name);

// Writes a new profile (progress 0, no score line); false when the name is not
// storable, a profile of that name exists already (errno EEXIST; it is left
// as it was) or the write fails (errno tells why).
bool Profile_WriteNew(const std::string& name);
