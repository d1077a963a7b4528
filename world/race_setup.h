// race_setup.h: turning a map file into a race.
#pragma once

#include <string>

#include "world/world.h"

// Reads the map file into the world and sets up a race: the map's "jeep" with
// ai 0 becomes the chosen car kind, sizes, light and static shadows are
// computed, the game tick is paused while reading and resumed after (with
// race_start_time taken then), one car update puts the camera on the player's
// car, top speeds follow the difficulty and every car
// faces waypoint 1 (frame 13 when it lies to the right, else 5). A missing
// file leaves the world's objects as they were; the set-up still runs.
void World_LoadRace(tworld& world, const std::string& file_name);

// Starts a race on a track by name ("beach1"): clears the map, loads
// "wld\" + name + ".wld" into it and enters the racing state.
void World_StartRace(const std::string& track);
