#include "persist/text_lines.h"

#include <charconv>

std::optional<uint8_t> TextReader::Byte() {
    if (at >= bytes.size()) return std::nullopt;
    return bytes[at++];
}

void TextReader::SkipLine() { Line(); }

std::string TextReader::Line() {
    std::string line;
    while (at < bytes.size()) {
        const uint8_t c = bytes[at++];
        if (c == '\n') break;
        if (c == '\r') {
            if (at < bytes.size() && bytes[at] == '\n') ++at;
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    return line;
}

std::optional<int32_t> TextReader::Integer() {
    while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\r' || bytes[at] == '\n')) ++at;
    const size_t start = at;
    while (at < bytes.size() && bytes[at] > ' ' && bytes[at] != 127) ++at;
    if (start == at) return std::nullopt;
    const char* first = reinterpret_cast<const char*>(bytes.data()) + start;
    const char* last = reinterpret_cast<const char*>(bytes.data()) + at;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}
