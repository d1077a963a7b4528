#include "world/driver.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/random.h"
#include "engine/oe.h"
#include "world/geometry.h"
#include "world/physics.h"
#include "world/standings.h"
#include "world/track_line.h"
#include "world/tuning.h"

namespace {

int32_t Count(const tworld& map) { return std::clamp(map.count, 0, WORLD_CAPACITY); }

// A number from lo to hi drawn from the game's generator.
float Draw(float lo, float hi) { return lo + (hi - lo) * static_cast<float>(random(1001)) / 1000.0f; }

void SetFrame(tminimal& car) {
    car.frame = std::clamp(static_cast<float>(Geo_WrapDegrees(90 - car.angle) / 22.5 + 1.0), 1.0f, 16.0f);
}

// The map's cars as last looked for: found again for every race and when the
// number of objects changed (only bonuses come and go during a race).
struct CarList {
    const tworld* map = nullptr;
    int32_t count = -1;
    std::vector<int32_t> cars;
};

CarList& KnownCars() {
    static CarList known;
    return known;
}

const std::vector<int32_t>& Cars(const tworld& map) {
    CarList& known = KnownCars();
    if (known.map != &map || known.count != map.count) {
        known.cars.clear();
        for (int32_t i = 0; i < Count(map); ++i)
            if (IsCarKind(map.objects[i].kind)) known.cars.push_back(i);
        known.map = &map;
        known.count = map.count;
    }
    return known.cars;
}

// Px from car a forwards along the line to car b, -half a lap .. half a lap.
float Ahead(const TrackLine& line, const tminimal& a, const tminimal& b) {
    const int32_t n = static_cast<int32_t>(line.points.size());
    int32_t d = (b.driver.line - a.driver.line) % n;
    if (d > n / 2) d -= n;
    if (d < -n / 2) d += n;
    return static_cast<float>(d) * line.spacing;
}

// Px car o stands aside of the centre line, towards (-dy, dx).
float Aside(const TrackLine& line, const tminimal& o) {
    const LinePoint& p = line.points[static_cast<size_t>(o.driver.line)];
    return (static_cast<float>(o.x) - p.x) * -p.dy + (static_cast<float>(o.y) - p.y) * p.dx;
}

// The old way on a map without a centre line: straight at the waypoint.
void AimAtWaypoint(tminimal& car, const tcorner& w) {
    car.angle = M_FindAngle(car.x, car.y, w.x, w.y);
    SetFrame(car);
}

// A driver's form changes from lap to lap within its level's bounds.
void DrawForm(tdriver& d) {
    const DriverLevel& l = DRIVER_LEVELS[static_cast<size_t>(std::clamp(d.level, 0, HARDEST_DIFFICULTY))];
    d.pace = Draw(l.pace_lo, l.pace_hi);
    d.cornering = Draw(l.cornering_lo, l.cornering_hi);
}

// After a lap, one time in DRIVER_TRADE_ODDS a driver trades where it means
// to run against the player with another driver: the running order shuffles,
// and no two drivers ever mean to run in the same place.
void TradePlaces(tworld& map, int32_t i) {
    std::vector<int32_t> others;
    for (const int32_t j : Cars(map))
        if (j != i && map.objects[j].ai == 1) others.push_back(j);
    if (others.empty() || random(DRIVER_TRADE_ODDS) != 0) return;
    const int32_t j = others[static_cast<size_t>(random(static_cast<int>(others.size())))];
    std::swap(map.objects[i].driver.target_lead, map.objects[j].driver.target_lead);
}

// Takes the next waypoint within reach or once past it; after the last
// comes the first and one more lap.
void FollowWaypoints(tworld& map, const TrackLine& line, int32_t i) {
    tminimal& car = map.objects[i];
    const int32_t n = map.waypoint_count;
    const tcorner& w = map.waypoints[std::clamp(car.waypoint, 0, WORLD_CAPACITY - 1)];
    const double d = M_Distance(car.x, car.y, w.x, w.y);
    const bool past = car.driver.line >= 0 &&
                      line.points[static_cast<size_t>(car.driver.line)].waypoint == (car.waypoint + 1) % n &&
                      d < DRIVER_PASSED_REACH;
    if (d < 120 || past) car.waypoint += 1;
    if (car.waypoint > n - 1) {
        car.waypoint = 0;
        car.laps += 1;
        if (car.driver.level >= 0) {
            DrawForm(car.driver);
            TradePlaces(map, i);
        }
    }
}

// The car in the driver's path within DRIVER_PASS_LOOK px ahead; -1: none.
int32_t CarInTheWay(const tworld& map, const TrackLine& line, int32_t i) {
    const tminimal& car = map.objects[i];
    const float mine = Aside(line, car);
    for (const int32_t j : Cars(map)) {
        const tminimal& other = map.objects[j];
        if (j == i || other.driver.line < 0) continue;
        const float ahead = Ahead(line, car, other);
        if (ahead > 0 && ahead < DRIVER_PASS_LOOK && std::abs(Aside(line, other) - mine) < DRIVER_CAR_WIDTH) return j;
    }
    return -1;
}

// The nearest other computer car less than DRIVER_FOLLOW_LOOK ticks ahead on
// the road (`behind`: behind); -1: none.
int32_t CloseRival(const tworld& map, const TrackLine& line, int32_t i, bool behind) {
    const tminimal& car = map.objects[i];
    const float reach = std::max(car.speed, DRIVER_MIN_STEER_SPEED) * DRIVER_FOLLOW_LOOK;
    int32_t nearest = -1;
    float best = reach;
    for (const int32_t j : Cars(map)) {
        const tminimal& other = map.objects[j];
        if (j == i || other.ai != 1 || other.driver.line < 0) continue;
        const float ahead = behind ? -Ahead(line, car, other) : Ahead(line, car, other);
        if (ahead > 0 && ahead < best) {
            best = ahead;
            nearest = j;
        }
    }
    return nearest;
}

// True when the driver means to run ahead of the other: its place against the
// player lies further ahead, or, where the two are meant to run together, it is
// the more aggressive one by the draw.
bool MeansToLead(const tdriver& d, const tdriver& other) {
    if (d.target_lead != other.target_lead) return d.target_lead > other.target_lead;
    return Draw(0.0f, 1.0f) < d.aggression;
}

// Two computer cars do not run nose to tail for long. Long in another's wake,
// a driver that means to run ahead makes a burst to pass, and one that does
// not drops back; when the pass did not come off it gives way: it takes the
// other's place against the player and drops back. Long with one close behind
// that is not meant to pass, a driver makes a burst to pull away; one that is
// meant to pass is let by on pace and only blocked on the road.
void KeepClearOfRivals(tworld& map, const TrackLine& line, int32_t i, tdriver& d) {
    const int32_t ahead = CloseRival(map, line, i, false);
    const int32_t behind = CloseRival(map, line, i, true);
    d.follow = ahead >= 0 ? d.follow + 1 : 0;
    d.chased = behind >= 0 && map.objects[behind].driver.burst == 0 ? d.chased + 1 : 0;
    if (d.drop > 0) --d.drop;
    if (d.burst > 0 && --d.burst == 0 && ahead >= 0) {
        tdriver& other = map.objects[ahead].driver;
        if (d.target_lead > other.target_lead) std::swap(d.target_lead, other.target_lead);
        d.drop = DRIVER_DROP_TICKS;
    }
    if (d.burst > 0 || d.drop > 0) return;
    if (d.follow > DRIVER_FOLLOW_TICKS) {
        d.follow = 0;
        if (MeansToLead(d, map.objects[ahead].driver))
            d.burst = DRIVER_BURST_TICKS;
        else
            d.drop = DRIVER_DROP_TICKS;
    } else if (d.chased > DRIVER_FOLLOW_TICKS) {
        d.chased = 0;
        if (!MeansToLead(map.objects[behind].driver, d)) d.burst = DRIVER_BURST_TICKS;
    }
}

// Where across the road the driver wants to be: round a car in its way, across
// the path of a faster one close behind, or on its own line. A choice stands
// for DRIVER_LANE_HOLD ticks.
void ChooseLane(tworld& map, const TrackLine& line, int32_t i, int32_t in_the_way) {
    tminimal& car = map.objects[i];
    tdriver& d = car.driver;
    if (d.hold > 0) {
        --d.hold;
        return;
    }
    const float mine = Aside(line, car);
    const float room = ROAD_HALF_WIDTH - DRIVER_ROAD_MARGIN;
    const float racing = line.points[static_cast<size_t>(d.line)].racing;
    d.lane_target = d.own_lane;
    if (in_the_way >= 0) {
        // Round it on the side with more road, the inside of the bend ahead first.
        const float theirs = Aside(line, map.objects[in_the_way]);
        float side = theirs > 0 ? -1.0f : 1.0f;
        if (std::abs(theirs) < 20.0f && racing != 0.0f) side = racing > 0 ? 1.0f : -1.0f;
        d.lane_target = std::clamp(theirs + side * DRIVER_PASS_ASIDE, -room, room) - racing;
        d.hold = DRIVER_LANE_HOLD;
        return;
    }
    for (const int32_t j : Cars(map)) {
        const tminimal& other = map.objects[j];
        if (j == i || other.driver.line < 0) continue;
        const float ahead = Ahead(line, car, other);
        const float theirs = Aside(line, other);
        // Close behind, faster and pulling out: an aggressive driver moves across its path.
        if (ahead < -DRIVER_CAR_LENGTH && ahead > -DRIVER_DEFEND_LOOK && other.speed > car.speed + 0.5f &&
            std::abs(theirs - mine) > DRIVER_CAR_WIDTH / 2 && d.aggression > 0.5f) {
            d.lane_target = std::clamp(mine + (theirs - mine) * (d.aggression - 0.5f), -room, room) - racing;
            d.hold = DRIVER_LANE_HOLD;
            return;
        }
    }
}

// The player's car's progress against this one's, in waypoints: above 0 the
// computer car leads.
double LeadOverPlayer(const tworld& map, int32_t i) {
    for (const int32_t j : Cars(map))
        if (map.objects[j].ai == 0) return Race_Progress(map, i) - Race_Progress(map, j);
    return 0.0;
}

// The speed a driver's pace counts from: its top speed, or the player's when
// that is lower, so a faster kind of car does not simply drive away.
float BaseSpeed(const tworld& map, const tminimal& car) {
    for (const int32_t j : Cars(map))
        if (map.objects[j].ai == 0) return static_cast<float>(std::min(car.top_speed, map.objects[j].top_speed));
    return static_cast<float>(car.top_speed);
}

// The speed the driver wants now: its pace on the straight, held back by the
// sharpest bend within braking distance, and eased off or pressed on to keep
// the race close to the player.
float WantedSpeed(const tworld& map, const TrackLine& line, int32_t i) {
    const tminimal& car = map.objects[i];
    const tdriver& d = car.driver;
    // Keeping the race close: towards the driver's own distance from the
    // player; on the last lap a driver behind finds nothing more.
    const double off = LeadOverPlayer(map, i) - d.target_lead;
    const bool last_lap = car.laps >= RACE_LAPS - 1;
    const double want = std::clamp(-off * DRIVER_CATCH_UP_PER_WAYPOINT, -1.0, 1.0);
    float catch_up = static_cast<float>(want) * (want > 0 ? (last_lap ? 0.0f : DRIVER_PRESS_ON * d.stamina) : DRIVER_EASE_OFF);
    if (d.drop > 0) catch_up = std::min(catch_up, 0.0f) - DRIVER_DROP_BACK;
    if (d.burst > 0) catch_up = std::max(catch_up, 0.0f) + DRIVER_BURST;
    const float push = d.push > DRIVER_PUSH_AFTER ? DRIVER_PUSH : 0.0f;
    const float pace = d.pace + catch_up + (d.drop > 0 ? 0.0f : push);
    const float cornering = d.cornering * (1.0f + std::max(catch_up, 0.0f)) * (d.wide > 0 ? DRIVER_WIDE_CORNERING : 1.0f);
    const float look = car.speed * car.speed / (2.0f * DRIVER_BRAKING) + DRIVER_BEND_LOOK;
    const int32_t n = static_cast<int32_t>(line.points.size());
    const int32_t steps = static_cast<int32_t>(look / line.spacing);
    float wanted = std::min(BaseSpeed(map, car) * pace, static_cast<float>(car.top_speed) * (1.0f + DRIVER_PRESS_ON));
    for (int32_t k = 0; k <= steps; k += 2) {
        const LinePoint& p = line.points[static_cast<size_t>((car.driver.line + k) % n)];
        const float bend = std::abs(p.smooth);
        if (bend < 1e-5f) continue;
        // The speed that takes this bend, and what may be carried to it from here.
        const float bend_speed = std::sqrt(DRIVER_BEND_GRIP * cornering / bend);
        const float reach = std::sqrt(bend_speed * bend_speed + 2.0f * DRIVER_BRAKING * static_cast<float>(k) * line.spacing);
        wanted = std::min(wanted, reach);
    }
    return wanted;
}

// Steers at the point ahead on the driver's line, no faster than a player's
// wheel turns, and sets the throttle for the wanted speed; a car that hardly
// moves for a while backs out the other way.
void Drive(tworld& map, const TrackLine& line, int32_t i) {
    tminimal& car = map.objects[i];
    tdriver& d = car.driver;
    if (d.wide > 0) --d.wide;
    if (d.wide == 0 && random(100000) < static_cast<int>(d.mistakes * 100000)) {
        d.wide = DRIVER_WIDE_TICKS;
    }
    const int32_t in_the_way = CarInTheWay(map, line, i);
    // Held up behind a car for a while, a driver pushes harder to get by.
    d.push = in_the_way >= 0 ? d.push + 1 : std::max(0, d.push - 1);
    ChooseLane(map, line, i, in_the_way);
    KeepClearOfRivals(map, line, i, d);
    d.lane += std::clamp(d.lane_target - d.lane, -DRIVER_LANE_STEP, DRIVER_LANE_STEP);
    const int32_t n = static_cast<int32_t>(line.points.size());
    const int32_t k = (d.line + static_cast<int32_t>((DRIVER_AIM_BASE + car.speed * DRIVER_AIM_PER_SPEED) / line.spacing)) % n;
    const LinePoint& p = line.points[static_cast<size_t>(k)];
    const float room = ROAD_HALF_WIDTH - DRIVER_ROAD_MARGIN;
    const float racing = d.wide > 0 ? -p.racing : p.racing;
    const float aside = std::clamp(racing + d.lane, -room, room);
    const double aim_x = p.x - p.dy * aside, aim_y = p.y + p.dx * aside;

    const int32_t wanted_angle = M_FindAngle(car.x, car.y, aim_x, aim_y);
    const double turn = std::remainder(static_cast<double>(wanted_angle - car.angle), 360.0);
    const double most = STEERING * 22.5 * std::clamp(car.speed, DRIVER_MIN_STEER_SPEED, STEERING_FULL_SPEED);
    // Like the player's wheel, never further from the direction of travel than MAX_SLIP_DEGREES.
    const double slip = Race_Slip(car);
    const double right = slip < MAX_SLIP_DEGREES ? most : 0.0;
    const double left = slip > -MAX_SLIP_DEGREES ? most : 0.0;
    car.angle = Geo_WrapDegrees(M_Round(car.angle + std::clamp(turn, -left, right)));

    const float wanted = WantedSpeed(map, line, i);
    d.limit = wanted;
    car.throttle = car.speed > wanted + DRIVER_BRAKE_ABOVE ? -1 : 1;
    if (d.launch > 0) {
        --d.launch;   // still reacting to the start
        car.throttle = 0;
    }

    // Caught: wanting to go but hardly getting anywhere, whatever the speed
    // says (a car pressed against a wall keeps some).
    const double moved = std::hypot(car.x - d.last_x, car.y - d.last_y);
    d.last_x = car.x;
    d.last_y = car.y;
    d.caught = moved < DRIVER_CAUGHT_SPEED && car.throttle == 1 ? d.caught + 1 : 0;
    if (d.caught > DRIVER_CAUGHT_TICKS) {
        d.caught = 0;
        d.reverse = DRIVER_REVERSE_TICKS;
    }
    if (d.reverse > 0) {
        --d.reverse;
        car.throttle = -1;
        car.angle = Geo_WrapDegrees(M_Round(car.angle - std::clamp(turn, -most, most) * 2));
    }
    SetFrame(car);
}

}  // namespace

void Driver_Prepare(tworld& map, int32_t difficulty) {
    KnownCars() = CarList{};
    const int32_t level = std::clamp(difficulty, 0, HARDEST_DIFFICULTY);
    const DriverLevel& l = DRIVER_LEVELS[static_cast<size_t>(level)];
    std::vector<tdriver*> drivers;
    for (int32_t i = 0; i < Count(map); ++i) {
        tminimal& car = map.objects[i];
        if (!IsCarKind(car.kind)) continue;
        tdriver& d = car.driver;
        d = tdriver{.line = d.line};
        if (car.ai != 1) continue;
        d.level = level;
        DrawForm(d);
        d.aggression = Draw(l.aggression_lo, l.aggression_hi);
        d.mistakes = l.mistakes;
        d.stamina = Draw(DRIVER_STAMINA_LO, 1.0f);
        d.launch = random(DRIVER_LAUNCH_TICKS + 1);
        d.own_lane = Draw(-DRIVER_OWN_LANE, DRIVER_OWN_LANE);
        d.lane = d.lane_target = d.own_lane;
        drivers.push_back(&d);
    }
    // Places against the player spread evenly over the level's bounds, dealt at random.
    const size_t n = drivers.size();
    for (size_t k = 0; k < n; ++k) {
        const size_t pick = k + static_cast<size_t>(random(static_cast<int>(n - k)));
        std::swap(drivers[k], drivers[pick]);
        drivers[k]->target_lead = n == 1 ? (l.lead_lo + l.lead_hi) / 2
                                         : l.lead_lo + (l.lead_hi - l.lead_lo) * static_cast<float>(k) / static_cast<float>(n - 1);
    }
}

bool Driver_Step(tworld& map, int32_t i) {
    if (i < 0 || i >= Count(map)) return false;
    tminimal& car = map.objects[i];
    const TrackLine& line = TrackLine_Of(map);
    const tcorner& w = map.waypoints[std::clamp(car.waypoint, 0, WORLD_CAPACITY - 1)];
    if (line.points.empty() || car.driver.line < 0)
        AimAtWaypoint(car, w);
    if (map.waypoint_count > 0) {
        if (line.points.empty() || car.driver.line < 0) {
            car.throttle = 1;
            FollowWaypoints(map, line, i);
        } else {
            Drive(map, line, i);
            FollowWaypoints(map, line, i);
        }
    }
    if (car.laps == RACE_LAPS && car.waypoint == 1) {
        car.throttle = 0;
        return true;
    }
    return false;
}
