#include "engine/input.h"

#include <array>
#include <utility>

#include "engine/oe.h"

namespace oe {

namespace {

constexpr int kKeys = 256;
constexpr int kButtons = 3;
constexpr int kReaders = 2;

// Edges waiting to be seen by one reader.
struct Latch {
    std::array<bool, kKeys> key_pressed{};
    std::array<bool, kButtons> clicked{};
    std::array<bool, kButtons> released{};
    std::array<bool, kButtons> double_clicked{};
};

struct InputState {
    // Held counts: two devices (keyboard and game pad) may hold the same code.
    std::array<int, kKeys> key_held{};
    std::array<bool, kButtons> button_held{};
    std::array<Latch, kReaders> latch{};
    // Until the first motion the pointer is taken to be in the middle of the
    // 800x600 screen, not at its corner, where the editor would start scrolling.
    int mouse_x = 400;
    int mouse_y = 300;
    std::string text;
    InputReader reader = InputReader::Frame;
    bool arrived = false;   // an event since the loop last asked
};

InputState state;

bool ValidKey(int key) { return key >= 0 && key < kKeys; }
bool ValidButton(int button) { return button >= 0 && button < kButtons; }
Latch& Current() { return state.latch[static_cast<int>(state.reader)]; }

}  // namespace

void Input_Key(int key, bool down) {
    if (!ValidKey(key)) return;
    state.arrived = true;
    int& held = state.key_held[key];
    if (down) {
        if (held == 0)
            for (Latch& l : state.latch) l.key_pressed[key] = true;
        ++held;
    } else if (held > 0) {
        --held;
    }
}

void Input_MouseMove(int x, int y) {
    state.mouse_x = x;
    state.mouse_y = y;
    state.arrived = true;
}

void Input_MouseButton(int button, bool down, bool double_click) {
    if (!ValidButton(button)) return;
    if (down == state.button_held[button]) return;
    state.arrived = true;
    state.button_held[button] = down;
    for (Latch& l : state.latch) {
        if (down) {
            l.clicked[button] = true;
            if (double_click) l.double_clicked[button] = true;
        } else {
            l.released[button] = true;
        }
    }
}

void Input_Text(const std::string& utf8) {
    state.text += utf8;
    state.arrived = true;
}

void Input_ReleaseAll() {
    state.arrived = true;
    for (int k = 0; k < kKeys; ++k) state.key_held[k] = 0;
    for (int b = 0; b < kButtons; ++b)
        if (state.button_held[b]) Input_MouseButton(b, false, false);
}

void Input_SetReader(InputReader reader) { state.reader = reader; }

void Input_EndTurn(InputReader reader) { state.latch[static_cast<int>(reader)] = Latch{}; }

void Input_Reset() { state = InputState{}; }

bool Input_TakeArrived() { return std::exchange(state.arrived, false); }

}  // namespace oe

using oe::state;

bool Key_Down(int key) {
    if (!oe::ValidKey(key)) return false;
    return state.key_held[key] > 0 || oe::Current().key_pressed[key];
}

bool Key_Press(int key) { return oe::ValidKey(key) && oe::Current().key_pressed[key]; }

void Key_Consume(int key) {
    if (!oe::ValidKey(key)) return;
    for (oe::Latch& l : state.latch) l.key_pressed[key] = false;
}

void Key_BeginReadText(const std::string& text) { state.text = text; }

std::string Key_EndReadText() { return state.text; }

int Mouse_X() { return state.mouse_x; }

int Mouse_Y() { return state.mouse_y; }

bool Mouse_Down(int button) {
    if (!oe::ValidButton(button)) return false;
    return state.button_held[button] || oe::Current().clicked[button];
}

bool Mouse_Click(int button) { return oe::ValidButton(button) && oe::Current().clicked[button]; }

bool Mouse_Press(int button) { return oe::ValidButton(button) && oe::Current().released[button]; }

bool Mouse_DblClick(int button) {
    return oe::ValidButton(button) && oe::Current().double_clicked[button];
}
