// editor.h: the map editor: placing, painting and deleting objects with the
// mouse, recording waypoints, mirroring and edge scrolling, all on the map.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The colour text of "edt_col": decimal, or hexadecimal after "$" (up to eight
// digits, taken as the 32-bit pattern). Nothing when the text is not such an integer.
std::optional<int32_t> Editor_ParseColour(std::string_view text);

// With Shift held: button 1 places the selected item on the 8 px grid (or adds
// a waypoint at the exact point while "Way" is ticked), button 0 deletes under
// the mouse, holding button 2 paints on the 32 px grid. Runs first in the tick.
void Editor_Input();

// Pushing the mouse within 10 px of a screen edge moves the camera 16 px that way.
void Editor_Scroll();

// Removes the first object, in map order, whose pick circle (radius a third of
// its texture's width) holds the world point; true when one went.
bool Editor_DeleteAt(int32_t x, int32_t y);

// The map's sizes, corner light and static shadows again, after it changed.
void Editor_Refresh();

// One tick of the editor state: input, particles, draw list, scrolling, F5 mirror.
void Editor_Tick();
