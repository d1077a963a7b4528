// focus.cpp: the focus ring, its keys, its history and its highlight.
#include "ui/focus.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "ui/display_widgets.h"
#include "ui/input_widgets.h"

namespace {

constexpr double kRepeatDelayMs = 400.0;   // a held arrow waits this long before it repeats
constexpr double kRepeatEveryMs = 110.0;   // and then repeats this often
constexpr int32_t kGlowColour = 0xFFD24A;  // the focus glow around a control
constexpr std::array<int, 6> kGlowAlpha{255, 255, 190, 110, 55, 20};   // from the control outwards
constexpr double kGlowPulseMs = 1200.0;    // one breath of the glow
constexpr int32_t kSelectionColour = 0x3C8CFF;   // an edit box's text that typing replaces
constexpr size_t kHistoryLimit = 32;

struct WindowKeys {
    int32_t window = -1;
    int32_t back = -1;
    OE_Procedure back_action = nullptr;
    int32_t confirm = -1;
};

// A screen left for another, with the control that was focused there.
struct Visit {
    int32_t window = -1;
    int32_t control = -1;
};

enum Direction { kUp, kDown, kLeft, kRight, kDirections };
constexpr std::array<int, kDirections> kDirectionKeys{OE_KEY_UP, OE_KEY_DOWN, OE_KEY_LEFT, OE_KEY_RIGHT};

struct Repeat {
    bool armed = false;   // pressed while this screen was up, so holding it repeats
    double next = 0.0;
};

enum class How { Mouse, Key, Appear };

struct FocusState {
    std::vector<WindowKeys> keys;
    std::vector<std::pair<int32_t, int32_t>> pairs;   // (prev, next)
    std::vector<Visit> history;   // the screens that led to the one on top, oldest first
    int32_t window = -1;          // the topmost visible window
    int32_t current = -1;         // the focused control
    int32_t selected_edit = -1;   // an edit box whose whole text the next typing replaces
    int mouse_x = 0;
    int mouse_y = 0;
    std::array<Repeat, kDirections> repeat{};
};

FocusState focus;

bool Valid(int32_t index) { return index >= 0 && static_cast<size_t>(index) < element_list.size(); }

template <class T>
T* As(int32_t index) {
    return Valid(index) ? dynamic_cast<T*>(element_list[index].get()) : nullptr;
}

bool TakesFocus(int32_t index) {
    return As<Ibutton>(index) || As<Icheckbox>(index) || As<Iedit>(index) || As<Ilist>(index);
}

int32_t TopWindow() {
    for (int32_t i = static_cast<int32_t>(element_list.size()) - 1; i >= 0; --i) {
        const ielement& e = *element_list[i];
        if (e.relative == 0 && e.visible == 1 && As<Iwindow>(i)) return i;
    }
    return -1;
}

std::vector<int32_t> Ring(int32_t window) {
    std::vector<int32_t> ring;
    if (window < 0) return ring;
    for (int32_t i = window + 1; Valid(i); ++i) {
        const ielement& e = *element_list[i];
        if (e.relative == 1 && e.parent == window && e.visible == 1 && TakesFocus(i)) ring.push_back(i);
    }
    return ring;
}

bool InRing(const std::vector<int32_t>& ring, int32_t index) {
    return std::find(ring.begin(), ring.end(), index) != ring.end();
}

struct Box {
    int32_t left, top, w, h;
};

Box BoxOf(int32_t index) {
    const ielement& e = Element_At(index);
    const ielement& parent = Element_At(e.parent);
    const bool relative = e.relative == 1;
    return {e.x + (relative ? parent.x : 0), e.y + (relative ? parent.y : 0), e.w, e.h};
}

// Sounds come from where the control is across the screen.
int PanOf(int32_t index) {
    const Box b = BoxOf(index);
    return b.left + b.w / 2 - 400;
}

const WindowKeys* KeysOf(int32_t window) {
    for (const WindowKeys& k : focus.keys)
        if (k.window == window) return &k;
    return nullptr;
}

WindowKeys& KeysFor(int32_t window) {
    for (WindowKeys& k : focus.keys)
        if (k.window == window) return k;
    focus.keys.push_back({window});
    return focus.keys.back();
}

void Unfocus(int32_t index) {
    if (Iedit* edit = As<Iedit>(index)) edit->focused = 0;
    if (focus.selected_edit == index) focus.selected_edit = -1;
}

// The mouse only points: an edit box it passes keeps or lacks its typing focus
// exactly as clicks left it. Keys hand an edit box the typing, with its whole
// text selected so that what is typed replaces a default such as "Player".
void SetFocus(int32_t index, How how) {
    if (how != How::Mouse && focus.current != index) Unfocus(focus.current);
    focus.current = index;
    if (how == How::Mouse || index < 0) return;
    if (Iedit* edit = As<Iedit>(index)) {
        edit->focused = 1;
        Key_BeginReadText("");
        focus.selected_edit = index;
    }
    if (how == How::Key) Snd_Play(gui.hover_sound, PanOf(index), 0, 0, false);
}

// A new window on top: back to a screen on the way here focuses the control
// that led on from it; any other screen starts at its first control.
void ChangeScreen(int32_t window) {
    Unfocus(focus.current);
    int32_t restore = -1;
    const auto seen = std::find_if(focus.history.begin(), focus.history.end(),
                                   [&](const Visit& v) { return v.window == window; });
    if (window >= 0 && seen != focus.history.end()) {
        restore = seen->control;
        focus.history.erase(seen, focus.history.end());
    } else if (focus.window >= 0) {
        if (focus.history.size() == kHistoryLimit) focus.history.erase(focus.history.begin());
        focus.history.push_back({focus.window, focus.current});
    }
    focus.window = window;
    focus.current = -1;
    focus.repeat = {};
    // Only a move after the screen appeared points at a control.
    focus.mouse_x = Mouse_X();
    focus.mouse_y = Mouse_Y();
    const std::vector<int32_t> ring = Ring(window);
    if (InRing(ring, restore))
        SetFocus(restore, How::Appear);
    else if (!ring.empty())
        SetFocus(ring.front(), How::Appear);
}

// Follows the windows the last pass or action showed and hid, and a focused
// control that went away.
void Sync() {
    const int32_t window = TopWindow();
    if (window != focus.window) {
        ChangeScreen(window);
        return;
    }
    const std::vector<int32_t> ring = Ring(window);
    if (!InRing(ring, focus.current)) SetFocus(ring.empty() ? -1 : ring.front(), How::Appear);
}

void FollowMouse() {
    if (Mouse_Click(OE_MOUSE_LEFT)) focus.selected_edit = -1;
    if (Mouse_X() == focus.mouse_x && Mouse_Y() == focus.mouse_y) return;
    focus.mouse_x = Mouse_X();
    focus.mouse_y = Mouse_Y();
    for (int32_t index : Ring(focus.window)) {
        const Box b = BoxOf(index);
        if (Gui_MouseIn(b.left, b.top, b.w, b.h)) {
            SetFocus(index, How::Mouse);
            return;
        }
    }
}

// The first typing replaces a selected text; Backspace empties it. Runs before
// the edit box's own Frame appends what was typed.
void ReplaceSelection() {
    Iedit* edit = As<Iedit>(focus.selected_edit);
    if (!edit || edit->focused == 0) {
        focus.selected_edit = -1;
        return;
    }
    if (Key_EndReadText().empty() && !Key_Press(OE_KEY_BACKSPACE)) return;
    edit->caption.clear();
    focus.selected_edit = -1;
}

// A press of `key` this frame, used up so that no tick reads it again.
bool Take(int key) {
    if (!Key_Press(key)) return false;
    Key_Consume(key);
    return true;
}

// A new press of the arrow, or its repeat while held.
bool Fires(Direction d) {
    Repeat& r = focus.repeat[d];
    const int key = kDirectionKeys[d];
    const double now = U_GetTime();
    if (Take(key)) {
        r = {true, now + kRepeatDelayMs};
        return true;
    }
    if (!Key_Down(key)) r.armed = false;
    if (!r.armed || now < r.next) return false;
    r.next = now + kRepeatEveryMs;
    return true;
}

void Activate(int32_t index) {
    if (!Valid(index)) return;
    focus.selected_edit = -1;
    element_list[index]->Activate(PanOf(index));
}

void Move(const std::vector<int32_t>& ring, int step) {
    const auto at = std::find(ring.begin(), ring.end(), focus.current);
    const int32_t n = static_cast<int32_t>(ring.size());
    const int32_t from = at == ring.end() ? (step > 0 ? -1 : 0) : static_cast<int32_t>(at - ring.begin());
    SetFocus(ring[((from + step) % n + n) % n], How::Key);
}

// The edit box that takes typing: the focused control, or one a click left typing.
int32_t TypingEdit(const std::vector<int32_t>& ring) {
    for (int32_t index : ring) {
        const Iedit* edit = As<Iedit>(index);
        if (edit && edit->focused == 1 && (index == focus.current || !As<Iedit>(focus.current))) return index;
    }
    return -1;
}

// The window's control named for a key, when it is shown.
int32_t Shown(int32_t index, const std::vector<int32_t>& ring) { return InRing(ring, index) ? index : -1; }

// Enter from an edit box moves on to the next button and activates it.
void SubmitEdit(const std::vector<int32_t>& ring, int32_t edit) {
    const auto after = std::find(ring.begin(), ring.end(), edit);
    const auto button = std::find_if(after, ring.end(), [](int32_t i) { return As<Ibutton>(i) != nullptr; });
    if (button == ring.end()) {
        Move(ring, +1);
        return;
    }
    SetFocus(*button, How::Appear);
    Activate(*button);
}

void Confirm(const std::vector<int32_t>& ring, const WindowKeys* keys) {
    const int32_t confirm = keys ? Shown(keys->confirm, ring) : -1;
    if (confirm < 0) {
        Move(ring, +1);
        return;
    }
    SetFocus(confirm, How::Appear);
    Activate(confirm);
}

void Back(const std::vector<int32_t>& ring, const WindowKeys* keys) {
    if (!keys) return;
    if (const int32_t back = Shown(keys->back, ring); back >= 0) {
        SetFocus(back, How::Appear);
        Activate(back);
    } else if (keys->back_action) {
        keys->back_action();
    }
}

const std::pair<int32_t, int32_t>* PairOf(int32_t index) {
    for (const auto& p : focus.pairs)
        if (p.first == index || p.second == index) return &p;
    return nullptr;
}

void Steer(const std::vector<int32_t>& ring, Direction d) {
    const bool back = d == kUp || d == kLeft;
    if (Ilist* list = As<Ilist>(focus.current); list && (d == kUp || d == kDown)) {
        // As the list's own scroll squares turn it.
        FList_Rotate(list->items, d == kUp ? +1 : -1);
        return;
    }
    if (const auto* pair = PairOf(focus.current); pair && (d == kLeft || d == kRight)) {
        Activate(back ? pair->first : pair->second);
        return;
    }
    Move(ring, back ? -1 : +1);
}

// At most one key acts per frame: the first that does may change the screen.
void HandleKeys() {
    const std::vector<int32_t> ring = Ring(focus.window);
    if (ring.empty()) return;
    const WindowKeys* keys = KeysOf(focus.window);
    const int32_t typing = TypingEdit(ring);
    if (Take(OE_KEY_ESCAPE) || Take(OE_KEY_PAD_B)) return Back(ring, keys);
    if (Take(OE_KEY_PAD_START)) {
        if (keys && Shown(keys->confirm, ring) >= 0) return Confirm(ring, keys);
        return Activate(focus.current);
    }
    // Space is text while an edit box takes typing.
    if (Take(OE_KEY_ENTER) || Take(OE_KEY_PAD_A) || (typing < 0 && Take(OE_KEY_SPACE))) {
        if (typing >= 0) return SubmitEdit(ring, typing);
        if (As<Ilist>(focus.current)) return Confirm(ring, keys);
        return Activate(focus.current);
    }
    if (Take(OE_KEY_TAB)) return Move(ring, Key_Down(OE_KEY_SHIFT) ? -1 : +1);
    for (int d = 0; d < kDirections; ++d)
        if (Fires(static_cast<Direction>(d))) return Steer(ring, static_cast<Direction>(d));
}

// Four thin strips: an outline that keeps its width whatever the engine's line width.
void Outline(int32_t left, int32_t top, int32_t w, int32_t h, int alpha) {
    Pr2D_Rect(left, top, w, 1, kGlowColour, alpha, OE_PR2D_FILL);
    Pr2D_Rect(left, top + h - 1, w, 1, kGlowColour, alpha, OE_PR2D_FILL);
    Pr2D_Rect(left, top + 1, 1, h - 2, kGlowColour, alpha, OE_PR2D_FILL);
    Pr2D_Rect(left + w - 1, top + 1, 1, h - 2, kGlowColour, alpha, OE_PR2D_FILL);
}

void DrawHighlight() {
    if (!Valid(focus.current)) return;
    const Box b = BoxOf(focus.current);
    // The glow breathes gently, from three quarters to full strength.
    const double phase = std::fmod(U_GetTime(), kGlowPulseMs) / kGlowPulseMs;
    const double strength = 0.875 + 0.125 * std::cos(phase * 2.0 * 3.14159265358979);
    for (int i = 0; i < static_cast<int>(kGlowAlpha.size()); ++i)
        Outline(b.left - 1 - i, b.top - 1 - i, b.w + 2 + 2 * i, b.h + 2 + 2 * i,
                static_cast<int>(kGlowAlpha[i] * strength));
    if (focus.selected_edit == focus.current) {
        const ielement& edit = Element_At(focus.current);
        const int32_t width = Text_GetWidth(gui.font, edit.caption, 1.0f, 0.0f);
        if (width > 0)
            Pr2D_Rect(b.left + b.w / 2 - width / 2 - 2, b.top + 15, width + 4, 28, kSelectionColour, 110,
                      OE_PR2D_FILL);
    }
}

}  // namespace

void Focus_Reset() { focus = FocusState{}; }

void Focus_SetBack(int32_t window, int32_t control) { KeysFor(window).back = control; }

void Focus_SetBackAction(int32_t window, OE_Procedure procedure) { KeysFor(window).back_action = procedure; }

void Focus_SetConfirm(int32_t window, int32_t control) { KeysFor(window).confirm = control; }

void Focus_AddPair(int32_t prev, int32_t next) { focus.pairs.emplace_back(prev, next); }

void Focus_InterfacePass() {
    Sync();
    FollowMouse();
    ReplaceSelection();
    Gui_UpdateAll();
    Sync();
    HandleKeys();
    Sync();
    DrawHighlight();
}

int32_t Focus_Current() { return focus.current; }
