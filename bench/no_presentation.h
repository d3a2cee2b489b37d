// On the portable platform, flips that reach no screen: while one of these
// lives, the display shows its frames to a presenter that does nothing, so a
// benchmark times the drawing alone. Windows' DirectDraw has no such switch:
// there every flip presents.
#pragma once

#ifdef _WIN32

class NoPresentation {
  public:
    NoPresentation() {} // nothing to switch off
};

#else

#include "platform/portable/ddraw_display.h"

class NoPresentation final : public portable::ScreenPresenter {
  public:
    NoPresentation() : previous_(portable::ScreenSetPresenter(this)) {}
    ~NoPresentation() override { portable::ScreenSetPresenter(previous_); }
    NoPresentation(const NoPresentation &) = delete;
    NoPresentation &operator=(const NoPresentation &) = delete;

    void EnterExclusive(HWND, int, int) override {}
    void Show(HWND, const portable::ScreenFrame &) override {}
    void LeaveExclusive(HWND) override {}

  private:
    portable::ScreenPresenter *previous_;
};

#endif
