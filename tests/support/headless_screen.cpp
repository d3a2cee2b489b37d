#include "tests/support/headless_screen.h"

#include <cstdio>

namespace testsupport {

const char kReleaseMarkerLine[] = "display given back\n";

HeadlessScreen::HeadlessScreen() {
    portable::HeadlessHooks hooks;
    hooks.entered = [this](HWND window, int width, int height) {
        owner = window;
        modeWidth = width;
        modeHeight = height;
        ++enters;
        if (onEnter)
            onEnter(window, width, height);
    };
    hooks.presented = [this](HWND window, const portable::ScreenFrame &frame) {
        ++shows;
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
    };
    hooks.left = [this](HWND window) {
        ++leaves;
        lastFlips_ = 0; // a new primary starts its count again
        if (onLeave)
            onLeave(window);
    };
    previous_ = portable::SetHeadlessHooks(std::move(hooks));
}

HeadlessScreen::~HeadlessScreen() {
    portable::SetHeadlessHooks(std::move(previous_));
}

ReleaseMarker::ReleaseMarker() {
    screen.onLeave = [](HWND) {
        std::fputs(kReleaseMarkerLine, stderr);
        std::fflush(stderr);
    };
}

} // namespace testsupport
