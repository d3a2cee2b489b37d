// A display presenter that hands what reaches the screen to the test's own
// functions: the taking of the display, every frame shown, and the giving
// back. Installed for its lifetime.
#pragma once

#include "platform/portable/ddraw_display.h"

#include <functional>

namespace testsupport {

class CallbackPresenter final : public portable::ScreenPresenter {
  public:
    CallbackPresenter() { previous_ = portable::ScreenSetPresenter(this); }
    ~CallbackPresenter() override { portable::ScreenSetPresenter(previous_); }
    CallbackPresenter(const CallbackPresenter &) = delete;
    CallbackPresenter &operator=(const CallbackPresenter &) = delete;

    void EnterExclusive(HWND window, int width, int height) override {
        if (onEnter)
            onEnter(window, width, height);
    }
    void Show(HWND window, const portable::ScreenFrame &frame) override {
        // Palette changes show the same frame again; a flip moves the
        // primary's count on.
        if (frame.flips != lastFlips_) {
            lastFlips_ = frame.flips;
            ++flips;
            if (onFlip)
                onFlip(frame);
        }
        if (onShow)
            onShow(window, frame);
    }
    void LeaveExclusive(HWND window) override {
        lastFlips_ = 0; // a new primary starts its count again
        if (onLeave)
            onLeave(window);
    }

    std::function<void(HWND, int, int)> onEnter;
    std::function<void(HWND, const portable::ScreenFrame &)> onShow;
    // Each frame a flip made visible; `flips` already counts it.
    std::function<void(const portable::ScreenFrame &)> onFlip;
    std::function<void(HWND)> onLeave;
    int flips = 0;

  private:
    portable::ScreenPresenter *previous_ = nullptr;
    unsigned lastFlips_ = 0;
};

// Writes "display given back" to stderr when the display is given back, so
// that a test of a process that ends can see the order of that and the
// message box (which, without a display, writes its text to stderr).
class ReleaseMarker {
  public:
    ReleaseMarker();
    CallbackPresenter presenter;
};

extern const char kReleaseMarkerLine[]; // "display given back\n"

} // namespace testsupport
