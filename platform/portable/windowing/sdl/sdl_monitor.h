// Where the SDL windows go: the monitor the user chose, a window centred on
// it, or the whole of it for full screen done by hand.
#pragma once

#include <SDL.h>

namespace portable {

// The monitor (SDL's display index) that windows open on and full screen
// fills: ONDULIX_DISPLAY's, counted from 0 in the order of `xrandr
// --listmonitors` (the primary first); else 0. A value that names no monitor
// is said once on stderr and 0 is used.
int ChosenMonitor();

// Resizes the window, unless it already has that size.
void ResizeTo(SDL_Window *window, int width, int height);
// Centres the window on the chosen monitor's usable area; one larger than
// that area keeps its top-left corner on it.
void CentreOnMonitor(SDL_Window *window);
// Makes the window the chosen monitor's size, at its top-left corner: full
// screen where no window manager does it for us.
void CoverMonitor(SDL_Window *window);

} // namespace portable
