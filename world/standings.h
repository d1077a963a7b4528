// standings.h: the cars of a race in order: who has finished, in the order
// they finished, then the rest by how far round the track they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/world.h"

// The latest waypoint car i has reached, counted over all its laps from 0
// (the player's current waypoint is the one last reached, a computer car's
// the one it drives to); -1 before the first or without waypoints.
int32_t Race_WaypointsReached(const tworld& map, int32_t i);

// How far round the track car i is, in waypoints: the waypoints it has
// reached over all its laps, plus the share of the way to its next waypoint
// it has covered (below 0 on the grid, behind the line).
double Race_Progress(const tworld& map, int32_t i);

// The map indices of the cars in race order: the finishers as they finished,
// then the others by progress, the farther first.
std::vector<int32_t> Race_Order(const tworld& map);

// The player's place in Race_Order, from 1; 0 when the map has no player's car.
int32_t Race_PlayerPosition(const tworld& map);
// The same, in an order already taken.
int32_t Race_PlayerPosition(const tworld& map, const std::vector<int32_t>& order);

// "1st", "2nd", "3rd", "4th", ... "11th", "12th", "13th", "21st".
std::string Race_Ordinal(int32_t place);

// A race time as minutes, seconds and tenths: "1:05.3"; "-:--.-" below 0.
std::string Race_FormatTime(double ms);
