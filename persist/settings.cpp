#include "persist/settings.h"

#include "app/globals.h"
#include "engine/fs.h"
#include "persist/text_lines.h"
#include "ui/element.h"

uint8_t windowed = 0;
std::string country;

namespace {

constexpr const char* kSettingsFile = "main.cfg";

void AppendLine(std::vector<uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back('\r');
    out.push_back('\n');
}

uint8_t& Ticked(const char* name) { return Element_At(Element_Find(name)).ticked; }

}  // namespace

bool Settings_Save() {
    windowed = Ticked("chk_wd");
    music_off = Ticked("chk_mmd");
    ambient_off = Ticked("chk_amd");
    country = Element_At(Element_Find("edt_ct")).caption;

    std::vector<uint8_t> file;
    for (const uint8_t flag : {windowed, music_off, ambient_off}) {
        AppendLine(file, std::string(1, static_cast<char>(flag)));
    }
    AppendLine(file, country);
    AppendLine(file, player_name);
    return Fs_WriteFileAtomic(kSettingsFile, file);
}

void Settings_Load() {
    // A missing or unreadable file reads as an empty one: every flag 0, every text empty.
    const std::vector<uint8_t> file = Fs_ReadFile(kSettingsFile).value_or(std::vector<uint8_t>{});
    TextReader reader{file};
    for (uint8_t* flag : {&windowed, &music_off, &ambient_off}) {
        *flag = reader.Byte().value_or(0);
        reader.SkipLine();
    }
    country = reader.Line();
    player_name = reader.Line();

    Ticked("chk_wd") = windowed;
    Ticked("chk_mmd") = music_off;
    Ticked("chk_amd") = ambient_off;
    // A partner box shows the opposite; a hand-typed byte keeps its other bits.
    Ticked("chk_fs") = Ticked("chk_wd") ^ 1;
    Ticked("chk_ame") = Ticked("chk_amd") ^ 1;
    Ticked("chk_mme") = Ticked("chk_mmd") ^ 1;
    Element_At(Element_Find("edt_ct")).caption = country;

    const bool fullscreen_now = OE_GetOptions()->fullscreen != 0;
    if (fullscreen_now && windowed == 1) OE_ChangeScreenOptions(800, 600, 32, 0, false, true);
    if (!fullscreen_now && windowed == 0) OE_ChangeScreenOptions(800, 600, 32, 0, true, true);
}
