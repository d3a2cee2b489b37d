// What only the X server can tell about an SDL window's desktop. On other
// video drivers each answers as a desktop that needs nothing from us would.
#pragma once

#include <SDL.h>

namespace portable {

// The X resources of the window's display (Xft.dpi among them), or null.
const char *DesktopResources(SDL_Window *window);

// Whether a window manager runs on the window's screen that carries out
// full-screen requests (_NET_WM_STATE_FULLSCREEN). Where none does (a kiosk
// started with xinit, a bare Xvfb) SDL's request changes nothing on the
// screen, while SDL draws for the whole monitor.
bool FullScreenByWindowManager(SDL_Window *window);

} // namespace portable
