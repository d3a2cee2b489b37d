// The page's keys as Windows virtual-key codes, for the canvas back end.
#pragma once

#include "platform/portable/include/win_user.h"

namespace portable {

// The virtual-key code of a key named by its KeyboardEvent.code (the key's
// place on the keyboard, "KeyA", "Digit1", "ArrowLeft"); a key Windows has
// no code for, or no name at all, is 0xFF, so that every key still arrives
// as a key message.
WPARAM VirtualKeyForCode(const char *code);
// Keys that Windows marks as extended (bit 24 of the key message's lParam).
bool IsExtendedCode(const char *code);

} // namespace portable
