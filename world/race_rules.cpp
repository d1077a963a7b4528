#include "world/race_rules.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/state.h"
#include "engine/oe.h"
#include "world/race_leave.h"
#include "world/tournament.h"
#include "world/tuning.h"
#include "world/view.h"

namespace {

struct BonusKind {
    const char* kind;
    int32_t points;
    int32_t burst_colour;
};

// In the order a car tests them.
constexpr std::array<BonusKind, 3> kBonuses = {{
    {"bn_slw", 10, 0x00FFFF},
    {"bn_spd", 80, 0xFF00FF},
    {"bn_oil", 150, 0xFFFF00},
}};

constexpr size_t kMaxBonuses = 6;

int32_t Count(const tworld& map) { return std::clamp(map.count, 0, WORLD_CAPACITY); }

// A hand-edited profile can hold any 32-bit score: it stops at the ends.
int32_t SaturatedScore(int64_t score) {
    return static_cast<int32_t>(std::clamp<int64_t>(score, INT32_MIN, INT32_MAX));
}

bool IsBonus(const tminimal& o) { return o.kind.starts_with("bn"); }

void Burst(const tminimal& bonus, int32_t colour, RaceEvents& events) {
    for (int n = 0; n < 11; ++n) {
        const float vx = static_cast<float>(random(5)) - 2.5f;
        const float vy = static_cast<float>(random(5)) - 4.0f;
        const float size = static_cast<float>(random(10)) + 20.0f;
        events.Emit("blow", 14, static_cast<float>(bonus.x), static_cast<float>(bonus.y), vx, vy, size, colour);
    }
}

// Removes the object marked "delete"; the indices held across the removal
// keep pointing at the same objects.
void RemoveMarked(tworld& map, int32_t& car) {
    const auto begin = map.objects.begin();
    const int32_t removed = static_cast<int32_t>(
        std::find_if(begin, begin + Count(map), [](const tminimal& o) { return o.kind == "delete"; }) - begin);
    World_DeleteByName(map, "delete");
    if (removed < car) --car;
    if (removed < race.first_finisher) --race.first_finisher;
    for (int32_t k = 0; k < race.finishers; ++k)
        if (removed < race.finish_order[k]) --race.finish_order[k];
}

// A lost tournament race costs 1000 points, never below 0.
void LoseTournamentRace() {
    const int32_t before = player.score;
    player.score = SaturatedScore(std::max<int64_t>(int64_t{player.score} - RACE_DEFEAT_POINTS, 0));
    race.points_lost = before - player.score;
}

// The player's lap is done: its time, the best of the race, and after the
// last lap the race's.
void CountLap() {
    const double lap = Race_LapTime();
    if (race.best_lap_ms < 0 || lap < race.best_lap_ms) race.best_lap_ms = lap;
    race.lap_started = game.current_time;
    if (++race.player_laps == RACE_LAPS) race.race_ms = game.current_time - Race_ReleaseTime();
}

}  // namespace

void Race_ClearResult() {
    race.player_laps = 0;
    race.first_finisher = -1;
    race.finishers = 0;
    race.lap_started = 0.0;
    race.best_lap_ms = -1.0;
    race.race_ms = -1.0;
    race.bonus_points = 0;
    race.points_lost = 0;
    race.new_best_lap = race.new_best_race = false;
    race.missed_checkpoint_at = -1.0;
    race.missed_waypoint = -1;
    race.waypoint_ms.clear();
}

void Bonus_Spawn(tworld& map) {
    // The bonuses' places, kept up to date as this call adds more.
    std::vector<tcorner> bonuses;
    for (int32_t i = 0; i < Count(map); ++i)
        if (IsBonus(map.objects[i])) bonuses.push_back({map.objects[i].x, map.objects[i].y});
    if (bonuses.size() >= kMaxBonuses) return;
    const int32_t waypoints = std::clamp(map.waypoint_count, 0, WORLD_CAPACITY);
    for (int32_t w = 0; w < waypoints; ++w) {
        const tcorner& p = map.waypoints[w];
        const bool taken = std::any_of(bonuses.begin(), bonuses.end(),
                                       [&p](const tcorner& b) { return M_Distance(b.x, b.y, p.x, p.y) < 32; });
        if (taken || random(2 * waypoints) != 1) continue;
        const char* const kinds[] = {"bn_spd", "bn_oil", "bn_slw"};
        const char* kind = kinds[random(3)];
        const int32_t y = p.y + random(32) - 16;
        const int32_t x = p.x + random(32) - 16;
        if (!World_AddObject(map, kind, x, y, 0, 1, 0xFFFFFF)) continue;
        tminimal& added = map.objects[map.count - 1];
        added.width = 32;
        added.height = 32;
        added.radius = 8;
        bonuses.push_back({x, y});
    }
}

void Bonus_Collect(tworld& map, int32_t& car, int32_t j, RaceEvents& events) {
    for (const BonusKind& bonus : kBonuses) {
        if (j < 0 || j >= Count(map)) return;
        tminimal& o = map.objects[j];
        const tminimal& c = map.objects[car];
        // Every car meets every object each tick: the cheap test first.
        const int64_t dx = int64_t{c.x} - o.x;
        const int64_t dy = int64_t{c.y} - o.y;
        constexpr int32_t reach = BONUS_PICKUP_REACH;
        if (dx >= reach || dx <= -reach || dy >= reach || dy <= -reach || !IsBonus(o)) return;
        if (o.kind != bonus.kind || M_Distance(c.x, c.y, o.x, o.y) >= reach) continue;
        Burst(o, bonus.burst_colour, events);
        if (World_OnScreen(map, j, events.camera.value_or(tcorner{}))) events.sounds.push_back({"get"});
        o.kind = "delete";
        RemoveMarked(map, car);
        // A free race's bonuses count for the race, not the tournament's score.
        if (map.objects[car].ai == 0) {
            if (game.race_mode == 0) player.score = SaturatedScore(int64_t{player.score} + bonus.points);
            race.bonus_points = SaturatedScore(int64_t{race.bonus_points} + bonus.points);
        }
    }
}

void Race_TrackWaypoints(tworld& map, int32_t car) {
    tminimal& c = map.objects[car];
    const int32_t waypoints = std::clamp(map.waypoint_count, 0, WORLD_CAPACITY);
    if (waypoints == 0) return;
    const int32_t old = std::clamp(c.waypoint, 0, waypoints - 1);
    auto near = [&](int32_t j) {
        return M_Distance(map.waypoints[j].x, map.waypoints[j].y, c.x, c.y) < PLAYER_WAYPOINT_REACH;
    };
    // Forwards only to the next waypoint, so a lap needs every waypoint in
    // racing order; backwards to the first earlier one within reach.
    if (near((old + 1) % waypoints)) {
        c.waypoint = (old + 1) % waypoints;
    } else {
        for (int32_t j = 0; j < old; ++j)
            if (near(j)) {
                c.waypoint = j;
                break;
            }
        // Within reach of one of the next few waypoints but not of the next:
        // the car went past a checkpoint and is told so.
        for (int32_t skip = 2; c.waypoint == old && skip <= MISSED_CHECKPOINT_LOOK && 2 * skip < waypoints; ++skip)
            if (near((old + skip) % waypoints)) {
                const int32_t missed = (old + 1) % waypoints;
                race.missed_checkpoint_at = game.current_time;
                race.missed_waypoint = missed;
                race.missed_x = map.waypoints[missed].x;
                race.missed_y = map.waypoints[missed].y;
            }
    }
    // A lap is the step from the last waypoint to the first; a single
    // waypoint is both and would count a lap on every tick.
    if (waypoints >= 2 && old == waypoints - 1 && c.waypoint == 0) CountLap();
}

void Race_RecordFinisher(int32_t i) {
    if (race.first_finisher == -1) race.first_finisher = i;
    const auto done = race.finish_order.begin() + race.finishers;
    if (race.finishers < RACE_FINISHERS_CAPACITY && std::find(race.finish_order.begin(), done, i) == done) {
        race.finish_ms[race.finishers] = std::max(0.0, game.current_time - Race_ReleaseTime());
        race.finish_order[race.finishers++] = i;
    }
}

double Race_ReleaseTime() { return game.race_start_time + COUNTDOWN_MS; }

double Race_LapTime() {
    return std::max(0.0, game.current_time - (race.lap_started > 0 ? race.lap_started : Race_ReleaseTime()));
}

void Race_FinishCheck(tworld& map, int32_t i, RaceEvents& events) {
    const tminimal& car = map.objects[i];
    if (car.ai != 0 || race.player_laps != RACE_LAPS || !(car.speed < 1.1f)) return;
    // Crossing the line already slower than 1.1 skips the lap limit's record.
    Race_RecordFinisher(i);
    events.sounds.push_back({"get"});
    const int32_t first = race.first_finisher;
    events.finished = true;
    events.won = first >= 0 && first < Count(map) && map.objects[first].ai == 0;
    // A tournament race moves the standing on; a free race changes nothing.
    if (game.race_mode != 0) return;
    if (events.won)
        player.progress = std::min(player.progress + 1, PROGRESS_CUP_WON);
    else
        LoseTournamentRace();
}

bool Race_Abandon() {
    if (!Race_LeavingCountsAsLost()) return false;
    LoseTournamentRace();
    return true;
}
