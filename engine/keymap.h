// keymap.h: SDL key codes onto the Windows virtual-key codes the game uses.
#pragma once

#include <SDL.h>

namespace oe {

// The virtual-key code of an SDL key, or -1 for keys the game has no code for.
int VirtualKeyFromSdl(SDL_Keycode key);

}  // namespace oe
