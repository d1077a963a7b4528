// text_lines.h: reading the game's small CR LF text files byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A cursor over a whole file. Reads past the end give what a file that ends there
// holds: no byte, an empty line, no number.
struct TextReader {
    const std::vector<uint8_t>& bytes;
    size_t at = 0;

    // The next byte taken as it is (even a line break), or nothing at the end.
    std::optional<uint8_t> Byte();
    // Skips to the start of the next line: past the next LF, or past a lone CR.
    void SkipLine();
    // The rest of the line without its CR LF, LF or CR, and moves past the break.
    std::string Line();
    // Skips spaces and line breaks, then reads up to the next space or control
    // character as a signed decimal; nothing when that is not a number that fits.
    std::optional<int32_t> Integer();
};
