// actions.cpp: moving between the screens, the options, the link files,
// quitting and the editor's map buttons.
#include "ui/actions.h"

#include <algorithm>
#include <string>

#include "core/state.h"
#include "assets/texbase.h"
#include "persist/profile.h"
#include "ui/actions_race.h"
#include "ui/display_widgets.h"
#include "ui/input_widgets.h"
#include "ui/player_profile.h"
#include "ui/screens.h"
#include "world/mapfile.h"
#include "world/race_rules.h"
#include "world/race_setup.h"
#include "world/tournament.h"
#include "world/world.h"

namespace {

OE_Procedure accept_options = nullptr;

// One option row's pair of boxes: the one clicked ends up ticked, its partner not.
void TickPair(const char* on, const char* off) {
    Element_Named(on).ticked = 1;
    Element_Named(off).ticked = 0;
}

// The editor's map file named by an edit box.
std::string EditorMapFile(const char* edit_box) { return "wld\\" + Element_Named(edit_box).caption + ".wld"; }

// The same rule as for profile names: one plain file name, nothing else.
bool EditorMapNameIsSafe(const char* edit_box) {
    return Profile_NameIsStorable(Element_Named(edit_box).caption);
}

}  // namespace

void act_back_to_menu() {
    Ilist& profiles = Element_As<Ilist>(Element_Find("lst_pr"));
    profiles.items = FList_FromFolder("prf\\*.*");
    // Without a profile there is no menu to go to.
    if (profiles.items.count == 0) return;
    player.free_track = 0;
    player.car_kind = 0;
    player.car_colour = 0;
    Race_ClearResult();
    Screens_Hide("wnd_pause");
    Screens_Show("wnd_menu");
    for (const char* window : {"wnd_tour", "wnd_help", "wnd_opt", "wnd_sr", "wnd_main", "wnd_pr", "wnd_pr_cr",
                               "wnd_pr_ld"})
        Screens_Hide(window);
    game.state = STATE_MENU;
}

void act_tournament() {
    Profile_Save();
    Iimage& track = Element_As<Iimage>(Element_Find("img_track"));
    if (player.progress < PROGRESS_CUP_WON) {
        track.texture = TexBase_Find(share_registry, "t" + std::to_string(player.progress / 4));
        Screens_Hide("btn_send");
        Screens_Show("btn_start_tr");
    } else {
        track.texture = TexBase_Find(share_registry, "g_tr");
        Screens_Show("btn_send");
        Screens_Hide("btn_start_tr");
    }
    Screens_Hide("wnd_fin_good");
    Screens_Hide("wnd_fin_bad");
    Screens_Hide("wnd_menu");
    Screens_Show("wnd_tour");
    game.state = STATE_TOURNAMENT;
    Race_ClearResult();
}

void act_free_race() {
    Race_ClearResult();
    Screens_Hide("wnd_fin_good2");
    Screens_Hide("wnd_fin_bad2");
    Screens_Hide("wnd_menu");
    Screens_Show("wnd_sr");
    game.state = STATE_FREE_RACE;
}

void act_options() {
    Screens_Hide("wnd_menu");
    Screens_Show("wnd_opt");
    game.state = STATE_OPTIONS;
}

void act_help() {
    game.state = STATE_HELP;
    Screens_Hide("wnd_menu");
    Screens_Show("wnd_help");
}

void act_help_overview() {
    Screens_Show("img_h1");
    Screens_Hide("img_h2");
    Screens_Hide("img_h3");
}

void act_help_controls() {
    Screens_Show("img_h2");
    Screens_Hide("img_h1");
    Screens_Hide("img_h3");
}

void act_resume() {
    game.state = STATE_RACE;
    Screens_Hide("wnd_pause");
}

// A missing link file opens nothing; the game carries on either way.
void act_open_more_games() { OE_OpenLinkFile("moregames.url"); }
void act_open_tell_a_friend() { OE_OpenLinkFile("tellafriend.url"); }
void act_open_subscribe() { OE_OpenLinkFile("subscribe.url"); }
void act_open_website() { OE_OpenLinkFile("website.url"); }

void act_quit() {
    OE_Quit();
    OE_OpenLinkFile("play.url");
}

void act_fullscreen() { TickPair("chk_fs", "chk_wd"); }
void act_windowed() { TickPair("chk_wd", "chk_fs"); }
void act_ambient_on() { TickPair("chk_ame", "chk_amd"); }
void act_ambient_off() { TickPair("chk_amd", "chk_ame"); }
void act_music_on() { TickPair("chk_mme", "chk_mmd"); }
void act_music_off() { TickPair("chk_mmd", "chk_mme"); }

void act_accept_options() {
    if (accept_options) accept_options();
    act_back_to_menu();
}

void Actions_SetAcceptOptions(OE_Procedure save_and_apply) { accept_options = save_and_apply; }

// A map name that could lead out of "wld\" saves and loads nothing.
void act_editor_save() {
    if (EditorMapNameIsSafe("edt_save")) World_Save(world_map, EditorMapFile("edt_save"));
}

// Loads over the current map without clearing it first.
void act_editor_load() {
    if (EditorMapNameIsSafe("edt_load")) World_LoadRace(world_map, EditorMapFile("edt_load"));
}

void act_editor_undo_waypoint() { world_map.waypoint_count = std::max(world_map.waypoint_count - 1, 0); }
