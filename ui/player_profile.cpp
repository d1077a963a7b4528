#include "ui/player_profile.h"

#include "core/state.h"
#include "persist/profile.h"
#include "world/tournament.h"

bool Profile_Save() { return Profile_Write(player.name, {player.progress, player.score}); }

void Profile_Load() {
    const tprofile profile = Profile_Read(player.name);
    player.progress = profile.progress;
    player.score = profile.score;
}

bool Profile_Create() { return Profile_WriteNew(player.name); }

TF_list Profile_List() {
    const TF_list found = FList_FromFolder("prf\\*.*");
    TF_list list;
    for (int32_t i = 0; i < found.count; ++i)
        if (Profile_NameIsStorable(found.names[i])) FList_Add(list, found.names[i]);
    return list;
}

bool Profile_CarUnlocked(int32_t kind) { return Tournament_CarUnlocked(player.progress, kind); }

bool Profile_TrackUnlocked(int32_t track) { return Tournament_TrackUnlocked(player.progress, track); }
