// tick.h: the 30 ms game tick that drives the state machine.
#pragma once

void GameTick();
