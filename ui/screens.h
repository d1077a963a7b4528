// screens.h: every screen and dialog of the game, built once at start-up, and
// the handles through which the game reaches the elements it changes.
//
// Fourteen windows, each followed by the elements inside it, 138 elements in
// all. Nothing is created or destroyed afterwards: a screen is shown or hidden
// by its window's visible flag.
#pragma once

#include <string>
#include <vector>

#include "ui/display_widgets.h"
#include "ui/input_widgets.h"

// A screen's car and colour choice (tournament, free race).
struct tcar_picker {
    Iimage* body = nullptr;      // "img_car_wh": the car kind's body
    Iimage* top = nullptr;       // "img_car_tp": its tinted top
    Iimage* lock = nullptr;      // "img_locktr": shown while the car kind is locked
    Iimage* colour = nullptr;    // "img_color": the colour patch
};

// The elements the game reads or changes while it runs, each the last element
// of its name, as a lookup by name finds it. Null until resolved.
struct tscreens {
    // The windows.
    Iwindow* wnd_main = nullptr;        // the map editor's panel
    Iwindow* wnd_menu = nullptr;
    Iwindow* wnd_pr = nullptr;
    Iwindow* wnd_pr_cr = nullptr;
    Iwindow* wnd_pr_ld = nullptr;
    Iwindow* wnd_tour = nullptr;
    Iwindow* wnd_opt = nullptr;
    Iwindow* wnd_sr = nullptr;
    Iwindow* wnd_fin_good = nullptr;
    Iwindow* wnd_fin_bad = nullptr;
    Iwindow* wnd_fin_good2 = nullptr;
    Iwindow* wnd_fin_bad2 = nullptr;
    Iwindow* wnd_pause = nullptr;
    Iwindow* wnd_help = nullptr;
    // The map editor's panel.
    Iedit* edt_save = nullptr;
    Iedit* edt_load = nullptr;
    Ilist* lst_items = nullptr;
    Icheckbox* chk_ai = nullptr;
    Icheckbox* chk_dyn = nullptr;
    Icheckbox* chk_wp = nullptr;
    Iedit* edt_col = nullptr;
    // The main menu.
    Iimage* img_sh1 = nullptr;
    Iimage* img_sh2 = nullptr;
    Iimage* img_sh3 = nullptr;
    Itext* lb_hello = nullptr;
    // The profile dialogs.
    Iedit* edt_pr_cr = nullptr;
    Ilist* lst_pr = nullptr;
    // The tournament.
    Iimage* img_track = nullptr;
    tcar_picker tour_car;
    Ibutton* btn_start_tr = nullptr;
    Ibutton* btn_pow = nullptr;
    Ibutton* btn_send = nullptr;
    Itext* lb_ccc = nullptr;
    Itext* lb_cccscr = nullptr;
    Itext* lb_ctrack = nullptr;
    // The options.
    Icheckbox* chk_fs = nullptr;
    Icheckbox* chk_wd = nullptr;
    Icheckbox* chk_ame = nullptr;
    Icheckbox* chk_amd = nullptr;
    Icheckbox* chk_mme = nullptr;
    Icheckbox* chk_mmd = nullptr;
    Iedit* edt_ct = nullptr;
    // The free race.
    Iimage* img_track2 = nullptr;
    Ilabel* txt_locktr_map2 = nullptr;
    tcar_picker free_car;
    Ibutton* btn_pow2 = nullptr;
    Itext* lb_ctrack2 = nullptr;
    // The help pages.
    Iimage* img_h1 = nullptr;
    Iimage* img_h2 = nullptr;
    Iimage* img_h3 = nullptr;
};

extern tscreens screens;

// Replaces the element list with a fresh one holding every window and control
// in creation order, fills the editor's item list from "gfx\obj\list.txt" and
// the profile list from "prf\", finishes the toolkit's style and resolves the
// handles. Needs the font, the texture registries and the sound registry
// loaded. A handle whose name finds no element of its class stops the game
// with a message: the screens and the handles disagree.
void Screens_Build();

// Fills the handles from the element list as it stands. A name without an
// element of the handle's class gets a hidden stand-in that belongs to no
// screen (so a list built in part, as by a test, still runs); returns those names.
std::vector<std::string> Screens_Resolve();
