// Runs the demo itself, WinMain and all, in a forked child process in a
// directory of the test's choosing, on the headless windowing back end, so
// that the test can act on every frame the demo shows.
#pragma once

#include "platform/platform.h"
#include "platform/portable/windowing/windowing.h"
#include "tests/support/child_process.h"
#include "tests/support/exit_report.h"

#include <functional>
#include <string>

namespace testsupport {

struct DemoReport {
    ExitReport exit;
    bool displayTaken = false; // the display mode was set
    int modeWidth = 0, modeHeight = 0;
    int flips = 0; // frames shown by a flip
    int flipsWhenGivenBack = -1;
    unsigned timerPeriodsAtFlip = 0; // timeBeginPeriod requests in force at the last flip
};

struct DemoRun {
    // The directory the demo runs in, where it looks for "earth.bmp".
    std::string directory;
    HINSTANCE previousInstance = nullptr;
    // In the child, just before WinMain.
    std::function<void()> beforeStart;
    // In the child, for each frame a flip shows (the first is 1), from
    // inside the flip: what it posts is handled in the pump that follows.
    std::function<void(int flip, const portable::ScreenFrame &frame)> onFlip;
    // A run still going after this many frames is ended with WM_QUIT, so
    // that a demo that does not end when it should fails the test's checks
    // instead of hanging it.
    int frameLimit = 300;
    int timeoutMs = 20000;
};

// Runs WinMain(instance, previous instance, "", SW_SHOWDEFAULT) and exits
// with its result if it returns. The display is given back with the line
// kReleaseMarkerLine on stderr, before any message box.
ChildOutcome RunDemoInChild(const DemoRun &run, DemoReport *report);

// Posts a message to the demo's main window (g_hWnd).
void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam);

} // namespace testsupport
