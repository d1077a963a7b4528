#include "tools/harness/script.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <thread>
#include <utility>

#include "app/frame.h"
#include "assets/soundbase.h"
#include "core/state.h"
#include "engine/backend_offscreen.h"
#include "engine/fs.h"
#include "engine/host.h"
#include "engine/input.h"
#include "engine/record.h"
#include "music/modplayer.h"
#include "tools/harness/autopilot.h"
#include "ui/element.h"
#include "ui/focus.h"
#include "ui/player_profile.h"
#include "world/mapfile.h"
#include "world/race_rules.h"
#include "world/race_setup.h"
#include "world/standings.h"

namespace harness {

namespace {

constexpr double kTickMs = 30.0;
// `wait` gives up on the other process after this long.
constexpr auto kWaitLimit = std::chrono::seconds(120);

std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        if (i >= text.size()) break;
        std::string word;
        if (text[i] == '"') {
            const size_t end = text.find('"', i + 1);
            word = text.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
            i = end == std::string::npos ? text.size() : end + 1;
        } else {
            while (i < text.size() && text[i] != ' ' && text[i] != '\t') word += text[i++];
        }
        words.push_back(word);
    }
    return words;
}

bool ToFloat(const std::string& word, float& value) {
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// `pad NAME`: the controller's buttons by name.
const std::pair<const char*, oe::PadButton> kPadButtons[] = {
    {"a", oe::PadButton::A},       {"b", oe::PadButton::B},       {"start", oe::PadButton::Start},
    {"up", oe::PadButton::Up},     {"down", oe::PadButton::Down}, {"left", oe::PadButton::Left},
    {"right", oe::PadButton::Right},
};

const oe::PadButton* PadButtonNamed(const std::string& name) {
    for (const auto& [word, button] : kPadButtons)
        if (name == word) return &button;
    return nullptr;
}

bool StickValid(const std::vector<std::string>& w) {
    float x = 0.0f;
    float y = 0.0f;
    return w.size() == 4 && ToFloat(w[2], x) && ToFloat(w[3], y) && std::abs(x) <= 1.0f && std::abs(y) <= 1.0f;
}

bool ToInt(const std::string& word, int& value) {
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool ParseHex(const std::string& hex, std::string& bytes) {
    if (hex.size() % 2 != 0) return false;
    bytes.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        int value = 0;
        auto [ptr, ec] = std::from_chars(hex.data() + i, hex.data() + i + 2, value, 16);
        if (ec != std::errc() || ptr != hex.data() + i + 2) return false;
        bytes += static_cast<char>(value);
    }
    return true;
}

std::string ToHex(const std::string& bytes) {
    std::string out;
    char buf[3];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", c);
        out += buf;
    }
    return out;
}

// How many words each command takes, and which of them must be integers.
bool Valid(const std::vector<std::string>& w) {
    int n = 0;
    const std::string& cmd = w[0];
    if (cmd == "ticks") return (w.size() == 2 || (w.size() == 3 && w[2] == "fast")) && ToInt(w[1], n) && n >= 0;
    if (cmd == "mouse") return w.size() == 3 && ToInt(w[1], n) && ToInt(w[2], n);
    if (cmd == "click") return w.size() == 2 && ToInt(w[1], n) && n >= 0 && n <= 2;
    if (cmd == "press") return w.size() == 2 && ToInt(w[1], n);
    if (cmd == "key") return w.size() == 3 && (w[1] == "down" || w[1] == "up") && ToInt(w[2], n);
    if (cmd == "type") return w.size() >= 2;
    if (cmd == "pad") return (w.size() == 2 && PadButtonNamed(w[1])) || (w.size() >= 2 && w[1] == "axis" && StickValid(w));
    if (cmd == "shot") return w.size() == 2;
    if (cmd == "race") return w.size() == 2;
    if (cmd == "autopilot") return w.size() == 2 && (w[1] == "on" || w[1] == "off");
    if (cmd == "warp") return w.size() == 3 && ToInt(w[1], n) && ToInt(w[2], n);
    if (cmd == "record") return w.size() == 1;
    if (cmd == "wait") return w.size() == 2;
    if (cmd == "expect" && w.size() >= 2) {
        std::string bytes;
        if (w[1] == "state" || w[1] == "laps" || w[1] == "position" || w[1] == "car" || w[1] == "colour")
            return w.size() == 3 && ToInt(w[2], n);
        if (w[1] == "visible" || w[1] == "ticked") return w.size() == 4 && (w[3] == "0" || w[3] == "1");
        if (w[1] == "caption") return w.size() == 4;
        if (w[1] == "focus") return w.size() == 3;
        if (w[1] == "sound" || w[1] == "track") return w.size() == 3;
        if (w[1] == "fullscreen") return w.size() == 3 && (w[2] == "0" || w[2] == "1");
        if (w[1] == "file") return w.size() == 3 || (w.size() == 4 && ParseHex(w[3], bytes));
        if (w[1] == "music") return w.size() == 3 && (w[2] == "playing" || w[2] == "stopped");
        if (w[1] == "resident" || w[1] == "peak") return w.size() == 4 && w[2] == "below" && ToInt(w[3], n) && n > 0;
    }
    return false;
}

// The player's car on the race map, or null.
tminimal* PlayersCar() {
    for (int32_t i = 0; i < std::clamp(world_map.count, 0, WORLD_CAPACITY); ++i)
        if (world_map.objects[i].ai == 0 && IsCarKind(world_map.objects[i].kind)) return &world_map.objects[i];
    return nullptr;
}

// `expect visible|caption|ticked NAME VALUE`, on the element the game finds
// under NAME (the last one so named): empty when it holds, else what was found.
std::string ElementMismatch(const std::vector<std::string>& w) {
    const ielement& e = Element_Named(w[2]);
    if (element_list.empty() || e.name != w[2]) return "no element " + w[2];
    if (w[1] == "caption") return e.caption == w[3] ? "" : "caption \"" + e.caption + "\"";
    const int value = w[1] == "visible" ? e.visible : e.ticked;
    return std::to_string(value) == w[3] ? "" : w[1] + " " + std::to_string(value);
}

// `expect focus NAME`: the keys' focus is on the element the game finds under
// NAME. Empty when it is, else what has the focus.
std::string FocusMismatch(const std::string& name) {
    const int32_t focused = Focus_Current();
    if (focused < 0) return "no focus";
    const ielement& e = Element_At(focused);
    if (focused == Element_Find(name) && e.name == name) return "";
    return "focus on " + e.name + " \"" + e.caption + "\"";
}

// `expect sound NAME`: the sound registered under NAME was asked to play since
// `record`. The log ends here, so a long run keeps no calls.
bool SoundRequested(const std::string& name) {
    // A name not registered would find the first sound instead.
    const auto end = sound_registry.items.begin() + sound_registry.count;
    const bool registered =
        std::any_of(sound_registry.items.begin(), end, [&](const TS_Item& item) { return item.name == name; });
    const OE_Sound sound = registered ? SndBase_Find(sound_registry, name) : nullptr;
    const auto& calls = oe::Recorder_Calls();
    const bool found = sound && std::any_of(calls.begin(), calls.end(), [&](const oe::RecordedCall& c) {
        return c.name == "Snd_Play" && c.handle == sound;
    });
    oe::Recorder_Enable(false);
    return found;
}

// `expect track NAME`: the map holds the waypoints of "wld\NAME.wld", which
// no other track shares.
bool RaceMapIs(const std::string& track) {
    const auto bytes = Fs_ReadFileHead("wld\\" + track + ".wld", MAP_FILE_MAX_BYTES);
    if (!bytes) return false;
    auto file = std::make_unique<tworld>();
    MapFile_Read(*bytes, *file);
    const auto& a = world_map.waypoints;
    const auto& b = file->waypoints;
    const int32_t n = file->waypoint_count;
    const auto same = [](const tcorner& p, const tcorner& q) { return p.x == q.x && p.y == q.y; };
    return n > 0 && world_map.waypoint_count == n && std::equal(a.begin(), a.begin() + n, b.begin(), same);
}

}  // namespace

bool ParseScript(const std::string& source, std::vector<Line>& lines, std::string& error) {
    std::istringstream in(source);
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        std::string code = text;
        const size_t hash = code.find('#');
        if (hash != std::string::npos) code.erase(hash);
        Line line{number, text, SplitWords(code)};
        if (line.words.empty()) continue;
        if (!Valid(line.words)) {
            error = "line " + std::to_string(number) + ": cannot read: " + text;
            return false;
        }
        // `type` keeps the rest of the line as written, blanks included.
        if (line.words[0] == "type") {
            const size_t start = code.find_first_not_of(" \t", code.find("type") + 4);
            std::string rest = code.substr(start);
            while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.pop_back();
            line.words = {"type", rest};
        }
        lines.push_back(std::move(line));
    }
    return true;
}

Runner::Runner(std::vector<Line> lines, oe::OffscreenBackend& backend, std::string shot_dir)
    : lines_(std::move(lines)), backend_(backend), shot_dir_(std::move(shot_dir)) {}

bool Runner::Step() {
    if (failed_) return false;
    // The autopilot chooses its keys before every pass's tick.
    Autopilot_Drive();
    if (click_button_ >= 0) {
        oe::Input_MouseButton(click_button_, false, false);
        click_button_ = -1;
        return true;
    }
    if (ticks_left_ > 0) {
        --ticks_left_;
        // The last tick of a fast stretch is drawn again.
        if (ticks_left_ == 0 && frames_paused_) {
            OE_RegProcedure(OE_PROC_DRAW, DrawFrame);
            frames_paused_ = false;
        }
        backend_.Advance(kTickMs);
        return true;
    }
    while (next_ < lines_.size()) {
        const Line& line = lines_[next_++];
        const std::string& cmd = line.words[0];
        int value = 0;
        if (cmd == "ticks") {
            ToInt(line.words[1], value);
            if (value == 0) continue;
            ticks_left_ = value - 1;
            // A long race needs no pictures of every tick.
            if (line.words.size() == 3 && value > 1) {
                OE_RegProcedure(OE_PROC_DRAW, nullptr);
                frames_paused_ = true;
            }
            backend_.Advance(kTickMs);
            return true;
        }
        if (cmd == "click") {
            ToInt(line.words[1], value);
            oe::Input_MouseButton(value, true, false);
            click_button_ = value;
            return true;
        }
        if (!Execute(line)) return false;
    }
    return false;
}

bool Runner::Execute(const Line& line) {
    const std::vector<std::string>& w = line.words;
    int a = 0;
    int b = 0;
    if (w[0] == "mouse") {
        ToInt(w[1], a);
        ToInt(w[2], b);
        oe::Input_MouseMove(a, b);
    } else if (w[0] == "key") {
        ToInt(w[2], a);
        oe::Input_Key(a, w[1] == "down");
    } else if (w[0] == "press") {
        ToInt(w[1], a);
        oe::Input_Key(a, true);
        oe::Input_Key(a, false);
    } else if (w[0] == "pad" && w[1] == "axis") {
        float x = 0.0f;
        float y = 0.0f;
        ToFloat(w[2], x);
        ToFloat(w[3], y);
        pad_.Stick(x, y);
    } else if (w[0] == "pad") {
        pad_.Button(*PadButtonNamed(w[1]), true);
        pad_.Button(*PadButtonNamed(w[1]), false);
    } else if (w[0] == "type") {
        oe::Input_Text(w[1]);
    } else if (w[0] == "race") {
        // A fresh race, as from the screens that lead to one.
        Race_ClearResult();
        World_StartRace(w[1]);
    } else if (w[0] == "autopilot") {
        Autopilot_Enable(w[1] == "on");
    } else if (w[0] == "warp") {
        tminimal* car = PlayersCar();
        if (!car) return Fail(line, "no player's car on the map");
        ToInt(w[1], a);
        ToInt(w[2], b);
        car->x = a;
        car->y = b;
        car->speed = 0.0f;
        car->vx = car->vy = 0.0f;
    } else if (w[0] == "wait") {
        // Another process's turn: real time passes, the game's does not.
        const auto give_up = std::chrono::steady_clock::now() + kWaitLimit;
        while (!Host_Stat(w[1]).exists) {
            if (std::chrono::steady_clock::now() > give_up) return Fail(line, "no " + w[1] + " after 120 s");
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    } else if (w[0] == "record") {
        // A fresh log of the engine calls, read by `expect sound`.
        oe::Recorder_Enable(true);
    } else if (w[0] == "shot") {
        const std::string path = w[1].front() == '/' ? w[1] : shot_dir_ + "/" + w[1];
        if (!backend_.WritePng(path)) return Fail(line, "cannot write " + path);
    } else if (w[1] == "state") {
        ToInt(w[2], a);
        if (game.state != a) return Fail(line, "state " + std::to_string(game.state));
    } else if (w[1] == "laps") {
        ToInt(w[2], a);
        if (race.player_laps != a) return Fail(line, "laps " + std::to_string(race.player_laps));
    } else if (w[1] == "position") {
        ToInt(w[2], a);
        const int32_t place = Race_PlayerPosition(world_map);
        if (place != a) return Fail(line, "position " + std::to_string(place));
    } else if (w[1] == "visible" || w[1] == "caption" || w[1] == "ticked") {
        const std::string found = ElementMismatch(w);
        if (!found.empty()) return Fail(line, found);
    } else if (w[1] == "car" || w[1] == "colour") {
        ToInt(w[2], a);
        const int32_t chosen = w[1] == "car" ? player.car_kind : player.car_colour;
        if (chosen != a) return Fail(line, w[1] + " " + std::to_string(chosen));
    } else if (w[1] == "focus") {
        const std::string found = FocusMismatch(w[2]);
        if (!found.empty()) return Fail(line, found);
    } else if (w[1] == "music") {
        // The game's own test: a level of 0 is no music.
        const bool playing = Music_Level() != 0;
        if (playing != (w[2] == "playing")) return Fail(line, playing ? "music playing" : "music stopped");
    } else if (w[1] == "sound") {
        if (!SoundRequested(w[2])) return Fail(line, "no request for " + w[2] + " since `record`");
    } else if (w[1] == "track") {
        if (!RaceMapIs(w[2])) return Fail(line, "the map's waypoints are not those of " + w[2]);
    } else if (w[1] == "resident" || w[1] == "peak") {
        ToInt(w[3], a);
        const int64_t kib = w[1] == "peak" ? Host_PeakResidentKib() : Host_ResidentKib();
        if (kib <= 0 || kib >= int64_t{a} * 1024) return Fail(line, w[1] + " " + std::to_string(kib / 1024) + " MiB");
    } else if (w[1] == "fullscreen") {
        const int fullscreen = OE_GetOptions()->fullscreen != 0;
        if (std::to_string(fullscreen) != w[2]) return Fail(line, "fullscreen " + std::to_string(fullscreen));
    } else if (w[1] == "file") {
        // Through the game's file layer: the player's files may live apart.
        std::ifstream in(Fs_ReadPath(w[2]), std::ios::binary);
        if (!in) return Fail(line, "no file " + w[2]);
        const std::string content((std::istreambuf_iterator<char>(in)), {});
        std::string want;
        if (w.size() == 4 && ParseHex(w[3], want) && content != want)
            return Fail(line, "bytes " + ToHex(content));
    }
    return true;
}

bool Runner::Fail(const Line& line, const std::string& found) {
    std::fprintf(stderr, "line %d: %s\n  found: %s\n", line.number, line.text.c_str(), found.c_str());
    failed_ = true;
    return false;
}

}  // namespace harness
