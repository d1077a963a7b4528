#include "persist/settings.h"

#include "app/globals.h"
#include "engine/fs.h"
#include "music/modplayer.h"
#include "persist/file_formats.h"
#include "ui/element.h"

uint8_t windowed = 0;
std::string country;

namespace {

constexpr const char* kSettingsFile = "main.cfg";

uint8_t& Ticked(const char* name) { return Element_Named(name).ticked; }

}  // namespace

bool Settings_Save() {
    windowed = Ticked("chk_wd");
    music_off = Ticked("chk_mmd");
    ambient_off = Ticked("chk_amd");
    country = Element_Named("edt_ct").caption;
    return Fs_WriteFileAtomic(kSettingsFile,
                              Settings_Encode({windowed, music_off, ambient_off, country, player_name}));
}

void Settings_Load() {
    // A missing or unreadable file reads as an empty one: every flag 0, every text empty.
    const tsettings file = Settings_Decode(Fs_ReadFile(kSettingsFile).value_or(std::vector<uint8_t>{}));
    windowed = file.windowed;
    music_off = file.music_off;
    ambient_off = file.ambient_off;
    country = file.country;
    player_name = file.player_name;

    Ticked("chk_wd") = windowed;
    Ticked("chk_mmd") = music_off;
    Ticked("chk_amd") = ambient_off;
    // A partner box shows the opposite; a hand-typed byte keeps its other bits.
    Ticked("chk_fs") = Ticked("chk_wd") ^ 1;
    Ticked("chk_ame") = Ticked("chk_amd") ^ 1;
    Ticked("chk_mme") = Ticked("chk_mmd") ^ 1;
    Element_Named("edt_ct").caption = country;

    const bool fullscreen_now = OE_GetOptions()->fullscreen != 0;
    if (fullscreen_now && windowed == 1) OE_ChangeScreenOptions(800, 600, 32, 0, false, true);
    if (!fullscreen_now && windowed == 0) OE_ChangeScreenOptions(800, 600, 32, 0, true, true);
    // Switching the music on is left to the tick, which starts it when none plays.
    if (music_off == 1) Music_Stop();
}
