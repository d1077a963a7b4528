// hud.h: the race's heads-up display: the start countdown, the lap counter,
// the bonus panel and the score.
#pragma once

// "3", "2", "1", "GO!!!" on a tinted badge, one second each from the race
// start; the start beep sounds in the last 100 ms of each.
void DrawCountdown();
// "N/4 Laps" at the top left, N the lap being driven, 4 the race's laps.
void DrawLapCounter();
// The three bonus icons at the top right.
void DrawBonusPanel();
// "Score: N" centred under the bonus icons.
void DrawScore();
