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

bool Profile_CarUnlocked(int32_t kind) { return Tournament_CarUnlocked(player.progress, kind); }

bool Profile_TrackUnlocked(int32_t track) { return Tournament_TrackUnlocked(player.progress, track); }
