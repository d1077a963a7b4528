#include "persist/settings.h"

#include "core/state.h"
#include "engine/fs.h"
#include "music/modplayer.h"
#include "persist/file_formats.h"
#include "ui/element.h"

namespace {

constexpr const char* kSettingsFile = "main.cfg";

uint8_t& Ticked(const char* name) { return Element_Named(name).ticked; }

}  // namespace

bool Settings_Save() {
    options.windowed = Ticked("chk_wd");
    options.music_off = Ticked("chk_mmd");
    options.ambient_off = Ticked("chk_amd");
    options.country = Element_Named("edt_ct").caption;
    return Fs_WriteFileAtomic(kSettingsFile,
                              Settings_Encode({options.windowed, options.music_off, options.ambient_off, options.country, player.name}));
}

void Settings_Load() {
    // A missing or unreadable file reads as an empty one: every flag 0, every text empty.
    const tsettings file = Settings_Decode(Fs_ReadFile(kSettingsFile).value_or(std::vector<uint8_t>{}));
    options.windowed = file.windowed;
    options.music_off = file.music_off;
    options.ambient_off = file.ambient_off;
    options.country = file.country;
    player.name = file.player_name;

    Ticked("chk_wd") = options.windowed;
    Ticked("chk_mmd") = options.music_off;
    Ticked("chk_amd") = options.ambient_off;
    // A partner box shows the opposite; a hand-typed byte keeps its other bits.
    Ticked("chk_fs") = Ticked("chk_wd") ^ 1;
    Ticked("chk_ame") = Ticked("chk_amd") ^ 1;
    Ticked("chk_mme") = Ticked("chk_mmd") ^ 1;
    Element_Named("edt_ct").caption = options.country;

    const bool fullscreen_now = OE_GetOptions()->fullscreen != 0;
    if (fullscreen_now && options.windowed == 1) OE_ChangeScreenOptions(800, 600, 32, 0, false, true);
    if (!fullscreen_now && options.windowed == 0) OE_ChangeScreenOptions(800, 600, 32, 0, true, true);
    // Switching the music on is left to the tick, which starts it when none plays.
    if (options.music_off == 1) Music_Stop();
}
