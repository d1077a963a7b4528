#include "world/physics.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "core/random.h"
#include "core/state.h"
#include "engine/oe.h"
#include "world/contact_grid.h"
#include "world/driver.h"
#include "world/geometry.h"
#include "world/particles.h"
#include "world/race_rules.h"
#include "world/surface.h"
#include "world/track_line.h"
#include "world/tuning.h"
#include "world/view.h"

namespace {

int32_t Count(const tworld& map) { return std::clamp(map.count, 0, WORLD_CAPACITY); }

// The map's objects by place, and the neighbours of the mover in hand: kept
// from step to step for their memory only.
struct Surroundings {
    ContactGrid grid;
    std::vector<int32_t> near;
    std::vector<int32_t> cars;   // the map's cars as the tick starts
};

// Pushes a dynamic object away along a, harder the smaller it is. An object
// without a size (no texture) has no radius to divide by and stays put.
void Shove(tminimal& o, int32_t a, double overlap) {
    if (o.dynamic == 0 || o.radius <= 0) return;
    const double push = overlap / o.radius * 4.0;
    o.x = M_Round(o.x - M_Cos(a) * push);
    o.y = M_Round(o.y - M_Sin(a) * push);
}

void SwayWater(tminimal& water) {
    for (int c = 0; c < 4; ++c) {
        tcorner& offset = water.corner_offsets[c];
        tcorner& step = water.corner_steps[c];
        offset.x += step.x;
        offset.y += step.y;
        if (offset.x > 5) step.x = -step.x;
        if (offset.y > 5) step.y = -step.y;
        if (offset.x < -5) step.x = -step.x;
        if (offset.y < -5) step.y = -step.y;
    }
}

void ReadPlayerKeys(tminimal& car, int32_t i) {
    // A game controller's A and B drive and brake as Up and Down do.
    if (Key_Down(OE_KEY_UP) || Key_Down(OE_KEY_PAD_A)) car.throttle = 1;
    if (Key_Down(OE_KEY_DOWN) || Key_Down(OE_KEY_PAD_B)) car.throttle = -1;
    // Steering never turns the heading further than MAX_SLIP_DEGREES from
    // the direction of travel (the right arrow turns it to larger angles).
    const float turn = STEERING * std::min(car.speed, STEERING_FULL_SPEED);
    const double slip = Race_Slip(car);
    if (Key_Down(OE_KEY_RIGHT) && slip < MAX_SLIP_DEGREES) car.frame -= turn;
    if (Key_Down(OE_KEY_LEFT) && slip > -MAX_SLIP_DEGREES) car.frame += turn;
    if (car.frame < 1.0f)
        car.frame = 16.0f;
    else if (car.frame > 16.0f)
        car.frame = 1.0f;
    if (race.player_laps == RACE_LAPS) {
        car.throttle = 0;
        Race_RecordFinisher(i);
    }
}

void Stop(tminimal& car) {
    car.vx = 0.0f;
    car.vy = 0.0f;
    car.speed = REST_SPEED;
}

// The throttle asks for the way the car is not rolling: the brake, until it stands.
bool Braking(const tminimal& car, float hx, float hy) {
    return car.throttle != 0 && car.speed > REST_SPEED && (car.vx * hx + car.vy * hy) * car.throttle < -0.2f;
}

// True when another car drives close in front, so this one runs in its slipstream.
bool InSlipstream(const tworld& map, const tminimal& car, const std::vector<int32_t>& cars) {
    const float length = std::hypot(car.vx, car.vy);
    if (length <= 0.0f || car.speed < SLIPSTREAM_FROM_SPEED) return false;
    const float mx = -car.vx / length, my = -car.vy / length;
    for (const int32_t j : cars) {
        const tminimal& o = map.objects[j];
        if (&o == &car) continue;
        const float rx = static_cast<float>(o.x - car.x), ry = static_cast<float>(o.y - car.y);
        const float ahead = rx * mx + ry * my;
        if (ahead > SLIPSTREAM_NEAR && ahead < SLIPSTREAM_FAR && std::abs(rx * my - ry * mx) < SLIPSTREAM_WIDTH)
            return true;
    }
    return false;
}

void UpdateSpeed(tminimal& car, bool braking, const SurfaceHandling& ground, bool slipstream) {
    if (braking) {
        car.speed = car.speed * BRAKING - BRAKING_STEP;
        if (car.speed <= REST_SPEED) Stop(car);
        return;
    }
    // A computer driver sets its own top speed for the tick.
    const float base = car.driver.limit > 0.0f ? std::max(car.driver.limit, REST_SPEED) : static_cast<float>(car.top_speed);
    float top = base * ground.top * (car.throttle < 0 ? REVERSE_SHARE : 1.0f);
    if (slipstream && car.throttle > 0) top *= 1.0f + SLIPSTREAM_GAIN;
    if (car.throttle != 0) {
        // Off the road, or backwards, the car sinks to its lower top speed.
        if (car.speed > top) {
            car.speed = std::max(top, car.speed * (1.0f - std::max(ground.drag, 0.05f)));
            return;
        }
        car.speed = car.speed * ACCELERATION + ACCELERATION_KICK;
        if (top <= car.speed) car.speed = top;
        return;
    }
    car.speed *= COASTING * (1.0f - ground.drag);
    if (car.speed <= REST_SPEED) Stop(car);
}

// The step's view of the world: where the camera stands now.
tcorner View(const RaceEvents& events) { return events.camera.value_or(tcorner{}); }

void Exhaust(const tminimal& car, float hx, float hy, RaceEvents& events) {
    const float vx = static_cast<float>(random(5)) - 2.5f;
    const float vy = static_cast<float>(random(5)) - 2.5f;
    const float size = static_cast<float>(random(10)) + 30.0f;
    events.Emit("smoke", 16, car.x + 20 * hx, car.y + 20 * hy - car.height / 4 - 20, vx, vy, size, 0xAAAAAA);
}

void EngineSound(const tminimal& car, float hx, float hy, RaceEvents& events) {
    if (car.ai != 0) {
        const double d = M_Distance(car.x, car.y, race.player_x, race.player_y);
        if (d >= 500) return;
        const int32_t offset = (car.x - View(events).x - 400) * 5;
        events.sounds.push_back({"eng_e", true, offset, M_Round(100 - 4 * d), 22050});
        return;
    }
    const float slip = std::abs(car.vx - hx) + std::abs(car.vy - hy);
    events.sounds.push_back({"eng", true, 0, 0, M_Round(slip * 4000 + car.speed * 1500)});
}

// The direction of travel turns towards the heading, faster at speed, in
// faster cars and on firmer ground; each test sees the result of the one before.
void Grip(tminimal& car, float hx, float hy, float grip) {
    const float k = static_cast<float>((GRIP_TOP_SPEED - car.top_speed) * GRIP_SLIP_PER_SPEED + GRIP_BASE);
    const float pull = (car.speed / k + GRIP_FLOOR) * grip;
    if (car.vx < hx) car.vx += pull;
    if (car.vx > hx) car.vx -= pull;
    if (car.vy < hy) car.vy += pull;
    if (car.vy > hy) car.vy -= pull;
}

// The part of the motion into what the car hit (along n, from it to the car)
// bounces back a little and the rest slides along it, so a wall turns the car
// aside instead of holding it; the more head on, the more speed it costs.
void Deflect(tminimal& car, float nx, float ny) {
    const float into = car.vx * nx + car.vy * ny;   // the car moves along -v
    const float length = std::hypot(car.vx, car.vy);
    if (into <= 0.0f || length <= 0.0f) return;
    car.vx -= (1.0f + WALL_BOUNCE) * into * nx;
    car.vy -= (1.0f + WALL_BOUNCE) * into * ny;
    car.speed = std::max(REST_SPEED, car.speed * (1.0f - (1.0f - WALL_HEAD_ON_SHARE) * into / length));
}

// The camera looks ahead of the player's car, easing to where it is going.
tcorner LeadCamera(const tminimal& car) {
    const float want_x = std::clamp(-car.vx * car.speed * CAMERA_LEAD_TICKS, -CAMERA_LEAD_X, CAMERA_LEAD_X);
    const float want_y = std::clamp(-car.vy * car.speed * CAMERA_LEAD_TICKS, -CAMERA_LEAD_Y, CAMERA_LEAD_Y);
    race.camera_lead_x += (want_x - race.camera_lead_x) * CAMERA_LEAD_EASE;
    race.camera_lead_y += (want_y - race.camera_lead_y) * CAMERA_LEAD_EASE;
    return {car.x - 400 + M_Round(race.camera_lead_x), car.y - 300 + M_Round(race.camera_lead_y)};
}

// Backs the car off what it hits and shoves that if it is dynamic. True on a hit.
bool Collide(tworld& map, int32_t i, int32_t j, RaceEvents& events, ContactGrid& grid) {
    tminimal& car = map.objects[i];
    tminimal& other = map.objects[j];
    const Contact c = Contact_Touch(car, other);
    if (!c.touching || IsLandKind(other.kind)) return false;
    if (car.ai == 0 && car.speed > BUMP_SOUND_SPEED) events.sounds.push_back({"bum"});
    car.speed *= CONTACT_SLOWDOWN;
    const int32_t a = M_FindAngle(car.x, car.y, other.x, other.y);
    car.x = M_Round(car.x + M_Cos(a) * c.overlap);
    car.y = M_Round(car.y + M_Sin(a) * c.overlap);
    if (!other.kind.starts_with("bn")) Deflect(car, static_cast<float>(M_Cos(a)), static_cast<float>(M_Sin(a)));
    Shove(other, a, c.overlap);
    grid.Moved(map, j);
    return true;
}

// Bonuses, then collisions with everything but land and the car itself, in
// index order. Only the car's neighbours can do either, so only they are
// visited; a hit moves the car and a taken bonus shifts the later objects
// down, so after either the neighbours past j are looked up afresh.
void Contacts(tworld& map, int32_t& i, RaceEvents& events, Surroundings& around) {
    around.grid.Near(map.objects[i], -1, around.near);
    for (size_t n = 0; n < around.near.size();) {
        const int32_t j = around.near[n++];
        const int32_t count = Count(map);
        Bonus_Collect(map, i, j, events);
        bool changed = Count(map) != count;
        if (changed) around.grid.Build(map);
        if (j < Count(map) && j != i) changed = Collide(map, i, j, events, around.grid) || changed;
        if (changed) {
            around.grid.Near(map.objects[i], j, around.near);
            n = 0;
        }
    }
}

void CarStep(tworld& map, int32_t& i, RaceEvents& events, Surroundings& around) {
    Race_FinishCheck(map, i, events);
    tminimal& car = map.objects[i];
    if (car.ai == 0) {
        race.player_x = car.x;
        race.player_y = car.y;
        car.colour = car_colours[std::clamp(player.car_colour, 0, 15)];
    }
    car.throttle = 0;
    if (car.ai == 1) {
        if (Driver_Step(map, i)) Race_RecordFinisher(i);
    } else {
        ReadPlayerKeys(car, i);
    }
    if (car.ai == 0) car.angle = -M_Round((car.frame - 1) * 22.5 - 90);
    const SurfaceHandling& ground =
        SURFACE_HANDLING[static_cast<size_t>(Surface_At(map, car.x, car.y - car.height / 4))];
    float hx = static_cast<float>(M_Cos(car.angle));
    float hy = static_cast<float>(M_Sin(car.angle));
    const bool braking = Braking(car, hx, hy);
    UpdateSpeed(car, braking, ground, InSlipstream(map, car, around.cars));
    if (braking) {
        // The wheels still steer while they brake, until the car stands.
        if (car.speed > REST_SPEED) Grip(car, hx, hy, ground.grip);
    } else if (car.throttle != 0) {
        Exhaust(car, hx, hy, events);
        hx *= static_cast<float>(car.throttle);
        hy *= static_cast<float>(car.throttle);
        EngineSound(car, hx, hy, events);
        car.bounce = random(BOUNCE_STEPS);
        Grip(car, hx, hy, ground.grip);
    }
    car.x = M_Round(car.x - car.vx * car.speed);
    car.y = M_Round(car.y - car.vy * car.speed);
    if (car.ai == 0) Race_TrackWaypoints(map, i);
    Contacts(map, i, events, around);
    tminimal& moved = map.objects[i];
    moved.driver.line = TrackLine_Nearest(TrackLine_Of(map), static_cast<float>(moved.x),
                                          static_cast<float>(moved.y), moved.driver.line, LINE_SEARCH_REACH);
    if (moved.ai != 1 && events.camera) events.camera = LeadCamera(moved);
}

// The largest object of the map, for ruling out props far from the screen.
struct Extent {
    int64_t width = 0;
    int64_t height = 0;
    int64_t radius = 0;
};

Extent LargestObject(const tworld& map) {
    Extent e;
    for (int32_t j = 0; j < Count(map); ++j) {
        const tminimal& o = map.objects[j];
        e.width = std::max<int64_t>(e.width, o.width);
        e.height = std::max<int64_t>(e.height, o.height);
        e.radius = std::max<int64_t>(e.radius, o.radius);
    }
    return e;
}

// True when no object on screen can lie within the prop's reach: the prop's
// centre is farther from where their centres can be than the longest reach.
bool FarFromScreen(const tminimal& prop, const Extent& largest, tcorner view) {
    const int64_t cam_x = view.x;
    const int64_t cam_y = view.y;
    const int64_t margin = largest.radius + 2 * int64_t{prop.radius};
    const int64_t cx = prop.x;
    const int64_t cy = prop.y - prop.height / 4;
    return cx <= cam_x - largest.width - margin || cx >= cam_x + largest.width + 800 + margin ||
           cy <= cam_y - largest.height - largest.height / 4 - margin ||
           cy >= cam_y + 2 * largest.height + 600 + margin;
}

// A dynamic prop shoves what it touches on screen but stays where it is.
void PropStep(tworld& map, int32_t i, const Extent& largest, tcorner view, Surroundings& around) {
    tminimal& prop = map.objects[i];
    if (FarFromScreen(prop, largest, view)) return;
    around.grid.Near(prop, -1, around.near);
    for (const int32_t j : around.near) {
        if (j == i) continue;
        tminimal& other = map.objects[j];
        const Contact c = Contact_Touch(prop, other);
        if (!c.touching || IsLandKind(other.kind) || !World_OnScreen(map, j, view)) continue;
        prop.speed *= 0.9f;
        Shove(other, M_FindAngle(prop.x, prop.y, other.x, other.y), c.overlap);
        around.grid.Moved(map, j);
    }
}

}  // namespace

double Race_Slip(const tminimal& car) {
    if (car.vx == 0.0f && car.vy == 0.0f) return 0.0;
    const double hx = M_Cos(car.angle), hy = M_Sin(car.angle);
    const bool forwards = car.vx * hx + car.vy * hy >= 0;
    const double travel = std::atan2(car.vy, car.vx) * 180.0 / std::numbers::pi + (forwards ? 0.0 : 180.0);
    return std::remainder(car.angle - travel, 360.0);
}

RaceEvents Race_Update(tworld& map, std::optional<tcorner> camera) {
    static Surroundings around;
    RaceEvents events;
    events.camera = camera;
    const Extent largest = LargestObject(map);
    around.grid.Build(map);
    around.cars.clear();
    for (int32_t i = 0; i < Count(map); ++i)
        if (IsCarKind(map.objects[i].kind)) around.cars.push_back(i);
    for (int32_t i = 0; i < Count(map); ++i) {
        const std::string& kind = map.objects[i].kind;
        if (kind == "lnd_water") SwayWater(map.objects[i]);
        if (IsCarKind(kind)) {
            CarStep(map, i, events, around);
            around.grid.Moved(map, i);
        } else if (map.objects[i].dynamic != 0) {
            PropStep(map, i, largest, View(events), around);
        }
    }
    return events;
}
