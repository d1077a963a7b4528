// world.h: the object and map records, the two program-wide worlds, the
// player's choices with their tables, and the operations that edit a world.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int32_t WORLD_CAPACITY = 4097;   // objects, and separately waypoints

// A corner's (x, y) pair: water corner offsets in pixels, or their step per tick.
struct tcorner {
    int32_t x = 0;
    int32_t y = 0;
};

// A computer car's driver: its character, drawn when the race is set up,
// and where it means to be on the road. Every car keeps its place on the
// road's centre line here too.
struct tdriver {
    float pace = 1.0f;         // share of the top speed it drives on the straight
    float cornering = 1.0f;    // how fast it dares to take a bend
    float target_lead = 0.0f;  // waypoints ahead of the player it means to run this lap
    float lane = 0.0f;         // px aside of the racing line, towards the bend's left
    float lane_target = 0.0f;  // where it is moving to
    float own_lane = 0.0f;     // where it drives when nobody is near
    float aggression = 0.0f;   // 0..1: how readily it goes for a gap or blocks one
    float mistakes = 0.0f;     // chance per tick of running wide
    float stamina = 1.0f;      // share of DRIVER_PRESS_ON it can find when behind
    float limit = 0.0f;        // the speed it drives at most this tick; 0: the top speed
    int32_t level = -1;        // difficulty it drives at, 0..2; -1: not a computer driver
    int32_t hold = 0;          // ticks it keeps lane_target before thinking again
    int32_t wide = 0;          // ticks left of running wide
    int32_t push = 0;          // how long it has been held up behind a car, in ticks
    int32_t follow = 0;        // how long it has run close behind another computer car, in ticks
    int32_t drop = 0;          // ticks left of dropping back
    int32_t burst = 0;         // ticks left of a burst of pace to pass or pull away
    int32_t chased = 0;        // how long another computer car has run close behind, in ticks
    int32_t launch = 0;        // ticks it takes to react to the start
    int32_t line = -1;         // the nearest sample of the centre line; -1: not known
    int32_t caught = 0;        // ticks it has wanted to go but hardly moved
    int32_t last_x = 0;        // where it stood at its last step
    int32_t last_y = 0;
    int32_t reverse = 0;       // ticks left of backing out of a jam
};

// One thing on a track: ground tile, water, lamp, prop, bonus or car.
struct tminimal {
    std::string kind;            // what it is; the stem of its texture names
    int32_t x = 0;               // bottom centre, world pixels
    int32_t y = 0;
    float frame = 0.0f;          // cars: heading in sixteenths of a turn, 1..16; else 1
    uint8_t dynamic = 0;         // 1: pushable, shadow recomputed every tick
    uint8_t ai = 0;              // cars: 1 computer driver, 0 the player
    int32_t top_speed = 0;
    int32_t width = 0;           // from the texture
    int32_t height = 0;
    int32_t radius = 0;          // collision radius, width div 4
    float speed = 0.0f;          // pixels per tick
    int32_t throttle = 0;        // 1 forward, -1 reverse, 0 coasting
    int32_t angle = 0;           // heading in whole degrees
    float vx = 0.0f;             // direction of travel
    float vy = 0.0f;
    int32_t bounce = 0;          // 0 or 1: the sprite's jolt while the engine pulls
    int32_t waypoint = 0;        // index of the car's current waypoint
    int32_t colour = 0;          // tint 0xRRGGBB
    int32_t laps = 0;            // computer cars: laps completed
    std::array<int32_t, 4> corner_colours{};   // grey light level, corners TL, TR, BR, BL
    float shadow_dx = 0.0f;
    float shadow_dy = 0.0f;
    int32_t shadow_angle = 0;    // degrees
    int32_t shadow_strength = 0; // opacity 0..128
    std::array<tcorner, 4> corner_offsets{};   // water: corner sway, -6..6
    std::array<tcorner, 4> corner_steps{};     // water: +1 or -1 per tick and axis
    tdriver driver;              // cars: see tdriver
    tcorner before_tick;         // where the last race tick found it; frames between ticks draw it on its way
};

// A track: objects in insertion order (the index is an object's identity
// within a tick) and the waypoints in racing order.
struct tworld {
    std::array<tminimal, WORLD_CAPACITY> objects;
    int32_t count = 0;
    std::array<tcorner, WORLD_CAPACITY> waypoints{};
    int32_t waypoint_count = 0;
};

// The current track, changed in place by the race and the editor.
extern tworld world_map;
// The objects on screen, rebuilt from the map every tick and drawn in order.
extern tworld draw_list;

extern const std::array<std::string, 4> car_kind_names;     // "jeep", "car", "tank", "turbo"
extern const std::array<std::string, 3> difficulty_names;   // "easy", "medium", "hard"
extern const std::array<int32_t, 16> car_colours;

bool IsCarKind(const std::string& kind);     // "jeep", "car", "tank" or "turbo"
bool IsLandKind(const std::string& kind);    // begins with "lnd"
// A barrier block: "limit", or "limit_" and its angle ("limit_45") for the
// blocks the tracks turn along their curves.
bool IsBarrierKind(const std::string& kind);

// Empties every object's name and sets the count to 0; waypoints stay.
void World_Clear(tworld& world);
// Every object slot and waypoint back to a new world's values, count 0.
void World_Reset(tworld& world);
// Copies the object to the end; a full world takes nothing (false).
bool World_Append(tworld& world, const tminimal& object);
// Adds an object unless one with a non-empty name already stands at exactly
// (x, y) or the world is full. The new object gets frame 1 and white corner
// colours; fields not given keep what the slot held. True when added.
bool World_AddObject(tworld& world, const std::string& name, int32_t x, int32_t y, uint8_t ai,
                     uint8_t dynamic, int32_t colour);
// Appends a waypoint; a full list takes nothing (false).
bool World_AddWaypoint(tworld& world, int32_t x, int32_t y);
// Removes object `index` and closes the gap, keeping the order; outside the list nothing.
void World_RemoveAt(tworld& world, int32_t index);
// Removes the first object of that kind and closes the gap, keeping the order.
void World_DeleteByName(tworld& world, const std::string& name);
// Negates x of every object and waypoint (the most negative x becomes the
// largest one); every car then faces left (frame 5).
void World_Mirror(tworld& world);
