#include "ui/options_boxes.h"

#include "core/state.h"
#include "ui/element.h"

namespace {

uint8_t& Ticked(const char* name) { return Element_Named(name).ticked; }

}  // namespace

void Options_FromBoxes() {
    options.windowed = Ticked("chk_wd");
    options.music_off = Ticked("chk_mmd");
    options.ambient_off = Ticked("chk_amd");
    options.country = Element_Named("edt_ct").caption;
}

void Options_ToBoxes() {
    Ticked("chk_wd") = options.windowed;
    Ticked("chk_mmd") = options.music_off;
    Ticked("chk_amd") = options.ambient_off;
    Ticked("chk_fs") = Ticked("chk_wd") ^ 1;
    Ticked("chk_ame") = Ticked("chk_amd") ^ 1;
    Ticked("chk_mme") = Ticked("chk_mmd") ^ 1;
    Element_Named("edt_ct").caption = options.country;
}
