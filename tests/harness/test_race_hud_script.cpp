// A scripted race on the harness, the real game on the offscreen backend: what
// each frame shows of the countdown, the lap counter and the score, read from
// the drawing calls of that frame.
#include <gtest/gtest.h>


#include <filesystem>
#include <string>
#include <vector>

#include "app/startup.h"
#include "engine/fs.h"
#include "tools/harness/scratch_link.h"
#include "core/random.h"
#include "core/state.h"
#include "engine/backend_offscreen.h"
#include "engine/record.h"
#include "tools/harness/script.h"
#include "world/race_rules.h"

namespace {

namespace fs = std::filesystem;

// The white texts of one frame (their shadows left out), with the countdown
// time of the tick before it.
struct Shown {
    double since_start = 0;     // current_time - race_start_time, ms
    int32_t score = 0;
    std::vector<std::string> countdown, laps, scores;
};

class RaceHudScript : public ::testing::Test {
protected:
    void SetUp() override {
        old_cwd_ = fs::current_path();
        std::string pattern = Fs_MakeScratchFolder("korvamo-hud-");
        ASSERT_FALSE(pattern.empty());
        work_ = pattern;
        ASSERT_TRUE(harness::LinkAssets(KORVAMO_TEST_DATA, work_));
        fs::current_path(work_);
    }
    void TearDown() override {
        oe::Recorder_Enable(false);
        oe::SetBackend(nullptr);
        std::error_code ec;
        fs::current_path(old_cwd_, ec);
        fs::remove_all(work_, ec);
    }

    // Runs the script on the game and keeps what every frame showed.
    bool Run(const std::string& script) {
        std::vector<harness::Line> lines;
        std::string error;
        EXPECT_TRUE(harness::ParseScript(script, lines, error)) << error;
        auto owned = oe::MakeOffscreenBackend();
        oe::OffscreenBackend& backend = *owned;
        harness::Runner runner(std::move(lines), backend, work_.string());
        bool first = true;
        // The driver runs before each loop pass: the log holds the last pass.
        backend.SetDriver([&] {
            if (!first && game.state == STATE_RACE) Keep();
            first = false;
            oe::Recorder_Clear();
            return runner.Step();
        });
        oe::SetBackend(std::move(owned));
        Game_Reset();
        oe::Recorder_Enable(true);
        Random_ForceSeed(1);
        Game_Main();
        oe::Recorder_Enable(false);
        return !runner.Failed() && runner.Done();
    }

    void Keep() {
        Shown s;
        s.since_start = game.current_time - game.race_start_time;
        s.score = player.score;
        for (const oe::RecordedCall& c : oe::Recorder_Calls()) {
            if (c.name != "Text_Draw") continue;
            const double colour = c.args[5];
            if (c.args[2] == 2.0 && colour == 0x0FFFFF) s.countdown.push_back(c.text);
            if (c.text.ends_with("/4 Laps") && colour == 0xFFFFFF) s.laps.push_back(c.text);
            if (c.text.starts_with("Score: ") && colour == 0xFFFFFF) s.scores.push_back(c.text);
        }
        frames_.push_back(s);
    }

    fs::path old_cwd_, work_;
    std::vector<Shown> frames_;
};

TEST_F(RaceHudScript, CountdownThenLapCounterAndScoreInEveryRaceFrame) {
    ASSERT_TRUE(Run("race beach1\nautopilot on\nexpect state 0\nticks 200\nexpect state 0\n"));
    ASSERT_GE(frames_.size(), 190u);

    // The countdown: its phases in order, each at its own times, then nothing.
    const std::vector<std::string> phases{"3", "2", "1", "GO!!!"};
    std::vector<std::string> order;
    for (const Shown& f : frames_) {
        const double e = f.since_start;
        ASSERT_LE(f.countdown.size(), 1u);
        if (f.countdown.empty()) {
            // Only on a phase boundary or after the start.
            EXPECT_TRUE(e == 1000 || e == 2000 || e == 3000 || e >= 4000) << "no countdown at " << e;
            continue;
        }
        const std::string& text = f.countdown[0];
        const int phase = int(e) / 1000;
        ASSERT_LT(phase, 4) << text << " at " << e;
        EXPECT_EQ(text, phases[size_t(phase)]) << "at " << e;
        if (order.empty() || order.back() != text) order.push_back(text);
    }
    EXPECT_EQ(order, phases);
    EXPECT_EQ(frames_.front().countdown, std::vector<std::string>{"3"});
    EXPECT_TRUE(frames_.back().countdown.empty());
    EXPECT_GE(frames_.back().since_start, 4000 + 50 * 30 - 30);

    // The first lap is under way all along; the score matches the game's.
    for (const Shown& f : frames_) {
        EXPECT_EQ(f.laps, std::vector<std::string>{"1/4 Laps"}) << "at " << f.since_start;
        EXPECT_EQ(f.scores, std::vector<std::string>{"Score: " + std::to_string(f.score)}) << "at " << f.since_start;
    }
}

}  // namespace
