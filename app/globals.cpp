#include "app/globals.h"

uint8_t game_state = 0;
uint8_t race_mode = 0;
double current_time = 0.0;
double race_start_time = 0.0;
int32_t mouse_x = 0;
int32_t mouse_y = 0;
int32_t menu_counter = 0;
uint8_t music_off = 0;
uint8_t ambient_off = 0;
std::string player_name;

OE_Timer tick_timer = nullptr;
OE_Font main_font = nullptr;
OE_Camera main_camera = nullptr;
