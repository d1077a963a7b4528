// actions_race.cpp: the car, colour, track and difficulty choices and the race starts.
#include "ui/actions_race.h"

#include <algorithm>

#include "assets/soundbase.h"
#include "core/state.h"
#include "ui/player_profile.h"
#include "ui/screens.h"
#include "world/race_setup.h"
#include "world/tournament.h"
#include "world/tuning.h"
#include "world/world.h"

namespace {

constexpr int32_t kLastCarKind = static_cast<int32_t>(car_kind_names.size()) - 1;
constexpr int32_t kLastColour = static_cast<int32_t>(car_colours.size()) - 1;
constexpr int32_t kLastTrack = TOURNAMENT_TRACKS - 1;


}  // namespace

void act_next_car() { player.car_kind = std::min(player.car_kind + 1, kLastCarKind); }
void act_prev_car() { player.car_kind = std::max(player.car_kind - 1, 0); }
void act_next_colour() { player.car_colour = std::min(player.car_colour + 1, kLastColour); }
void act_prev_colour() { player.car_colour = std::max(player.car_colour - 1, 0); }
void act_next_track() { player.free_track = std::min(player.free_track + 1, kLastTrack); }
void act_prev_track() { player.free_track = std::max(player.free_track - 1, 0); }

void act_difficulty() {
    player.difficulty = player.difficulty >= HARDEST_DIFFICULTY || player.difficulty < 0 ? 0 : player.difficulty + 1;
    for (Ibutton* button : {screens.btn_pow, screens.btn_pow2}) button->caption = difficulty_names[player.difficulty];
}

void act_start_tournament_race() {
    // The lock shown by the tick; a won cup has no track left to race.
    if (screens.tour_car.lock->visible || player.progress < 0 || player.progress > kLastTrack) {
        SndBase_Play(sound_registry, "bad", false);
        return;
    }
    game.race_mode = 0;
    screens.wnd_tour->visible = 0;
    World_StartRace(track_files[player.progress]);
}

void act_start_free_race() {
    if (screens.free_car.lock->visible || screens.txt_locktr_map2->visible) {
        SndBase_Play(sound_registry, "bad", false);
        return;
    }
    game.race_mode = 1;
    screens.wnd_sr->visible = 0;
    World_StartRace(track_files[player.free_track]);
}
