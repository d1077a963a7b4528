#include "ui/player_profile.h"

#include <optional>

#include "core/state.h"
#include "persist/profile.h"
#include "world/tournament.h"

namespace {

void Seen(const tprofile& profile) {
    player.seen_name = player.name;
    player.seen_progress = profile.progress;
    player.seen_score = profile.score;
}

}  // namespace

bool Profile_Save() {
    const tprofile mine{player.progress, player.score};
    std::optional<tprofile> before;
    if (player.seen_name == player.name) before = tprofile{player.seen_progress, player.seen_score};
    const std::optional<tprofile> saved = Profile_Update(player.name, before, mine);
    if (!saved) return false;
    Seen(*saved);
    player.progress = saved->progress;
    player.score = saved->score;
    return true;
}

void Profile_Load() {
    const tprofile profile = Profile_Read(player.name);
    Seen(profile);
    player.progress = profile.progress;
    player.score = profile.score;
}

bool Profile_Create() {
    if (!Profile_WriteNew(player.name)) return false;
    Seen({});
    return true;
}

TF_list Profile_List() {
    const TF_list found = FList_FromFolder("prf\\*.*");
    TF_list list;
    for (int32_t i = 0; i < found.count; ++i)
        if (Profile_NameIsStorable(found.names[i])) FList_Add(list, found.names[i]);
    return list;
}

bool Profile_CarUnlocked(int32_t kind) { return Tournament_CarUnlocked(player.progress, kind); }

bool Profile_TrackUnlocked(int32_t track) { return Tournament_TrackUnlocked(player.progress, track); }
