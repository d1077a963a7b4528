#include "app/settings.h"

#include "core/notice.h"
#include "core/state.h"
#include "engine/oe.h"
#include "music/modplayer.h"
#include "persist/settings.h"
#include "ui/options_boxes.h"

bool Settings_Save() {
    Options_FromBoxes();
    if (Settings_Write({options.windowed, options.music_off, options.ambient_off, options.country, player.name}))
        return true;
    Notice_Failure("Could not save the settings");
    return false;
}

void Settings_Load() {
    const tsettings file = Settings_Read();
    options = {file.windowed, file.music_off, file.ambient_off, file.country};
    player.name = file.player_name;
    Options_ToBoxes();

    const bool fullscreen_now = OE_GetOptions()->fullscreen != 0;
    if (fullscreen_now && options.windowed == 1) OE_ChangeScreenOptions(800, 600, 32, 0, false, true);
    if (!fullscreen_now && options.windowed == 0) OE_ChangeScreenOptions(800, 600, 32, 0, true, true);
    // Switching the music on is left to the tick, which starts it when none plays.
    if (options.music_off == 1) Music_Stop();
}

void Settings_Accept() {
    Settings_Save();
    Settings_Load();
}
