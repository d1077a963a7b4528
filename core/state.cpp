#include "core/state.h"

tgame game;
tplayer player;
toptions options;
trace_state race;

void State_Reset() {
    game = {};
    player = {};
    options = {};
    race = {};
}
