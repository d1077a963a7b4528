// Every shipped track raced whole through the real game, frames not drawn,
// with the car the tournament gives for the track's group: the computer cars
// alone each complete four laps within 6 minutes and none stands stuck, and
// with the autopilot at the wheel the race is finished. Across the three
// difficulties the field races as the tournament means it to.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "tools/harness/race_sim.h"

namespace {

const char* const kTracks[] = {"beach1", "beach2", "beach1r", "beach2r", "forest1", "forest2", "forest1r", "forest2r",
                               "icy1",   "icy2",   "icy1r",   "icy2r",   "city1",   "city2",   "city1r",   "city2r"};

constexpr double kComputerLimitS = 360.0;

// The car the tournament unlocks for the track's group of four.
int GroupKind(const std::string& track) {
    return static_cast<int>(std::find(std::begin(kTracks), std::end(kTracks), track) - std::begin(kTracks)) / 4;
}

// A race is the same each time it is run with the same options: each is run
// once, and the tests that look at it share it.
const harness::RaceSimResult& Race(const std::string& track, int difficulty, bool computer_only) {
    static std::map<std::tuple<std::string, int, bool>, harness::RaceSimResult> raced;
    const auto key = std::make_tuple(track, difficulty, computer_only);
    if (const auto found = raced.find(key); found != raced.end()) return found->second;
    harness::RaceSimOptions options;
    options.data = KORVAMO_TEST_DATA;
    options.track = track;
    options.difficulty = difficulty;
    options.kind = GroupKind(track);
    options.computer_only = computer_only;
    harness::RaceSimResult result;
    std::string error;
    EXPECT_TRUE(harness::RaceSim_Run(options, result, error)) << error;
    return raced.emplace(key, result).first->second;
}

void ExpectRacesWell(const std::string& track, int difficulty) {
    const harness::RaceSimResult& alone = Race(track, difficulty, true);
    EXPECT_GE(alone.cars.size(), 3u);
    for (size_t k = 0; k < alone.cars.size(); ++k) {
        SCOPED_TRACE("computer car " + std::to_string(k));
        EXPECT_FALSE(alone.cars[k].player);
        EXPECT_GE(alone.cars[k].four_laps_s, 0.0);
        EXPECT_LE(alone.cars[k].four_laps_s, kComputerLimitS);
        EXPECT_FALSE(alone.cars[k].stuck) << "stood still " << alone.cars[k].longest_still_s << " s";
    }

    const harness::RaceSimResult& race = Race(track, difficulty, false);
    EXPECT_TRUE(race.finished) << harness::RaceSim_ResultLine(race);
    EXPECT_EQ(race.stuck, 0) << harness::RaceSim_ResultLine(race);
    EXPECT_GE(race.winner, 0);
    for (const harness::RaceSimCar& car : race.cars) {
        if (car.player) {
            EXPECT_EQ(car.laps, 4);
        }
    }
}

class AllTracks : public ::testing::TestWithParam<const char*> {};

TEST_P(AllTracks, RaceWellAtMediumDifficulty) { ExpectRacesWell(GetParam(), 1); }

INSTANTIATE_TEST_SUITE_P(Tracks, AllTracks, ::testing::ValuesIn(kTracks),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

// The player's average lap, in seconds.
double AverageLap(const harness::RaceSimResult& race) {
    for (const harness::RaceSimCar& car : race.cars)
        if (car.player) return car.average_lap_s;
    return 0.0;
}

// Easy is won everywhere, medium mostly, hard about half the time; laps at
// medium take 30 to 50 s, so a race lasts two to four minutes. The field
// races: at medium the running order changes at least three times after the
// opening seconds in 12 races of 16, and no two rivals run within a second of
// each other for more than 40 % of any race. One
// difficulty per test, so each stays within the time a test may take.
class AllTracksAtADifficulty : public ::testing::TestWithParam<int> {};

TEST_P(AllTracksAtADifficulty, TheFieldRacesAsTheTournamentMeansIt) {
    const int difficulty = GetParam();
    int wins = 0, lively = 0, processions = 0;
    for (const char* track : kTracks) {
        SCOPED_TRACE(track);
        const harness::RaceSimResult& race = Race(track, difficulty, false);
        ASSERT_TRUE(race.finished) << harness::RaceSim_ResultLine(race);
        EXPECT_EQ(race.stuck, 0) << harness::RaceSim_ResultLine(race);
        wins += race.player_won;
        lively += race.battles.order_changes >= 3;
        processions += race.rivals_close > 0.4;
        if (difficulty == 1) {
            EXPECT_GE(AverageLap(race), 30.0);
            EXPECT_LE(AverageLap(race), 50.0);
        }
    }
    const int tracks = static_cast<int>(std::size(kTracks));
    if (difficulty == 0) {
        EXPECT_EQ(wins, tracks);
    } else if (difficulty == 1) {
        EXPECT_GE(wins, 10);
        EXPECT_LE(wins, 15);
        EXPECT_GE(lively, 12);
        EXPECT_EQ(processions, 0);
    } else {
        EXPECT_GE(wins, 4);
        EXPECT_LE(wins, 12);
    }
}

INSTANTIATE_TEST_SUITE_P(Difficulties, AllTracksAtADifficulty, ::testing::Values(0, 1, 2),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == 0 ? "Easy" : info.param == 1 ? "Medium" : "Hard");
                         });

}  // namespace
