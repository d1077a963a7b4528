// pad.h: a game controller's buttons and left stick as key codes.
//
// The d-pad and the stick hold the arrow keys, so a pad steers a car and moves
// through menus exactly as the arrows do; A, B and Start hold keys of their
// own, which the game reads as it needs (drive and brake in a race, activate
// and go back in the menus). Backends and the harness feed a PadKeys per pad.
#pragma once

#include <array>

namespace oe {

enum class PadButton { Up, Down, Left, Right, A, B, Start };

class PadKeys {
public:
    PadKeys() = default;
    ~PadKeys() { ReleaseAll(); }
    PadKeys(const PadKeys&) = delete;
    PadKeys& operator=(const PadKeys&) = delete;

    void Button(PadButton button, bool down);
    // The left stick at (x, y), each in -1..1 (y grows downwards); beyond half
    // way along an axis it holds that direction's arrow.
    void Stick(float x, float y);
    void StickX(float x);
    void StickY(float y);
    // Lets go of every key this pad holds (the pad went away).
    void ReleaseAll();

private:
    enum Source { kDpadUp, kDpadDown, kDpadLeft, kDpadRight, kA, kB, kStart,
                  kStickLeft, kStickRight, kStickUp, kStickDown, kSources };
    void Set(Source source, bool down);

    std::array<bool, kSources> held_{};
};

}  // namespace oe
