// backend.h: what a backend gives the engine's loop, and how a program picks one.
//
// Three backends exist: the SDL window (the game), the offscreen surface with a
// virtual clock and injected input (the headless harness), and the recording
// backend (unit tests: calls logged as data, no pixels). The loop, timers,
// input latches and the OE_* API are shared; a backend only supplies a canvas,
// a clock, events and an audio device.
#pragma once

#include <memory>
#include <string>

#include "engine/oe.h"

namespace oe {

class Canvas;

class Backend {
public:
    virtual ~Backend() = default;
    // Creates the window or surface; false stops OE_Init before the load callback.
    virtual bool Open(const std::string& title, const OE_OptionsRec& options) = 0;
    // Why Open failed, for the player.
    virtual std::string OpenError() const { return "cannot open the screen"; }
    virtual void Close() = 0;
    virtual void SetTitle(const std::string& title) { (void)title; }
    virtual void ApplyOptions(const OE_OptionsRec& options) { (void)options; }
    // Feeds the events of one loop pass into the input state; false ends the loop.
    virtual bool Pump() = 0;
    virtual double Now() = 0;                 // milliseconds, monotonic
    virtual void Sleep(int ms) = 0;           // waits, or advances a virtual clock
    // A loop pass with no frame to draw: a real clock naps for up to `ms` so the
    // loop does not spin; a virtual clock is moved on by its driver instead.
    virtual void Wait(double ms) { (void)ms; }
    virtual Canvas* GetCanvas() = 0;          // null: no pixels
    virtual void BeginFrame() {}
    virtual void Present() {}
    // Whether frames between ticks are ever seen: a window's are; a headless
    // run draws only after its ticks and input.
    virtual bool ShowsFramesBetweenTicks() const { return true; }
    // Opens a real audio device; false leaves the engine advancing the mixer itself.
    virtual bool OpenAudio() { return false; }
    virtual void CloseAudio() {}
    virtual bool OpenUrl(const std::string& url) { (void)url; return false; }
};

// The backend OE_Init runs on; the engine owns it. Set before OE_Init.
void SetBackend(std::unique_ptr<Backend> backend);
Backend* GetBackend();

}  // namespace oe
