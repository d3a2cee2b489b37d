// The windowing system beneath USER's windows. With a display, each window
// is an SDL window; without one (no display, or SDL cannot start) windows
// exist only in USER's tables and nothing is drawn.
#pragma once

#include "ddraw_display.h"
#include "win_types.h"

#include <cstdint>

namespace portable {

struct NativeWindow;

// Starts SDL's video once; false when there is no display to use.
bool NativeVideoAvailable();

NativeWindow *NativeWindowCreate(HWND owner, const char *title, int width, int height);
void NativeWindowDestroy(NativeWindow *window);
void NativeWindowShow(NativeWindow *window, bool show);
// Paints the whole window one colour (the class background).
void NativeWindowFill(NativeWindow *window, COLORREF colour);
void NativeWindowShowCursor(bool show);
// The windowing system's identifier of the window.
uint32_t NativeWindowId(NativeWindow *window);

// The exclusive display on a window: full screen (or windowed, when the user
// asked for it) with a width x height 8-bit picture scaled to fit.
void NativeWindowEnterExclusive(NativeWindow *window, int width, int height);
void NativeWindowPresent(NativeWindow *window, const ScreenFrame &frame);
void NativeWindowLeaveExclusive(NativeWindow *window);

// Alt+Enter: between full screen and a window, while the display is held.
void NativeToggleFullscreen(NativeWindow *window);
// Shows the last frame again after the windowing system lost it.
void NativeWindowRepaint(NativeWindow *window);

// Moves what the windowing system has for us into the thread's message
// queue (key presses, close requests, the pointer); never blocks.
void NativePumpEvents();
// Waits up to the given milliseconds for the windowing system to have
// something for us.
void NativeWaitEvents(int milliseconds);

} // namespace portable
