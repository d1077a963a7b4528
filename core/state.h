// state.h: the game's shared state, below every part of the game that reads or
// changes it: where the game is, the player, the options and the race's
// standing, with one reset for all of it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/oe.h"

// Game states held in game.state.
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

// Where the game is, the race's clock, the tick's mouse and what the engine
// gave the game at start-up.
struct tgame {
    uint8_t state = 0;               // the state machine; 0 until the load callback sets it
    uint8_t race_mode = 0;           // 0 tournament race, 1 free race
    double current_time = 0.0;       // U_GetTime of the latest racing tick
    double race_start_time = 0.0;    // set when a race is set up
    int32_t mouse_x = 0;             // Mouse_X cached at the start of every tick
    int32_t mouse_y = 0;             // Mouse_Y cached at the start of every tick
    int32_t menu_counter = 0;        // grows by 4 every main-menu tick; spins the menu pictures
    OE_Timer tick_timer = nullptr;   // the 30 ms game tick
    OE_Font main_font = nullptr;     // every text
    OE_Camera main_camera = nullptr; // the world view
    std::string notice;              // what failed, told to the player (core/notice)
    double notice_until = 0.0;       // U_GetTime until which the notice shows
};

// The player: the profile in use and the choices made on the race screens.
struct tplayer {
    std::string name;         // the current profile's name
    int32_t progress = 0;     // tournament tracks won, 0..16; kept in the profile
    int32_t score = 0;        // the profile's points, never below 0 after a defeat
    int32_t car_kind = 0;     // 0..3, index into car_kind_names
    int32_t car_colour = 0;   // 0..15, index into car_colours
    int32_t difficulty = 1;   // 0..2, index into difficulty_names
    int32_t free_track = 0;   // the free race screen's track, 0..15
    // What the profile file of `seen_name` held when this game last read or
    // wrote it, so a save keeps what another game on the profile saved since.
    std::string seen_name;
    int32_t seen_progress = 0;
    int32_t seen_score = 0;
};

// The options "main.cfg" keeps besides the player's name.
struct toptions {
    uint8_t windowed = 0;      // 1: run in a window; 0: full screen
    uint8_t music_off = 0;     // 1: no menu music
    uint8_t ambient_off = 0;   // 1: no ambient sound while racing
    std::string country;       // free text of the hidden country row
};

// Cars a race remembers the finishing order of.
constexpr int32_t RACE_FINISHERS_CAPACITY = 16;

// The race in progress.
struct trace_state {
    int32_t player_laps = 0;      // laps the player's car has completed
    int32_t first_finisher = -1;  // map index of the first car to complete the race; -1 while none has
    // Map indices of the cars that completed the race, in the order they did.
    std::array<int32_t, RACE_FINISHERS_CAPACITY> finish_order{};
    std::array<double, RACE_FINISHERS_CAPACITY> finish_ms{};   // each finisher's racing time
    int32_t finishers = 0;
    double lap_started = 0.0;     // U_GetTime when the player's lap began; 0: at the release
    double best_lap_ms = -1.0;    // the player's fastest lap of this race; -1: none yet
    double race_ms = -1.0;        // the player's time for the whole race; -1: not finished
    int32_t bonus_points = 0;     // points the player's bonuses earned in this race
    int32_t points_lost = 0;      // points a lost tournament race took away
    std::string track;            // the track raced: "beach1"
    bool new_best_lap = false;    // the race beat the profile's best lap on the track
    bool new_best_race = false;   // ... and its best race time
    int32_t player_x = 0;         // the player's car at its latest step; computer cars'
    int32_t player_y = 0;         // engines are heard by their distance from it
    double missed_checkpoint_at = -1.0;   // U_GetTime when the car last went past a waypoint; -1: never
    int32_t missed_waypoint = -1;         // the waypoint it should have taken then, and where it stands
    int32_t missed_x = 0;
    int32_t missed_y = 0;
    // Per map index, the racing time at which the car reached each waypoint,
    // counted from its first one over the whole race.
    std::vector<std::vector<double>> waypoint_ms;
    float camera_lead_x = 0.0f;   // how far the camera looks ahead of the player's car, px
    float camera_lead_y = 0.0f;
};

extern tgame game;
extern tplayer player;
extern toptions options;
extern trace_state race;

// Every value above back to its start value, as a new process holds it.
void State_Reset();
