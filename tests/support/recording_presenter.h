// A display presenter that keeps what the portable display was asked to
// show, for tests that check the screen without a real one.
#pragma once

#include "platform/portable/ddraw_display.h"

#include <vector>

namespace testsupport {

class RecordingPresenter final : public portable::ScreenPresenter {
  public:
    RecordingPresenter() { previous_ = portable::ScreenSetPresenter(this); }
    ~RecordingPresenter() override { portable::ScreenSetPresenter(previous_); }

    void EnterExclusive(HWND window, int width, int height) override {
        owner = window;
        modeWidth = width;
        modeHeight = height;
        ++enters;
    }
    void Show(HWND, const portable::ScreenFrame &frame) override {
        ++shows;
        lastPixel = frame.pixels[0];
        lastPalette.assign(frame.palette, frame.palette + 256);
        if (onShow)
            onShow(frame);
    }
    void LeaveExclusive(HWND) override { ++leaves; }

    HWND owner = nullptr;
    int modeWidth = 0, modeHeight = 0;
    int enters = 0, shows = 0, leaves = 0;
    uint8_t lastPixel = 0;
    std::vector<PALETTEENTRY> lastPalette;
    void (*onShow)(const portable::ScreenFrame &) = nullptr;

  private:
    portable::ScreenPresenter *previous_ = nullptr;
};

} // namespace testsupport
