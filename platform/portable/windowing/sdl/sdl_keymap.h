// SDL's keys as Windows virtual-key codes.
#pragma once

#include "platform/portable/include/win_user.h"

#include <SDL.h>

namespace portable {

// The virtual-key code of a key; a key Windows has no code for is 0xFF, so
// that every key still arrives as a key message.
WPARAM VirtualKeyFor(SDL_Keycode sym, SDL_Scancode scancode);
// Keys that Windows marks as extended (bit 24 of the key message's lParam).
bool IsExtendedKey(SDL_Scancode scancode);

} // namespace portable
