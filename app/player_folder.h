// player_folder.h: the folder that holds what one player's game writes
// ("main.cfg", "prf\", "rec\", the editor's tracks), apart from the shipped
// data the game only reads.
#pragma once

#include <string>

// Creates the folder with its "prf", "rec" and "wld" folders and makes it the
// player's folder of the file layer. Once per folder (a marker file says it
// happened), copies what an older game wrote into the shipped data folder
// `data`: "main.cfg", the profiles, the records and the tracks that are not
// the sixteen shipped ones. Nothing in `data` is moved or changed, and a file
// the player's folder already has is kept; nothing is created through a
// symbolic link. Temporary files a game left when it stopped mid-write are
// removed. False, with the reason in `error`, when the folder cannot be made.
bool PlayerFolder_Prepare(const std::string& folder, const std::string& data, std::string& error);
