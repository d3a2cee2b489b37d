// For the tests of the SDL back end: the SDL window behind a USER window.
#pragma once

#include "platform/portable/windowing/windowing.h"

#include <SDL.h>

namespace testsupport {

// Null when SDL has no window for it (or no video at all).
inline SDL_Window *SdlWindowOf(HWND hwnd) {
    if (!portable::Windowing().Available())
        return nullptr;
    for (Uint32 id = 1; id < 1024; ++id) {
        SDL_Window *window = SDL_GetWindowFromID(id);
        if (window != nullptr && SDL_GetWindowData(window, "hwnd") == hwnd)
            return window;
    }
    return nullptr;
}

} // namespace testsupport
