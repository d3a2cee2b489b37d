// The display that DirectDraw's exclusive full-screen mode owns. DirectDraw
// takes it for a window, sets its mode, hands it every frame it shows, and
// gives it back; how the frame reaches a person's eyes (an SDL window, or
// nothing at all without a display) is the presenter's business.
#pragma once

#include "win_gdi.h"
#include "win_types.h"

namespace portable {

// One shown frame: 8-bit palette indices and the palette they index.
struct ScreenFrame {
    const BYTE *pixels;
    LONG pitch;
    int width;
    int height;
    const PALETTEENTRY *palette; // 256 entries
    unsigned flips;              // flips of the primary so far: frame N is the Nth flip
};

// Where shown frames go. The SDL presenter is one; tests and the frame
// renderer install their own.
class ScreenPresenter {
  public:
    virtual ~ScreenPresenter() = default;
    virtual void EnterExclusive(HWND window, int width, int height) = 0;
    virtual void Show(HWND window, const ScreenFrame &frame) = 0;
    virtual void LeaveExclusive(HWND window) = 0;
};

// Takes the display for a window; false when another window holds it.
bool ScreenAcquire(HWND window);
// The mode set while the display is held: width x height, 8 bits per pixel.
void ScreenSetMode(int width, int height);
// Shows a frame, when the display is held and a mode is set.
void ScreenShow(const ScreenFrame &frame);
// Gives the display back to the desktop.
void ScreenRelease();
bool ScreenHeld();
HWND ScreenOwner();

// Replaces the presenter (null: the window that holds the display shows the
// frames); returns the previous one.
ScreenPresenter *ScreenSetPresenter(ScreenPresenter *presenter);

} // namespace portable
