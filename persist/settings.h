// settings.h: "main.cfg", the options and the name of the last profile.
#pragma once

#include <cstdint>
#include <string>

// Copies the option screen's boxes into the settings and writes "main.cfg"
// (replaced whole, or left as it was if the write fails). Returns false on a failed write.
bool Settings_Save();

// Reads "main.cfg" into the settings (a missing, short or unreadable file gives 0 and
// empty texts for what is missing), sets the option boxes, switches between window and
// full screen when the file asks for the other mode, and stops the music when it is off.
void Settings_Load();
