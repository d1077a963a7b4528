// settings.h: the options as the game keeps them: saved from the option screen
// into "main.cfg", loaded back into the screen and applied.
#pragma once

// Copies the option screen's boxes into the options and writes them with the
// player's name to "main.cfg" (replaced whole, or left as it was if the write
// fails). Returns false on a failed write.
bool Settings_Save();

// Reads "main.cfg" into the options and the player's name (a missing, short or
// unreadable file gives 0 and empty texts for what is missing), sets the option
// boxes, switches between window and full screen when the file asks for the
// other mode, and stops the music when it is off.
void Settings_Load();

// "Accept" on the option screen: saves the boxes, then loads them back, which applies them.
void Settings_Accept();
