// input.h: keyboard, mouse and typed text as the engine's loop sees them.
//
// Backends feed events in; the game reads them through the Key_* and Mouse_*
// calls of oe.h. Every press, click, release and double click is latched twice,
// once for the tick and once for the frame, and each side clears only its own
// latch after it ran: an edge is seen exactly once by the 30 ms tick and exactly
// once by the frame, however the two interleave. A key or button that went down
// and up again before a side saw it still reads as held on that side once, so a
// quick tap is never lost to a Key_Down check either.
#pragma once

#include <string>

namespace oe {

enum class InputReader { Tick = 0, Frame = 1 };

// Events from a backend (codes are Windows virtual-key codes; buttons 0..2).
void Input_Key(int key, bool down);
void Input_MouseMove(int x, int y);
void Input_MouseButton(int button, bool down, bool double_click);
void Input_Text(const std::string& utf8);
void Input_ReleaseAll();                 // focus lost: every held key and button goes up
// Whether any event came in since the last call: the loop draws a frame for it.
bool Input_TakeArrived();

// The loop says who reads and when a reader has had its turn.
void Input_SetReader(InputReader reader);
void Input_EndTurn(InputReader reader);  // clears that reader's latches
void Input_Reset();                      // everything up, latches and text empty

}  // namespace oe
