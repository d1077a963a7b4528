// autopilot.h: drives the player's car round the track as a player would, by
// holding the arrow keys through the engine's input; it never moves the car
// itself. Used by the harness and the race simulator.
#pragma once

// Switches the autopilot on or off; off lets go of every key it holds.
void Autopilot_Enable(bool on);
bool Autopilot_Enabled();

// Once before each tick: chooses the arrow keys from the player's car and the
// waypoints of the map, and presses or releases them. Outside a race it lets
// go of every key; while switched off it does nothing.
void Autopilot_Drive();
