// The display that DirectDraw's exclusive full-screen mode owns. DirectDraw
// takes it for a window, sets its mode, hands it every frame it shows, and
// gives it back; the windowing system (windowing.h) puts the frames on a
// screen.
#pragma once

#include "platform/portable/windowing/windowing.h"

namespace portable {

// Takes the display for a window; false when another window holds it.
bool ScreenAcquire(HWND window);
// The mode set while the display is held: width x height, 8 bits per pixel.
void ScreenSetMode(int width, int height);
// Shows a frame, when the display is held and a mode is set.
void ScreenShow(const ScreenFrame &frame);
// Gives the display back to the desktop.
void ScreenRelease();
// Whether a window holds the display: for the tests, in the build they link
// (ONDULIX_TEST_HOOKS).
bool ScreenHeld();

} // namespace portable
