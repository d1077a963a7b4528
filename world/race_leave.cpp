#include "world/race_leave.h"

#include <algorithm>

#include "core/state.h"
#include "world/race_rules.h"
#include "world/tuning.h"

bool Race_LeavingCountsAsLost() {
    const bool racing = game.state == STATE_RACE || game.state == STATE_PAUSED;
    return racing && game.race_mode == 0 && game.current_time >= Race_ReleaseTime() && race.player_laps < RACE_LAPS;
}

int32_t Race_LeavingCost() { return Race_LeavingCountsAsLost() ? std::min(player.score, RACE_DEFEAT_POINTS) : 0; }
