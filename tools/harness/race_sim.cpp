#include "tools/harness/race_sim.h"


#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <sstream>
#include <utility>

#include "app/startup.h"
#include "app/tick.h"
#include "assets/soundbase.h"
#include "assets/texbase.h"
#include "core/random.h"
#include "core/state.h"
#include "engine/backend_recording.h"
#include "engine/fs.h"
#include "engine/record.h"
#include "tools/harness/autopilot.h"
#include "tools/harness/scratch_link.h"
#include "ui/element.h"
#include "world/particles.h"
#include "world/race_rules.h"
#include "world/race_setup.h"
#include "world/world.h"

namespace harness {

namespace {

namespace fs = std::filesystem;

constexpr double kTickMs = 30.0;
constexpr double kCountdownMs = 4000.0;
constexpr double kStuckS = 10.0;
constexpr double kBunchedPx = 100.0;   // computer cars this close drive nose to tail
constexpr int32_t kStillPx = 8;       // a car that stays this close to where it stopped stands still
constexpr double kOpeningS = 10.0;   // the start's shuffle before the order counts

std::vector<double> tick_costs;

// The game's tick, timed.
void TimedTick() {
    const auto start = std::chrono::steady_clock::now();
    GameTick();
    tick_costs.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
}

// A scratch working folder whose entries link to those of the data folder:
// the game reads the real assets, and whatever it writes stays out of them.
class ScratchFolder {
public:
    bool Make(const std::string& data) {
        std::string pattern = Fs_MakeScratchFolder("korvamo-racesim-");
        if (pattern.empty()) return false;
        path_ = pattern;
        return LinkAssets(data, path_);
    }

    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);   // removes the links, not what they point at
    }

    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

std::vector<int32_t> CarIndices() {
    std::vector<int32_t> cars;
    for (int32_t i = 0; i < std::clamp(world_map.count, 0, WORLD_CAPACITY); ++i)
        if (IsCarKind(world_map.objects[i].kind)) cars.push_back(i);
    return cars;
}

// The cars' indices, found again only when the number of objects changed:
// only bonuses come and go during a race.
class CarFinder {
public:
    const std::vector<int32_t>& Cars() {
        if (world_map.count != count_) {
            cars_ = CarIndices();
            count_ = world_map.count;
        }
        return cars_;
    }

private:
    std::vector<int32_t> cars_;
    int32_t count_ = -1;
};

// Removes every car of the player's (ai 0) from the map.
void TakePlayerOffTheGrid() {
    for (bool removed = true; removed;) {
        removed = false;
        for (int32_t i : CarIndices()) {
            if (world_map.objects[i].ai != 0) continue;
            world_map.objects[i].kind = "delete";
            World_DeleteByName(world_map, "delete");
            removed = true;
            break;
        }
    }
}

// Bonuses behind a rise of the score within one tick, largest first.
int BonusesIn(int points) {
    int taken = 0;
    for (int value : {150, 80, 10})
        while (points >= value) {
            points -= value;
            ++taken;
        }
    return taken;
}

double Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0.0;
    const size_t rank = static_cast<size_t>(std::ceil(p * static_cast<double>(sorted.size())));
    return sorted[std::clamp<size_t>(rank, 1, sorted.size()) - 1];
}

// Watches the race between ticks.
class Observer {
public:
    explicit Observer(RaceSimResult& result) : result_(result) {}

    void Start() {
        std::vector<LoopPoint> loop;
        for (int32_t i = 0; i < std::clamp(world_map.waypoint_count, 0, WORLD_CAPACITY); ++i) {
            const tcorner& w = world_map.waypoints[i];
            loop.push_back({static_cast<double>(w.x), static_cast<double>(w.y)});
        }
        for (int32_t i : CarIndices()) {
            const tminimal& o = world_map.objects[i];
            RaceSimCar& car = result_.cars.emplace_back();
            car.kind = o.kind;
            car.player = o.ai == 0;
            spots_.push_back({o.x, o.y, 0.0});
            trackers_.emplace_back(loop).Follow(o.x, o.y);
        }
    }

    // After a tick: laps, standing cars, bonuses. False when the race is over.
    bool Look(double limit_s, bool computer_only) {
        const double t = (U_GetTime() - game.race_start_time - kCountdownMs) / 1000.0;
        result_.race_s = std::max(t, 0.0);
        const std::vector<int32_t>& indices = cars_.Cars();
        for (size_t k = 0; k < indices.size() && k < result_.cars.size(); ++k)
            LookAt(result_.cars[k], spots_[k], trackers_[k], world_map.objects[indices[k]], t);
        if (t > 0) LookAtTheField(indices);
        if (player.score > last_score_) {
            result_.bonuses += BonusesIn(player.score - last_score_);
            result_.bonus_points += player.score - last_score_;
        }
        last_score_ = player.score;
        const bool all_done = std::all_of(result_.cars.begin(), result_.cars.end(),
                                          [](const RaceSimCar& car) { return car.laps >= RACE_LAPS; });
        return game.state == STATE_RACE && t < limit_s && !(computer_only && all_done);
    }

    void Finish() {
        result_.computer_cars_bunched = racing_ticks_ > 0 ? static_cast<double>(bunched_ticks_) / racing_ticks_ : 0.0;
        result_.finished = game.state == STATE_FINISHED;
        const std::vector<int32_t> indices = CarIndices();
        const auto winner = std::find(indices.begin(), indices.end(), race.first_finisher);
        if (winner != indices.end()) result_.winner = static_cast<int>(winner - indices.begin());
        result_.player_won = result_.finished && result_.winner >= 0 && result_.cars[result_.winner].player;
        for (RaceSimCar& car : result_.cars) {
            result_.stuck += car.stuck;
            const std::vector<double> laps = RaceSim_LapTimes(car);
            if (laps.empty()) continue;
            car.best_lap_s = *std::min_element(laps.begin(), laps.end());
            car.average_lap_s = car.lap_done_s.back() / static_cast<double>(laps.size());
        }
        TimeTheGap();
        CountTheBattles();
    }

private:
    struct Spot {
        int32_t x, y;      // where the car stopped
        double since_s;    // racing time it has stood there since
    };

    // Whether two computer cars still racing drive within kBunchedPx of each other.
    void LookAtTheField(const std::vector<int32_t>& indices) {
        std::vector<const tminimal*> racing;
        for (size_t k = 0; k < indices.size() && k < result_.cars.size(); ++k)
            if (!result_.cars[k].player && result_.cars[k].laps < RACE_LAPS) racing.push_back(&world_map.objects[indices[k]]);
        ++racing_ticks_;
        for (size_t a = 0; a < racing.size(); ++a)
            for (size_t b = a + 1; b < racing.size(); ++b)
                if (std::hypot(racing[a]->x - racing[b]->x, racing[a]->y - racing[b]->y) < kBunchedPx) {
                    ++bunched_ticks_;
                    return;
                }
    }

    void LookAt(RaceSimCar& car, Spot& spot, LoopTracker& tracker, const tminimal& o, double t) {
        car.laps = car.player ? race.player_laps : o.laps;
        while (std::cmp_less(car.lap_done_s.size(), car.laps)) car.lap_done_s.push_back(t);
        if (car.laps >= RACE_LAPS && car.four_laps_s < 0) car.four_laps_s = t;
        if (t <= 0) return;
        car.progress.push_back({t, tracker.Follow(o.x, o.y)});
        if (std::abs(o.x - spot.x) > kStillPx || std::abs(o.y - spot.y) > kStillPx) spot = {o.x, o.y, t};
        if (car.laps >= RACE_LAPS) return;
        car.longest_still_s = std::max(car.longest_still_s, t - spot.since_s);
        if (car.longest_still_s > kStuckS) car.stuck = true;
    }

    // The second car is the one farthest round the track when the winner's
    // race was complete; the race often ends before it is complete too.
    void TimeTheGap() {
        if (result_.winner < 0) return;
        const RaceSimCar& winner = result_.cars[result_.winner];
        if (winner.four_laps_s < 0) return;
        double farthest = 0.0;
        for (size_t k = 0; k < result_.cars.size(); ++k) {
            if (static_cast<int>(k) == result_.winner || result_.cars[k].progress.empty()) continue;
            const double laps = ProgressAt(result_.cars[k].progress, winner.four_laps_s);
            if (result_.second < 0 || laps > farthest) {
                farthest = laps;
                result_.second = static_cast<int>(k);
            }
        }
        if (result_.second >= 0)
            result_.gap = GapAtSamePlace(winner.progress, winner.four_laps_s, result_.cars[result_.second].progress);
    }

    void CountTheBattles() {
        std::vector<RacingCar> racing;
        for (const RaceSimCar& car : result_.cars) racing.push_back({&car.progress, car.four_laps_s});
        result_.battles = RaceBattles(racing, kOpeningS);
        for (const PairGap& pair : result_.battles.pairs)
            if (!result_.cars[pair.a].player && !result_.cars[pair.b].player)
                result_.rivals_close = std::max(result_.rivals_close, pair.close_share);
    }

    RaceSimResult& result_;
    CarFinder cars_;
    std::vector<Spot> spots_;
    std::vector<LoopTracker> trackers_;   // by car, as spots_
    int32_t last_score_ = 0;
    int racing_ticks_ = 0;
    int bunched_ticks_ = 0;
};

}  // namespace

bool RaceSim_Run(const RaceSimOptions& options, RaceSimResult& result, std::string& error) {
    result = RaceSimResult{};
    if (options.difficulty < 0 || options.difficulty > 2 || options.kind < 0 || options.kind > 3) {
        error = "difficulty must be 0..2 and kind 0..3";
        return false;
    }
    const fs::path track_file = fs::path(options.data) / "wld" / (options.track + ".wld");
    if (options.track.empty() || !fs::is_regular_file(track_file)) {
        error = "no track " + track_file.string();
        return false;
    }
    ScratchFolder scratch;
    const fs::path old_cwd = fs::current_path();
    std::error_code ec;
    if (!scratch.Make(options.data) || (fs::current_path(scratch.Path(), ec), ec)) {
        error = "cannot prepare a working folder from " + options.data;
        return false;
    }

    oe::VirtualBackend& backend = oe::UseRecordingBackend();
    oe::Recorder_Enable(false);
    Game_Reset();
    tick_costs.clear();
    Observer observer(result);
    bool started = false;
    backend.SetDriver([&] {
        if (!started) {
            started = true;
            player.difficulty = options.difficulty;
            player.car_kind = options.kind;
            game.race_mode = 0;
            player.score = 0;
            Race_ClearResult();
            World_StartRace(options.track);
            if (options.computer_only) TakePlayerOffTheGrid();
            observer.Start();
            Autopilot_Enable(!options.computer_only);
            game.tick_timer->proc = TimedTick;
            OE_RegProcedure(OE_PROC_DRAW, nullptr);   // a race without pictures
            return true;
        }
        if (!observer.Look(options.limit_s, options.computer_only)) return false;
        Autopilot_Drive();
        backend.Advance(kTickMs);
        return true;
    });
    Random_ForceSeed(options.seed);
    Game_Main();
    Autopilot_Enable(false);
    observer.Finish();

    std::sort(tick_costs.begin(), tick_costs.end());
    result.tick_us_median = Percentile(tick_costs, 0.5);
    result.tick_us_p99 = Percentile(tick_costs, 0.99);
    result.tick_us_max = tick_costs.empty() ? 0.0 : tick_costs.back();
    fs::current_path(old_cwd, ec);
    return true;
}

std::vector<double> RaceSim_LapTimes(const RaceSimCar& car) {
    std::vector<double> laps;
    double lap_start = 0.0;
    for (double done : car.lap_done_s) {
        laps.push_back(done - lap_start);
        lap_start = done;
    }
    return laps;
}

std::string RaceSim_ResultLine(const RaceSimResult& r) {
    int player_laps_done = 0;
    std::string ai_laps;
    for (const RaceSimCar& car : r.cars) {
        if (car.player)
            player_laps_done = car.laps;
        else
            ai_laps += (ai_laps.empty() ? "" : ",") + std::to_string(car.laps);
    }
    std::ostringstream line;
    line << std::fixed << std::setprecision(1) << "result: finished=" << r.finished << " player_won=" << r.player_won
         << " player_laps=" << player_laps_done << " ai_laps=" << ai_laps << " race_s=" << r.race_s
         << " stuck=" << r.stuck << std::setprecision(0) << " tick_us_median=" << r.tick_us_median
         << " tick_us_p99=" << r.tick_us_p99 << " tick_us_max=" << r.tick_us_max << std::setprecision(1)
         << " gap_s=" << r.gap.s << " gap_at_line=" << r.gap.at_line << std::setprecision(2)
         << " bunched=" << r.computer_cars_bunched << " order_changes=" << r.battles.order_changes
         << " overtakes=" << r.battles.overtakes << " rivals_close=" << r.rivals_close;
    return line.str();
}

}  // namespace harness
