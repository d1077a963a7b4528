// actions.h: what the screens' controls do when clicked: moving between the
// screens, the options, the link files, quitting and the editor's map buttons.
// Each is stored in its control's action and takes no arguments.
#pragma once

#include "engine/oe.h"

// Back to the main menu, unless there is no profile yet: then the current
// screen stays. Resets the car, colour and free-race track choices and the
// race counters. Also run at start-up and by the F11 and F12 keys.
void act_back_to_menu();
// Saves the profile and opens the tournament screen with the next track's
// picture, or with "More Games" in place of "Start Race!" once the cup is won.
void act_tournament();
void act_free_race();
void act_options();
void act_help();
void act_help_overview();
void act_help_controls();
void act_resume();   // back into the paused race

// The link files of the working folder, opened with the desktop when present.
void act_open_more_games();
void act_open_tell_a_friend();
void act_open_subscribe();
void act_open_website();
// Ends the game's loop, then opens "play.url" when present.
void act_quit();

// The option boxes work as radio pairs: each forces its pair.
void act_fullscreen();
void act_windowed();
void act_ambient_on();
void act_ambient_off();
void act_music_on();
void act_music_off();
// Saves the settings and reads them back, which applies them; then the menu.
// Saving and applying are the game's: it hands them over once at start-up.
void act_accept_options();
void Actions_SetAcceptOptions(OE_Procedure save_and_apply);

// The map editor's buttons: save and load "wld\" + the edit box's name + ".wld",
// and take back the last waypoint.
void act_editor_save();
void act_editor_load();
void act_editor_undo_waypoint();
