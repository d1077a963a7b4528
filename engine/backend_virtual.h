// backend_virtual.h: what the headless backends share: a virtual clock and a
// driver that runs between loop passes (injecting input, advancing the clock).
#pragma once

#include <functional>

#include "engine/backend.h"

namespace oe {

class VirtualBackend : public Backend {
public:
    // Called at the start of every loop pass; false ends the loop.
    using Driver = std::function<bool()>;

    void SetDriver(Driver driver) { driver_ = std::move(driver); }
    void Advance(double ms) { now_ += ms; }

    bool Pump() override { return driver_ && driver_(); }
    double Now() override { return now_; }
    void Sleep(int ms) override { now_ += ms; }
    bool ShowsFramesBetweenTicks() const override { return frames_between_ticks_; }
    // Tests of drawing between ticks turn this on.
    void ShowFramesBetweenTicks(bool on) { frames_between_ticks_ = on; }

private:
    Driver driver_;
    double now_ = 0.0;
    bool frames_between_ticks_ = false;
};

}  // namespace oe
