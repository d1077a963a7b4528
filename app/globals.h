// globals.h: the program-wide values of the application frame.
#pragma once

#include <cstdint>
#include <string>

#include "engine/oe.h"

// Game states held in game_state.
enum : uint8_t {
    STATE_RACE = 0,
    STATE_MENU = 1,
    STATE_TOURNAMENT = 2,
    STATE_EDITOR = 5,
    STATE_PROFILES = 6,
    STATE_FINISHED = 7,
    STATE_PAUSED = 8,
    STATE_FREE_RACE = 9,
    STATE_OPTIONS = 10,
    STATE_HELP = 11,
};

extern uint8_t game_state;          // the state machine; 0 until the load callback sets it
extern uint8_t race_mode;           // 0 tournament race, 1 free race
extern double current_time;         // U_GetTime of the latest racing tick
extern double race_start_time;      // set when a race is set up
extern int32_t mouse_x;             // Mouse_X cached at the start of every tick
extern int32_t mouse_y;             // Mouse_Y cached at the start of every tick
extern int32_t menu_counter;        // grows by 4 every main-menu tick; spins the menu pictures
extern uint8_t music_off;           // 1: no menu music
extern uint8_t ambient_off;         // 1: no ambient sound while racing
extern std::string player_name;     // the current profile's name

extern OE_Timer tick_timer;         // the 30 ms game tick
extern OE_Font main_font;           // every text
extern OE_Camera main_camera;       // the world view
