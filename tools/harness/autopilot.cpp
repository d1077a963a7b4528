#include "tools/harness/autopilot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "core/state.h"
#include "engine/input.h"
#include "engine/oe.h"
#include "world/world.h"

namespace {

enum Key { kUp, kDown, kLeft, kRight, kKeyCount };
constexpr std::array<int, kKeyCount> kCodes = {OE_KEY_UP, OE_KEY_DOWN, OE_KEY_LEFT, OE_KEY_RIGHT};
using Keys = std::array<bool, kKeyCount>;

constexpr double kLookAhead = 250.0;      // px before a waypoint where the aim starts to slide to the next
constexpr double kCountdownMs = 4000.0;
constexpr double kStuckMs = 1350.0;       // standing this long means the car is caught on something
constexpr double kReverseMs = 1200.0;

struct Pilot {
    bool enabled = false;
    Keys held{};
    int32_t last_x = 0;
    int32_t last_y = 0;
    double moved_at = 0.0;        // U_GetTime when the car was last seen to move
    double reverse_until = 0.0;
    int32_t car = 0;              // where the player's car was last found
};

Pilot pilot;

double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

// An angle brought into -180..180.
double Wrap180(double degrees) {
    degrees = std::fmod(degrees, 360.0);
    if (degrees > 180.0) degrees -= 360.0;
    if (degrees < -180.0) degrees += 360.0;
    return degrees;
}

// The direction a car with this frame drives in, degrees with y downwards:
// frame 1 up (270), 5 left (180), 9 down (90), 13 right (0).
double HeadingOf(float frame) { return 270.0 - (frame - 1.0) * 22.5; }

bool IsPlayersCar(int32_t i) {
    const tminimal& o = world_map.objects[i];
    return i < world_map.count && o.ai == 0 && IsCarKind(o.kind);
}

// The player's car, looked for again only when the map has changed under it.
const tminimal* PlayerCar() {
    if (IsPlayersCar(pilot.car)) return &world_map.objects[pilot.car];
    for (int32_t i = 0; i < std::clamp(world_map.count, 0, WORLD_CAPACITY); ++i) {
        if (!IsPlayersCar(i)) continue;
        pilot.car = i;
        return &world_map.objects[i];
    }
    return nullptr;
}

// The point to drive at: the waypoint after the car's, sliding towards the
// one after that as the car comes near so it turns in early.
void AimPoint(const tminimal& car, double& x, double& y) {
    const int32_t n = std::clamp(world_map.waypoint_count, 0, WORLD_CAPACITY);
    const int32_t next = (std::clamp(car.waypoint, 0, n - 1) + 1) % n;
    const tcorner& a = world_map.waypoints[next];
    const tcorner& b = world_map.waypoints[(next + 1) % n];
    const double d = M_Distance(car.x, car.y, a.x, a.y);
    const double slide = std::clamp((kLookAhead - d) / kLookAhead, 0.0, 1.0) * 0.6;
    x = a.x + (b.x - a.x) * slide;
    y = a.y + (b.y - a.y) * slide;
}

Keys Steer(const tminimal& car) {
    Keys keys{};
    double aim_x = 0, aim_y = 0;
    AimPoint(car, aim_x, aim_y);
    const double wanted = Degrees(std::atan2(aim_y - car.y, aim_x - car.x));
    const double heading = HeadingOf(car.frame);
    // The car slides along its direction of travel, which lags its heading:
    // steer past the aim by the travel's error so the slide comes round.
    const bool sliding = std::hypot(car.vx, car.vy) > 0.1;
    const double travel = sliding ? Degrees(std::atan2(-car.vy, -car.vx)) : heading;
    const double target = wanted + std::clamp(Wrap180(wanted - travel), -60.0, 60.0);
    const double error = Wrap180(target - heading);
    const double dead_band = std::max(1.0, 0.02 * car.speed * 22.5 / 2);
    keys[kLeft] = error < -dead_band;
    keys[kRight] = error > dead_band;
    keys[kUp] = true;
    return keys;
}

// Keys for this tick, with a spell of reversing when the car stands caught.
Keys Choose() {
    const tminimal* car = PlayerCar();
    if (game.state != STATE_RACE || !car || world_map.waypoint_count <= 0) return {};
    const double now = U_GetTime();
    if (car->x != pilot.last_x || car->y != pilot.last_y || std::abs(now - game.race_start_time) <= kCountdownMs) {
        pilot.last_x = car->x;
        pilot.last_y = car->y;
        pilot.moved_at = now;
    }
    if (now - pilot.moved_at >= kStuckMs) {
        pilot.moved_at = now;
        pilot.reverse_until = now + kReverseMs;
    }
    const Keys keys = Steer(*car);
    // Backing out of a jam turns the other way round.
    if (now < pilot.reverse_until) return {false, true, keys[kRight], keys[kLeft]};
    return keys;
}

void Hold(const Keys& keys) {
    for (int k = 0; k < kKeyCount; ++k) {
        if (keys[k] == pilot.held[k]) continue;
        oe::Input_Key(kCodes[k], keys[k]);
        pilot.held[k] = keys[k];
    }
}

}  // namespace

void Autopilot_Enable(bool on) {
    Hold({});
    pilot = Pilot{};
    pilot.enabled = on;
    pilot.moved_at = U_GetTime();
}

bool Autopilot_Enabled() { return pilot.enabled; }

void Autopilot_Drive() {
    if (pilot.enabled) Hold(Choose());
}
