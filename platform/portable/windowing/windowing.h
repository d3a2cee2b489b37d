// The windowing system beneath the portable USER, GDI and DirectDraw: the
// one way they reach a screen, a keyboard, a pointer and a person. USER's
// windows are named by their HWND; each back end keeps its own window for
// each of them. Back ends: SDL2 (sdl_*), headless (headless_*) and, in the
// browser build, a canvas (canvas_*). Input comes back through user_input.h.
#pragma once

#include "platform/portable/include/win_gdi.h"
#include "platform/portable/include/win_types.h"

#include <cstdint>

namespace portable {

// A wait's deadline that never comes.
constexpr uint64_t kNoDeadline = UINT64_MAX;

// One shown frame: 8-bit palette indices and the palette they index.
struct ScreenFrame {
    const BYTE *pixels;
    LONG pitch;
    int width;
    int height;
    const PALETTEENTRY *palette; // 256 entries
    unsigned flips;              // flips of the primary so far: frame N is the Nth flip
};

class WindowingSystem {
  public:
    virtual ~WindowingSystem() = default;

    // Whether windows can be made at all; false (said once on stderr) when
    // no display answers.
    virtual bool Available() = 0;
    // Makes the window of `hwnd`, hidden, width x height; false when it cannot.
    virtual bool Create(HWND hwnd, const char *title, int width, int height) = 0;
    // Ends the window of `hwnd`, if it has one.
    virtual void Destroy(HWND hwnd) = 0;
    // Shows or hides it.
    virtual void Show(HWND hwnd, bool show) = 0;
    // Paints it one colour, its background, whenever it is not showing frames.
    virtual void Fill(HWND hwnd, COLORREF colour) = 0;
    // Shows or hides the pointer while it is over our windows.
    virtual void ShowCursor(bool show) = 0;
    // The window becomes the display for width x height 8-bit frames: full
    // screen, or a window when the user asked for one.
    virtual void EnterExclusive(HWND hwnd, int width, int height) = 0;
    // Shows a frame on the window holding the display, in its palette's colours.
    virtual void Present(HWND hwnd, const ScreenFrame &frame) = 0;
    // The window is a plain window again, showing its background.
    virtual void LeaveExclusive(HWND hwnd) = 0;
    // Full screen to a window and back (Alt+Enter), while it holds the display.
    virtual void ToggleFullscreen(HWND hwnd) = 0;
    // Shows again what the window showed last, after the screen lost it.
    virtual void Repaint(HWND hwnd) = 0;
    // Moves what the windowing system has for us into USER's queue; never blocks.
    virtual void PumpEvents() = 0;
    // Waits until the windowing system has something for us, a close signal
    // comes (user_close_signals.h) or MonotonicNanoseconds() (winmm_clock.h)
    // reaches `deadlineNs` (kNoDeadline: never), whichever comes first;
    // called right after PumpEvents. False when it ended with nothing new
    // for PumpEvents to take.
    virtual bool WaitEvents(uint64_t deadlineNs) = 0;
    // A modal box with an OK button, owned by `owner`, in UTF-8; returns when
    // it is dismissed, false at once when it cannot be shown.
    virtual bool ShowMessageBox(HWND owner, const char *caption, const char *text) = 0;
};

// The back end of this process: the one named by ONDULIX_BACKEND ("sdl", the
// default, or "headless"), unless the program chose one with UseWindowing;
// in the browser build always the canvas.
WindowingSystem &Windowing();
// Chooses the back end by name before any window exists; false for a name
// that is none.
bool UseWindowing(const char *name);

} // namespace portable
