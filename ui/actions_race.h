// actions_race.h: the tournament and free race screens' controls: the car,
// colour, track and difficulty choices and the race starts.
#pragma once

#include <cstdint>

void act_next_car();
void act_prev_car();
void act_next_colour();
void act_prev_colour();
void act_next_track();
void act_prev_track();
// Cycles easy, medium, hard and shows the name on both difficulty buttons.
void act_difficulty();
// Races the profile's next tournament track; a locked car plays "bad" instead.
void act_start_tournament_race();
// Races the chosen track; a locked car or track plays "bad" instead.
void act_start_free_race();
