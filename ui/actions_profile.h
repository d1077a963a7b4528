// actions_profile.h: the profile screens' controls: create, pick and load a
// player's profile, and scroll the profile list.
#pragma once

void act_change_profile();   // the profile choice dialog, with a fresh list
void act_new_profile();      // the create-profile dialog
void act_pick_profile();     // the load-profile dialog, when there is a profile to load
// From the create-profile or load-profile dialog back to the profile choice.
void act_profile_choice();
// Creates the profile named in the edit box and goes to the main menu. A name
// that cannot become a file in "prf\" (empty, "." or "..", a slash, a control
// character, over 64 bytes), the name of an existing profile (which stays as
// it is) or a failed write keeps the dialog open and tells the player why.
void act_create_profile();
// Loads the profile under the list's selection band and goes to the main menu.
void act_load_profile();
void act_profile_list_up();
void act_profile_list_down();
