// script.h: the headless harness's script: parsing and running it between the
// passes of the engine's loop.
#pragma once

#include <string>
#include <vector>

#include "engine/pad.h"

namespace oe {
class OffscreenBackend;
}

namespace harness {

struct Line {
    int number = 0;                   // 1-based line in the script file
    std::string text;                 // the line as written, for messages
    std::vector<std::string> words;   // split on blanks; a quoted word keeps its blanks
};

// Reads a script: one command a line, '#' starts a comment. Returns false and
// fills `error` on a line it does not understand.
bool ParseScript(const std::string& source, std::vector<Line>& lines, std::string& error);

// Runs a parsed script against the game, one loop pass at a time.
class Runner {
public:
    Runner(std::vector<Line> lines, oe::OffscreenBackend& backend, std::string shot_dir);
    // The backend's driver: runs commands up to the next one that needs a loop
    // pass; false when the script has ended or failed.
    bool Step();
    bool Failed() const { return failed_; }
    // Every line ran (false when the game ended before the script did).
    bool Done() const { return next_ == lines_.size() && ticks_left_ == 0 && click_button_ < 0; }

private:
    bool Execute(const Line& line);   // false: the expectation failed
    bool Fail(const Line& line, const std::string& found);

    std::vector<Line> lines_;
    oe::OffscreenBackend& backend_;
    std::string shot_dir_;
    size_t next_ = 0;
    int ticks_left_ = 0;
    int click_button_ = -1;           // a click waiting for its release pass
    bool frames_paused_ = false;      // `ticks N fast`: no frame until its last tick
    bool failed_ = false;
    oe::PadKeys pad_;                 // the game controller of `pad`
};

}  // namespace harness
