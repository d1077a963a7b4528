// actions_race.cpp: the car, colour, track and difficulty choices and the race starts.
#include "ui/actions_race.h"

#include <algorithm>

#include "app/globals.h"
#include "assets/soundbase.h"
#include "persist/profile.h"
#include "ui/element.h"
#include "ui/screens.h"
#include "world/race_rules.h"
#include "world/race_setup.h"
#include "world/world.h"

int32_t free_track = 0;

namespace {

constexpr int32_t kLastCarKind = 3;
constexpr int32_t kLastColour = 15;
constexpr int32_t kLastTrack = 15;

bool Visible(const char* name) { return Element_Named(name).visible != 0; }

}  // namespace

void act_next_car() { car_kind = std::min(car_kind + 1, kLastCarKind); }
void act_prev_car() { car_kind = std::max(car_kind - 1, 0); }
void act_next_colour() { car_colour = std::min(car_colour + 1, kLastColour); }
void act_prev_colour() { car_colour = std::max(car_colour - 1, 0); }
void act_next_track() { free_track = std::min(free_track + 1, kLastTrack); }
void act_prev_track() { free_track = std::max(free_track - 1, 0); }

void act_difficulty() {
    difficulty = difficulty >= 2 || difficulty < 0 ? 0 : difficulty + 1;
    for (const char* button : {"btn_pow", "btn_pow2"})
        Element_Named(button).caption = difficulty_names[difficulty];
}

void act_start_tournament_race() {
    // The lock shown by the tick; a won cup has no track left to race.
    if (Visible("img_locktr") || progress < 0 || progress > kLastTrack) {
        SndBase_Play(sound_registry, "bad", false);
        return;
    }
    race_mode = 0;
    Screens_Hide("wnd_tour");
    World_StartRace(track_files[progress]);
}

void act_start_free_race() {
    if (Visible("img_locktr2") || Visible("txt_locktr_map2")) {
        SndBase_Play(sound_registry, "bad", false);
        return;
    }
    race_mode = 1;
    Screens_Hide("wnd_sr");
    World_StartRace(track_files[free_track]);
}
