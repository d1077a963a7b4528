// tuning.h: the numbers that decide how long a race is and how the cars drive.
// Speeds are in pixels per 30 ms tick.
#pragma once

#include <array>
#include <cstdint>

// Laps a car drives to complete a race.
constexpr int32_t RACE_LAPS = 4;
// The race waits this long after its start before releasing the cars.
constexpr double COUNTDOWN_MS = 4000.0;

// Top speeds by car kind, in the order of car_kind_names ("jeep", "car",
// "tank", "turbo"); a computer car is slower by (2 - difficulty).
constexpr std::array<int32_t, 4> TOP_SPEEDS = {15, 16, 17, 18};
constexpr int32_t HARDEST_DIFFICULTY = 2;

// While the engine pulls, the speed grows by this factor each tick, plus a
// kick that gets a car at rest going, up to the car's top speed.
constexpr float ACCELERATION = 1.4f;
constexpr float ACCELERATION_KICK = 0.0001f;
// Without throttle the car keeps this share of its speed each tick; at or
// below REST_SPEED it stands and its drift is gone.
constexpr float COASTING = 0.9f;
constexpr float REST_SPEED = 1.0f;
// Heading frames (sixteenths of a turn) the arrow keys turn per tick and unit of speed.
constexpr float STEERING = 0.02f;
// Grip: each tick the direction of travel turns towards the heading by
// speed / (GRIP_BASE + GRIP_SLIP_PER_SPEED * (GRIP_TOP_SPEED - top speed)),
// so faster cars grip harder.
constexpr int32_t GRIP_BASE = 200;
constexpr int32_t GRIP_SLIP_PER_SPEED = 50;
constexpr int32_t GRIP_TOP_SPEED = 20;
// While the engine pulls, the sprite jolts between this many offsets.
constexpr int32_t BOUNCE_STEPS = 2;
// A hit keeps this share of the speed; the player hears it above BUMP_SOUND_SPEED.
constexpr float CONTACT_SLOWDOWN = 0.9f;
constexpr float BUMP_SOUND_SPEED = 9.0f;

// A car takes a bonus whose base lies closer than this to its own.
constexpr int32_t BONUS_PICKUP_REACH = 50;

// The player's car reaches a waypoint within this many pixels of it.
constexpr double PLAYER_WAYPOINT_REACH = 160.0;
