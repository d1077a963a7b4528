// actions_profile.cpp: the profile choice, create-profile and load-profile dialogs.
#include "ui/actions_profile.h"

#include <cerrno>
#include <string>
#include <utility>

#include "core/notice.h"
#include "core/state.h"
#include "persist/profile.h"
#include "ui/actions.h"
#include "ui/input_widgets.h"
#include "ui/player_profile.h"
#include "ui/screens.h"
#include "world/race_rules.h"

namespace {

Ilist& ProfileList() { return *screens.lst_pr; }

// The dialogs that lead to a profile start from a clean standing.
void ForgetStanding() {
    player.progress = 0;
    player.score = 0;
}

// What is wrong with a name that cannot become a profile. The limit is in
// bytes, which a letter outside plain ASCII takes two to four of.
std::string WhyNotAName(const std::string& name) {
    if (name.empty()) return "Type a name for the profile";
    if (name.size() > PROFILE_NAME_MAX_BYTES)
        return "A profile name is at most " + std::to_string(PROFILE_NAME_MAX_BYTES) + " bytes; this one is " +
               std::to_string(name.size()) + " (an accented letter takes 2)";
    if (name == "." || name == ".." || name.starts_with(".korvamo-"))
        return "\"" + name + "\" is a name the game keeps for itself; choose another";
    return "A profile name cannot hold slashes or control characters";
}

}  // namespace

void act_change_profile() {
    game.state = STATE_PROFILES;
    ProfileList().items = Profile_List();
    screens.wnd_pr->visible = 1;
    screens.wnd_menu->visible = 0;
}

void act_new_profile() {
    screens.wnd_pr->visible = 0;
    screens.wnd_pr_cr->visible = 1;
    ForgetStanding();
}

void act_pick_profile() {
    if (ProfileList().items.count == 0) return;
    ForgetStanding();
    screens.wnd_pr->visible = 0;
    screens.wnd_pr_ld->visible = 1;
}

void act_profile_choice() {
    screens.wnd_pr_cr->visible = 0;
    screens.wnd_pr_ld->visible = 0;
    screens.wnd_pr->visible = 1;
}

void act_create_profile() {
    // The name becomes a file name in "prf\": one that could lead elsewhere or
    // cannot be stored is refused like an empty one.
    const std::string name = screens.edt_pr_cr->caption;
    if (!Profile_NameIsStorable(name)) {
        Notice_Post(WhyNotAName(name));
        return;
    }
    std::string previous = std::exchange(player.name, name);
    // A profile that could not be written would leave no menu to go to.
    if (!Profile_Create()) {
        if (errno == EEXIST)
            Notice_Post("\"" + name + "\" is taken: \"Load existing\" opens that profile");
        else
            Notice_Failure("Could not create the profile");
        player.name = std::move(previous);
        return;
    }
    act_back_to_menu();
    game.state = STATE_MENU;
}

void act_load_profile() {
    const Ilist& list = ProfileList();
    // The entry under the selection band.
    if (list.highlight_row < 0 || list.highlight_row >= list.items.count) return;
    const std::string& name = list.items.names[list.highlight_row];
    if (name.empty()) return;
    player.name = name;
    Profile_Load();
    act_back_to_menu();
    game.state = STATE_MENU;
}

void act_profile_list_up() { FList_Rotate(ProfileList().items, +1); }

void act_profile_list_down() { FList_Rotate(ProfileList().items, -1); }
