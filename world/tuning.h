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
// "tank", "turbo"); a computer car's is cut by its difficulty's
// DriverLevel::top_speed_cut.
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

// Braking: holding the brake while the car rolls forwards keeps this share of
// the speed each tick, less BRAKING_STEP; only from rest does it reverse, and
// backwards the car reaches REVERSE_SHARE of its top speed.
constexpr float BRAKING = 0.85f;
constexpr float BRAKING_STEP = 0.5f;
constexpr float REVERSE_SHARE = 0.4f;
// Steering turns the heading by STEERING x speed up to this speed and no
// faster above it, and turns it no further than MAX_SLIP_DEGREES from the
// direction of travel, so full lock carves a curve instead of spinning the car.
constexpr float STEERING_FULL_SPEED = 11.0f;
constexpr float MAX_SLIP_DEGREES = 40.0f;
// Grip pulls the direction of travel round by at least this much per tick,
// so a slower car turns tighter.
constexpr float GRIP_FLOOR = 0.012f;
// A hit turns the motion into the obstacle back out: this share of it bounces
// off and the rest slides along; head on, the car keeps WALL_HEAD_ON_SHARE
// of its speed, the more the more it glances.
constexpr float WALL_BOUNCE = 0.3f;
constexpr float WALL_HEAD_ON_SHARE = 0.35f;

// The camera leads the player's car by its motion over this many ticks, at
// most CAMERA_LEAD_X and CAMERA_LEAD_Y px, easing towards it by this share a tick.
constexpr float CAMERA_LEAD_TICKS = 14.0f;
constexpr float CAMERA_LEAD_X = 240.0f;
constexpr float CAMERA_LEAD_Y = 170.0f;
constexpr float CAMERA_LEAD_EASE = 0.06f;

// The road is two tiles wide: this far either side of its centre line.
constexpr float ROAD_HALF_WIDTH = 128.0f;
// A larger map than this many 32 px cells is not charted and drives as road.
constexpr int64_t SURFACE_MAP_CELLS_LIMIT = 4 * 1024 * 1024;
// How each ground drives, in the order of Surface (world/surface.h): road,
// sand, grass, snow, ice, water, pavement. Off the road a car tops out at
// `top` of its top speed, losing `drag` of any speed above that each tick,
// and its grip is `grip` of the road's.
struct SurfaceHandling {
    float top;
    float drag;
    float grip;
};
constexpr std::array<SurfaceHandling, 7> SURFACE_HANDLING = {{
    {1.00f, 0.00f, 1.00f},
    {0.55f, 0.06f, 0.75f},
    {0.65f, 0.05f, 0.85f},
    {0.60f, 0.05f, 0.70f},
    {0.95f, 0.01f, 0.35f},
    {0.40f, 0.10f, 0.60f},
    {0.85f, 0.03f, 0.95f},
}};

// The centre line through the waypoints is sampled this many px apart; the
// racing line cuts towards the inside of a bend by its curvature times
// RACING_LINE_PULL, at most RACING_LINE_MAX px, spread RACING_LINE_SPREAD px
// before and after it.
constexpr float LINE_SPACING = 8.0f;
constexpr float RACING_LINE_PULL = 18000.0f;
constexpr float RACING_LINE_MAX = 80.0f;
constexpr float RACING_LINE_SPREAD = 240.0f;
// A car's place on the centre line is looked for this many samples either
// side of where it was.
constexpr int32_t LINE_SEARCH_REACH = 12;

// Computer drivers. At each difficulty a computer car's top speed is cut by
// top_speed_cut, the drivers' places against the player spread over the lead
// bounds (see below), and a character is drawn per driver between the other
// bounds: its pace (share of the top speed on the straight), how fast it takes bends,
// how readily it goes for a gap or blocks one (0..1), and its chance per tick
// of running wide through the next bends. Pace and bends are drawn again
// every lap: a driver has better and worse laps.
struct DriverLevel {
    int32_t top_speed_cut;
    float lead_lo, lead_hi;
    float pace_lo, pace_hi;
    float cornering_lo, cornering_hi;
    float aggression_lo, aggression_hi;
    float mistakes;
};
constexpr std::array<DriverLevel, 3> DRIVER_LEVELS = {{
    {1, -10.0f, -2.0f, 0.90f, 0.95f, 0.78f, 0.88f, 0.0f, 0.4f, 0.0030f},
    {0, -9.0f, 1.0f, 0.96f, 1.00f, 0.92f, 1.02f, 0.2f, 0.8f, 0.0015f},
    {0, -7.5f, 1.5f, 0.97f, 1.00f, 0.94f, 1.02f, 0.5f, 1.0f, 0.0010f},
}};
// A driver's own line lies up to this many px either side of the racing line.
constexpr float DRIVER_OWN_LANE = 30.0f;
// It keeps this far inside the road's edges.
constexpr float DRIVER_ROAD_MARGIN = 40.0f;
// It aims at the line this far ahead, plus this much per unit of speed.
constexpr float DRIVER_AIM_BASE = 90.0f;
constexpr float DRIVER_AIM_PER_SPEED = 7.0f;
// Below this speed it steers as if it went this fast, so it can turn from rest.
constexpr float DRIVER_MIN_STEER_SPEED = 3.0f;
// Bends: it takes one of curvature c at sqrt(DRIVER_BEND_GRIP x cornering / c),
// counting on shedding DRIVER_BRAKING of speed per px before it, looking
// DRIVER_BEND_LOOK px beyond its braking distance; it brakes when more than
// DRIVER_BRAKE_ABOVE too fast and else drives no faster than the bend allows.
constexpr float DRIVER_BEND_GRIP = 1.3f;
constexpr float DRIVER_BRAKING = 0.25f;
constexpr float DRIVER_BEND_LOOK = 120.0f;
constexpr float DRIVER_BRAKE_ABOVE = 1.5f;
// Running wide: for this many ticks it takes the bends on the outside, this
// much slower.
constexpr int32_t DRIVER_WIDE_TICKS = 60;
constexpr float DRIVER_WIDE_CORNERING = 0.75f;
// Overtaking: a car ahead within DRIVER_PASS_LOOK px and DRIVER_CAR_WIDTH px
// aside is passed DRIVER_PASS_ASIDE px to its side; a faster car behind within
// DRIVER_DEFEND_LOOK px (and more than a car's length) is blocked by an
// aggressive driver. A choice stands for
// DRIVER_LANE_HOLD ticks; the lane changes by DRIVER_LANE_STEP px a tick.
constexpr float DRIVER_PASS_LOOK = 220.0f;
constexpr float DRIVER_CAR_LENGTH = 60.0f;
constexpr float DRIVER_CAR_WIDTH = 60.0f;
constexpr float DRIVER_PASS_ASIDE = 90.0f;
constexpr float DRIVER_DEFEND_LOOK = 160.0f;
constexpr int32_t DRIVER_LANE_HOLD = 50;
constexpr float DRIVER_LANE_STEP = 2.0f;
// Running less than DRIVER_FOLLOW_LOOK ticks behind (or ahead of) another
// computer car for DRIVER_FOLLOW_TICKS ticks, a driver finds a burst of
// DRIVER_BURST more pace for DRIVER_BURST_TICKS ticks, or drops back by
// DRIVER_DROP_BACK of its pace for DRIVER_DROP_TICKS ticks.
constexpr float DRIVER_FOLLOW_LOOK = 45.0f;
constexpr int32_t DRIVER_FOLLOW_TICKS = 100;
constexpr float DRIVER_BURST = 0.10f;
constexpr int32_t DRIVER_BURST_TICKS = 200;
constexpr float DRIVER_DROP_BACK = 0.12f;
constexpr int32_t DRIVER_DROP_TICKS = 250;
// Held up behind a car for DRIVER_PUSH_AFTER ticks, a driver pushes this
// share of its top speed harder until it is clear.
constexpr int32_t DRIVER_PUSH_AFTER = 60;
constexpr float DRIVER_PUSH = 0.04f;
// Keeping the race close: a driver means to run a number of waypoints ahead
// of the player (behind below 0): the drivers' places are spread evenly over
// the level's lead bounds and dealt at random, and after a lap a driver
// trades its place with another's one time in DRIVER_TRADE_ODDS. For every waypoint it is off that place
// it presses on by DRIVER_CATCH_UP_PER_WAYPOINT of DRIVER_PRESS_ON or eases
// off by as much of DRIVER_EASE_OFF, at most those shares; never more than
// DRIVER_PRESS_ON above its top speed. A driver's pace counts from its top
// speed or the player's, whichever is lower.
// On the last lap a driver behind its place does not press on.
constexpr double DRIVER_CATCH_UP_PER_WAYPOINT = 0.5;
constexpr int DRIVER_TRADE_ODDS = 1;
constexpr float DRIVER_PRESS_ON = 0.12f;
// A driver reacts to the start within this many ticks.
constexpr int32_t DRIVER_LAUNCH_TICKS = 25;
// Each driver finds from this share to all of DRIVER_PRESS_ON, so drivers
// that cannot keep up do not run together.
constexpr float DRIVER_STAMINA_LO = 0.6f;
constexpr float DRIVER_EASE_OFF = 0.15f;
// A driver that wants to go but moves less than DRIVER_CAUGHT_SPEED px a tick
// for DRIVER_CAUGHT_TICKS backs out, steering the other way, for DRIVER_REVERSE_TICKS.
constexpr float DRIVER_CAUGHT_SPEED = 2.0f;
constexpr int32_t DRIVER_CAUGHT_TICKS = 45;
constexpr int32_t DRIVER_REVERSE_TICKS = 30;
// A waypoint counts as passed within this many px once the car is on the leg after it.
constexpr double DRIVER_PASSED_REACH = 400.0;
// Slipstream: a car above SLIPSTREAM_FROM_SPEED with another car between
// SLIPSTREAM_NEAR and SLIPSTREAM_FAR px ahead and within SLIPSTREAM_WIDTH px
// of its path tops out this share faster, so a follower can pull out and pass.
constexpr float SLIPSTREAM_FROM_SPEED = 8.0f;
constexpr float SLIPSTREAM_NEAR = 40.0f;
constexpr float SLIPSTREAM_FAR = 260.0f;
constexpr float SLIPSTREAM_WIDTH = 40.0f;
constexpr float SLIPSTREAM_GAIN = 0.06f;
