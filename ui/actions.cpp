// actions.cpp: moving between the screens, the options, the link files,
// quitting and the editor's map buttons.
#include "ui/actions.h"

#include <algorithm>
#include <string>

#include "assets/texbase.h"
#include "core/notice.h"
#include "core/state.h"
#include "persist/profile.h"
#include "ui/actions_race.h"
#include "ui/input_widgets.h"
#include "ui/player_profile.h"
#include "ui/screens.h"
#include "world/mapfile.h"
#include "world/particles.h"
#include "world/race_rules.h"
#include "world/race_setup.h"
#include "world/tournament.h"
#include "world/world.h"

namespace {

OE_Procedure accept_options = nullptr;

// One option row's pair of boxes: the one clicked ends up ticked, its partner not.
void TickPair(Icheckbox* on, Icheckbox* off) {
    on->ticked = 1;
    off->ticked = 0;
}

// The editor's map file named by an edit box.
std::string EditorMapFile(const Iedit* edit_box) { return "wld\\" + edit_box->caption + ".wld"; }

// The same rule as for profile names: one plain file name, nothing else.
bool EditorMapNameIsSafe(const Iedit* edit_box) { return Profile_NameIsStorable(edit_box->caption); }

}  // namespace

void act_back_to_menu() {
    screens.lst_pr->items = Profile_List();
    // Without a profile there is no menu to go to.
    if (screens.lst_pr->items.count == 0) return;
    if (Race_Abandon()) {
        Notice_Post("The race you left counts as lost: -" + std::to_string(race.points_lost) + " points");
        if (!Profile_Save()) Notice_Failure("Could not save the profile");
    }
    player.free_track = 0;
    player.car_kind = 0;
    player.car_colour = 0;
    Race_ClearResult();
    screens.wnd_pause->visible = 0;
    screens.wnd_menu->visible = 1;
    for (Iwindow* window : {screens.wnd_tour, screens.wnd_help, screens.wnd_opt, screens.wnd_sr, screens.wnd_main,
                            screens.wnd_pr, screens.wnd_pr_cr, screens.wnd_pr_ld})
        window->visible = 0;
    game.state = STATE_MENU;
}

void act_tournament() {
    if (!Profile_Save()) Notice_Failure("Could not save the profile");
    Particles_Clear(particle_system);   // the menu's sparks stay in the menu
    const bool cup_won = player.progress >= PROGRESS_CUP_WON;
    screens.img_track->texture =
        TexBase_Find(share_registry, cup_won ? "g_tr" : Tournament_TrackPicture(player.progress));
    screens.btn_send->visible = cup_won;
    screens.btn_start_tr->visible = !cup_won;
    screens.wnd_fin_good->visible = 0;
    screens.wnd_fin_bad->visible = 0;
    screens.wnd_menu->visible = 0;
    screens.wnd_tour->visible = 1;
    game.state = STATE_TOURNAMENT;
    Race_ClearResult();
}

void act_free_race() {
    Race_ClearResult();
    Particles_Clear(particle_system);
    screens.wnd_fin_good2->visible = 0;
    screens.wnd_fin_bad2->visible = 0;
    screens.wnd_menu->visible = 0;
    screens.wnd_sr->visible = 1;
    game.state = STATE_FREE_RACE;
}

void act_options() {
    screens.wnd_menu->visible = 0;
    screens.wnd_opt->visible = 1;
    game.state = STATE_OPTIONS;
}

void act_help() {
    game.state = STATE_HELP;
    screens.wnd_menu->visible = 0;
    screens.wnd_help->visible = 1;
}

void act_help_overview() {
    screens.img_h1->visible = 1;
    screens.img_h2->visible = 0;
    screens.img_h3->visible = 0;
}

void act_help_controls() {
    screens.img_h2->visible = 1;
    screens.img_h1->visible = 0;
    screens.img_h3->visible = 0;
}

void act_resume() {
    game.state = STATE_RACE;
    screens.wnd_pause->visible = 0;
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

void act_fullscreen() { TickPair(screens.chk_fs, screens.chk_wd); }
void act_windowed() { TickPair(screens.chk_wd, screens.chk_fs); }
void act_ambient_on() { TickPair(screens.chk_ame, screens.chk_amd); }
void act_ambient_off() { TickPair(screens.chk_amd, screens.chk_ame); }
void act_music_on() { TickPair(screens.chk_mme, screens.chk_mmd); }
void act_music_off() { TickPair(screens.chk_mmd, screens.chk_mme); }

void act_accept_options() {
    if (accept_options) accept_options();
    act_back_to_menu();
}

void Actions_SetAcceptOptions(OE_Procedure save_and_apply) { accept_options = save_and_apply; }

// A map name that could lead out of "wld\" saves and loads nothing.
void act_editor_save() {
    if (EditorMapNameIsSafe(screens.edt_save) && !World_Save(world_map, EditorMapFile(screens.edt_save)))
        Notice_Failure("Could not save the map");
}

// Loads over the current map without clearing it first.
void act_editor_load() {
    if (EditorMapNameIsSafe(screens.edt_load)) World_LoadRace(world_map, EditorMapFile(screens.edt_load));
}

void act_editor_undo_waypoint() { world_map.waypoint_count = std::max(world_map.waypoint_count - 1, 0); }
