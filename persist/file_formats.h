// file_formats.h: the bytes of "main.cfg" and of a profile file, read and written
// without touching any program state, so the readers can be tested on any input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "world/tournament.h"

// The longest profile name, in bytes, typed or read from a file.
constexpr size_t PROFILE_NAME_MAX_BYTES = 64;
// The longest country text read from "main.cfg"; a longer one reads as none.
constexpr size_t SETTINGS_COUNTRY_MAX_BYTES = 255;
// "main.cfg" and a profile file are read up to these many bytes: everything
// they keep fits, and a huge file costs no more.
constexpr size_t SETTINGS_MAX_BYTES = 4096;
constexpr size_t PROFILE_MAX_BYTES = 4096;

// The values "main.cfg" keeps, in file order.
struct tsettings {
    uint8_t windowed = 0;
    uint8_t music_off = 0;
    uint8_t ambient_off = 0;
    std::string country;
    std::string player_name;
};

// What a profile file keeps.
struct tprofile {
    int32_t progress = 0;
    int32_t score = 0;
};


// Five lines ended by CR LF: the three flags as raw bytes, the country, the name.
std::vector<uint8_t> Settings_Encode(const tsettings& settings);
// Each flag is the first byte of its line, taken as it is; the texts are whole
// lines, but a country longer than SETTINGS_COUNTRY_MAX_BYTES or a player's
// name longer than a profile name can be reads as none. Whatever a short file
// lacks reads as 0 or empty.
tsettings Settings_Decode(const std::vector<uint8_t>& file);

// The progress as one raw byte and CR LF, the score in decimal and CR LF.
std::vector<uint8_t> Profile_Encode(const tprofile& profile);
// The first byte is the progress even when it is a line break (10 or 13), clamped
// to 16; the score is the next word as a signed decimal, 0 when there is none or
// it is not a number that fits.
tprofile Profile_Decode(const std::vector<uint8_t>& file);
