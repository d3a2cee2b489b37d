// The demo's globals as they are when the program starts (no display
// objects, an all-zero palette table, no main window), restored around each
// test that runs the demo's functions in the test process, so that tests do
// not see each other's display, injected faults or palette.
#pragma once

#include "platform/platform.h"

#include <gtest/gtest.h>

namespace testsupport {

class ProgramStateTest : public ::testing::Test {
  protected:
    // Before the fixture's own members exist, so that a main window made by
    // one of them stays the main window.
    ProgramStateTest();
    // While the fixture's members still exist: the display is given back
    // while whatever watches the screen still does.
    void TearDown() override;
};

// Puts the globals back to their state at program start.
void ResetProgramState();

// A top-level window whose procedure is the demo's WndProc, made the main
// window (g_hWnd) for its lifetime. Its destruction posts WM_QUIT, as the
// demo's procedure does on WM_DESTROY; the destructor takes that back out of
// the queue.
class MainWindow {
  public:
    MainWindow();
    ~MainWindow();
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;
    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

// Takes every message, WM_QUIT included, out of the thread's queue without
// dispatching it.
void DrainMessageQueue();

} // namespace testsupport
