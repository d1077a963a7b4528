#include "tools/harness/soak.h"


#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "app/frame.h"
#include "app/player_folder.h"
#include "app/startup.h"
#include "core/random.h"
#include "core/state.h"
#include "engine/backend_recording.h"
#include "engine/fs.h"
#include "engine/host.h"
#include "engine/input.h"
#include "engine/record.h"
#include "tools/harness/autopilot.h"
#include "ui/element.h"

namespace harness {

namespace {

namespace fs = std::filesystem;

constexpr double kTickMs = 30.0;

// Keys a player (or a cat on the keyboard) might press: the game's own keys
// first, so they come up often.
constexpr std::array<int, 12> kKeys = {OE_KEY_F11, OE_KEY_F12, OE_KEY_F5,    OE_KEY_ESCAPE,
                                       OE_KEY_LEFT, OE_KEY_RIGHT, OE_KEY_UP, OE_KEY_DOWN,
                                       OE_KEY_ENTER, OE_KEY_BACKSPACE, OE_KEY_SHIFT, 'A'};

// The input of one tick, drawn from the run's own generator (not the game's),
// so the game's random numbers stay as they would be.
class Monkey {
public:
    explicit Monkey(uint64_t seed) : rng_(seed) {}

    void Act() {
        // Some races are driven to the finish, so the result windows come up too.
        if (game.state == STATE_RACE) {
            if (!racing_) Autopilot_Enable(Pick(2) == 0);
            racing_ = true;
            if (Autopilot_Enabled()) {
                Autopilot_Drive();
                if (Pick(2000) != 0) return;
            }
        } else if (racing_) {
            racing_ = false;
            Autopilot_Enable(false);
        }
        const int roll = Pick(100);
        if (roll < 30) {
            ClickSomething();
        } else if (roll < 45) {
            const int key = kKeys[Pick(kKeys.size())];
            // F11/F12 leave whatever state the game is in: keep them rarer.
            if ((key == OE_KEY_F11 || key == OE_KEY_F12) && Pick(8) != 0) return;
            oe::Input_Key(key, true);
            held_keys_.push_back(key);
        } else if (roll < 50) {
            static const std::array<const char*, 6> words = {"Kimi", "a", "../x", "Äiti", "$ff", "12345678901234567890"};
            oe::Input_Text(words[Pick(words.size())]);
        } else if (roll < 60) {
            oe::Input_MouseMove(Pick(800), Pick(600));
        } else if (roll < 75) {
            ReleaseAll();
        }
    }

private:
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

    // Mostly on a visible element, so the menus are walked through; else anywhere.
    void ClickSomething() {
        int x = Pick(800), y = Pick(600);
        std::vector<const ielement*> shown;
        for (const auto& e : element_list)
            if (e->visible && (e->relative == 0 || Element_At(e->parent).visible)) shown.push_back(e.get());
        if (!shown.empty() && Pick(4) != 0) {
            const ielement& e = *shown[Pick(shown.size())];
            x = e.x + e.w / 2 + (e.relative ? Element_At(e.parent).x : 0);
            y = e.y + e.h / 2 + (e.relative ? Element_At(e.parent).y : 0);
        }
        const int button = Pick(6) == 0 ? static_cast<int>(Pick(3)) : 1;
        oe::Input_MouseMove(x, y);
        oe::Input_MouseButton(button, true, Pick(10) == 0);
        held_buttons_.push_back(button);
    }

    void ReleaseAll() {
        for (int key : held_keys_) oe::Input_Key(key, false);
        for (int button : held_buttons_) oe::Input_MouseButton(button, false, false);
        held_keys_.clear();
        held_buttons_.clear();
    }

    std::mt19937_64 rng_;
    bool racing_ = false;
    std::vector<int> held_keys_;
    std::vector<int> held_buttons_;
};

}  // namespace

bool Soak_Run(const SoakOptions& options, SoakResult& result, std::string& error) {
    result = SoakResult{};
    std::string pattern = Fs_MakeScratchFolder("korvamo-soak-");
    std::error_code ec;
    if (pattern.empty()) {
        error = "cannot make a scratch folder";
        return false;
    }
    // The shipped data and the player's folder apart, as the installed game keeps them.
    const fs::path scratch = pattern;
    const fs::path shipped = scratch / "data";
    fs::copy(options.data, shipped, fs::copy_options::recursive, ec);
    const fs::path old_cwd = fs::current_path();
    std::string player_error;
    if (ec || !fs::exists(shipped / "gfx") ||
        !PlayerFolder_Prepare((scratch / "player").string(), shipped.string(), player_error) ||
        (fs::current_path(shipped, ec), ec)) {
        error = "cannot copy the data folder " + options.data + " " + player_error;
        Fs_SetPlayerFolder("");
        fs::remove_all(scratch, ec);
        return false;
    }

    oe::VirtualBackend* backend = &oe::UseRecordingBackend();
    oe::Recorder_Enable(false);
    Game_Reset();

    Monkey monkey(options.seed);
    const auto start = std::chrono::steady_clock::now();
    uint8_t last_state = 0;
    const oe::VirtualBackend::Driver driver = [&] {
        if (result.ticks >= options.ticks) return false;
        if (result.ticks == options.ticks / 4) result.rss_kib_warm = Host_ResidentKib();
        monkey.Act();
        backend->Advance(kTickMs);
        ++result.ticks;
        ++result.ticks_in_state[game.state < result.ticks_in_state.size() ? game.state : 0];
        if (game.state == STATE_RACE && last_state != STATE_RACE) ++result.races_started;
        last_state = game.state;
        // Frames cost more than ticks: draw only some of them.
        OE_RegProcedure(OE_PROC_DRAW, result.ticks % options.frame_every == 0 ? DrawFrame : nullptr);
        return true;
    };
    backend->SetDriver(driver);
    Random_ForceSeed(options.seed);
    // "Quit" ends the game; the player starts it again.
    while (result.ticks < options.ticks) {
        ++result.starts;
        Game_Main();
        // A new process: a fresh engine frees what this run loaded.
        if (result.ticks < options.ticks) {
            backend = &oe::UseRecordingBackend();
            backend->SetDriver(driver);
            oe::Recorder_Enable(false);
            Game_Reset();
        }
    }
    result.rss_kib_end = Host_ResidentKib();
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    fs::current_path(old_cwd, ec);
    Fs_SetPlayerFolder("");
    fs::remove_all(scratch, ec);
    return true;
}

}  // namespace harness
