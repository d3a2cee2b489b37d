// What the headless windowing back end shows, watched by a test: the taking
// of the display, every frame presented and the giving back, counted and
// handed to the test's own functions. Installed for its lifetime.
#pragma once

#include "platform/portable/windowing/headless/headless.h"

#include <functional>

namespace testsupport {

class HeadlessScreen {
  public:
    HeadlessScreen();
    ~HeadlessScreen();
    HeadlessScreen(const HeadlessScreen &) = delete;
    HeadlessScreen &operator=(const HeadlessScreen &) = delete;

    // The last frame presented, as the back end keeps it.
    const portable::HeadlessFrame &Last() const { return portable::HeadlessLastFrame(); }

    std::function<void(HWND, int, int)> onEnter;
    std::function<void(HWND, const portable::ScreenFrame &)> onShow;
    // Each frame a flip made visible; `flips` already counts it.
    std::function<void(const portable::ScreenFrame &)> onFlip;
    std::function<void(HWND)> onLeave;

    HWND owner = nullptr; // the window that took the display
    int modeWidth = 0, modeHeight = 0;
    int enters = 0, shows = 0, flips = 0, leaves = 0;

  private:
    portable::HeadlessHooks previous_;
    unsigned lastFlips_ = 0;
};

// Writes "display given back" to stderr when the display is given back, so
// that a test of a process that ends can see the order of that and the
// message box (which, without a screen, writes its text to stderr).
class ReleaseMarker {
  public:
    ReleaseMarker();
    HeadlessScreen screen;
};

extern const char kReleaseMarkerLine[]; // "display given back\n"

} // namespace testsupport
