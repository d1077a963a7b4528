#include "ui/options_boxes.h"

#include "core/state.h"
#include "ui/screens.h"

void Options_FromBoxes() {
    options.windowed = screens.chk_wd->ticked;
    options.music_off = screens.chk_mmd->ticked;
    options.ambient_off = screens.chk_amd->ticked;
    options.country = screens.edt_ct->caption;
}

void Options_ToBoxes() {
    screens.chk_wd->ticked = options.windowed;
    screens.chk_mmd->ticked = options.music_off;
    screens.chk_amd->ticked = options.ambient_off;
    screens.chk_fs->ticked = screens.chk_wd->ticked ^ 1;
    screens.chk_ame->ticked = screens.chk_amd->ticked ^ 1;
    screens.chk_mme->ticked = screens.chk_mmd->ticked ^ 1;
    screens.edt_ct->caption = options.country;
}
