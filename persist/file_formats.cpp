#include "persist/file_formats.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

// A cursor over a whole file; reads past the end see what a file that ends there holds.
struct TextReader {
    const std::vector<uint8_t>& bytes;
    size_t at = 0;

    std::optional<uint8_t> Byte() {
        if (at >= bytes.size()) return std::nullopt;
        return bytes[at++];
    }

    // The rest of the line without its CR LF, LF or lone CR; moves past the break.
    std::string Line() {
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

    // Skips spaces and line breaks, then reads up to the next space or control
    // character as a signed decimal.
    std::optional<int32_t> Integer() {
        while (at < bytes.size() && (bytes[at] == ' ' || bytes[at] == '\r' || bytes[at] == '\n')) ++at;
        const size_t start = at;
        while (at < bytes.size() && bytes[at] > ' ' && bytes[at] != 127) ++at;
        const char* first = reinterpret_cast<const char*>(bytes.data()) + start;
        const char* last = reinterpret_cast<const char*>(bytes.data()) + at;
        int32_t value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (start == at || error != std::errc() || end != last) return std::nullopt;
        return value;
    }
};

void AppendLine(std::vector<uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back('\r');
    out.push_back('\n');
}

}  // namespace

std::vector<uint8_t> Settings_Encode(const tsettings& settings) {
    std::vector<uint8_t> file;
    for (const uint8_t flag : {settings.windowed, settings.music_off, settings.ambient_off}) {
        AppendLine(file, std::string(1, static_cast<char>(flag)));
    }
    AppendLine(file, settings.country);
    AppendLine(file, settings.player_name);
    return file;
}

tsettings Settings_Decode(const std::vector<uint8_t>& file) {
    tsettings settings;
    TextReader reader{file};
    for (uint8_t* flag : {&settings.windowed, &settings.music_off, &settings.ambient_off}) {
        *flag = reader.Byte().value_or(0);
        reader.Line();
    }
    settings.country = reader.Line();
    settings.player_name = reader.Line();
    if (settings.country.size() > SETTINGS_COUNTRY_MAX_BYTES) settings.country.clear();
    if (settings.player_name.size() > PROFILE_NAME_MAX_BYTES) settings.player_name.clear();
    return settings;
}

std::vector<uint8_t> Profile_Encode(const tprofile& profile) {
    std::vector<uint8_t> file = {static_cast<uint8_t>(profile.progress)};
    AppendLine(file, "");
    AppendLine(file, std::to_string(profile.score));
    return file;
}

tprofile Profile_Decode(const std::vector<uint8_t>& file) {
    TextReader reader{file};
    tprofile profile;
    profile.progress = std::min<int32_t>(reader.Byte().value_or(0), PROGRESS_CUP_WON);
    reader.Line();
    profile.score = reader.Integer().value_or(0);
    return profile;
}
