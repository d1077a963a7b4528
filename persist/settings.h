// settings.h: the file "main.cfg": the options and the name of the last player.
#pragma once

#include "persist/file_formats.h"

// Reads "main.cfg"; a missing, short or unreadable file gives 0 and empty
// texts for what it lacks.
tsettings Settings_Read();

// Writes "main.cfg" whole, or leaves it as it was when the write fails (false).
bool Settings_Write(const tsettings& settings);
