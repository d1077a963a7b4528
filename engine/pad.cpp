// pad.cpp: a game controller's buttons and stick held as keys, each source once.
#include "engine/pad.h"

#include "engine/input.h"
#include "engine/oe.h"

namespace oe {

namespace {

constexpr float kStickThreshold = 0.5f;   // how far the stick goes before it counts

}  // namespace

void PadKeys::Button(PadButton button, bool down) {
    switch (button) {
        case PadButton::Up: Set(kDpadUp, down); break;
        case PadButton::Down: Set(kDpadDown, down); break;
        case PadButton::Left: Set(kDpadLeft, down); break;
        case PadButton::Right: Set(kDpadRight, down); break;
        case PadButton::A: Set(kA, down); break;
        case PadButton::B: Set(kB, down); break;
        case PadButton::Start: Set(kStart, down); break;
    }
}

void PadKeys::Stick(float x, float y) {
    StickX(x);
    StickY(y);
}

void PadKeys::StickX(float x) {
    Set(kStickLeft, x < -kStickThreshold);
    Set(kStickRight, x > kStickThreshold);
}

void PadKeys::StickY(float y) {
    Set(kStickUp, y < -kStickThreshold);
    Set(kStickDown, y > kStickThreshold);
}

void PadKeys::ReleaseAll() {
    for (int s = 0; s < kSources; ++s) Set(static_cast<Source>(s), false);
}

// Each source holds its key once, so a stick wobbling around the threshold
// never leaves a key stuck or released twice.
void PadKeys::Set(Source source, bool down) {
    static constexpr std::array<int, kSources> keys{
        OE_KEY_UP,    OE_KEY_DOWN,  OE_KEY_LEFT,  OE_KEY_RIGHT, OE_KEY_PAD_A, OE_KEY_PAD_B,
        OE_KEY_PAD_START, OE_KEY_LEFT, OE_KEY_RIGHT, OE_KEY_UP, OE_KEY_DOWN};
    if (held_[source] == down) return;
    held_[source] = down;
    Input_Key(keys[source], down);
}

}  // namespace oe
