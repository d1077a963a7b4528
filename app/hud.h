// hud.h: the race's heads-up display: the start countdown, the lap counter,
// the bonus panel, the score, the player's place and the times.
#pragma once

#include "world/world.h"

// "3", "2", "1", "GO!!!" on a tinted badge, one second each from the race
// start; the start beep sounds in the last 100 ms of each. The badge stands
// in the middle of the screen, or below or above the player's car of the
// map when that stands there.
void DrawCountdown(const tworld& map);
// The badge's top on screen for the map's player's car and the camera.
int32_t CountdownBadgeTop(const tworld& map);
// "Missed checkpoint" under the place for a while after the player's car
// went past a waypoint without taking it, with an arrow from the car towards
// the waypoint it missed.
void DrawMissedCheckpoint();
// "N/4 Laps" at the top left, N the lap being driven, 4 the race's laps.
void DrawLapCounter();
// The three bonus icons at the top right.
void DrawBonusPanel();
// "Score: N" centred under the bonus icons.
void DrawScore();
// Every car in race order under the steering wheel: its place, its driver's
// name in its colour and how far behind the car before it it runs.
void DrawStandings(const tworld& map);
// A car's tint made light enough to read on the dark panels.
int32_t ReadableColour(int32_t tint);
// "2nd / 4": the player's place in the race, at the top in the middle.
void DrawPosition(const tworld& map);
// The lap being driven, the race's best lap and, once the cars are
// released, the race time, at the bottom left.
void DrawTimes();
