#include "tests/support/program_state.h"

#include "app/app.h"
#include "display/display.h"
#include "platform/portable/winmm/winmm_clock.h"
#include "platform/portable/ddraw/ddraw_faults.h"

#include <cstring>

namespace testsupport {

void ResetProgramState() {
    ReleaseDirectDraw();
    portable::ClearDirectDrawFaults();
    portable::SetClockSource(nullptr, nullptr);
    std::memset(g_PalEntries, 0, sizeof(PALETTEENTRY) * 256);
    std::memset(g_MsgBuf, 0, sizeof(g_MsgBuf));
    g_hWnd = nullptr;
}

ProgramStateTest::ProgramStateTest() {
    ResetProgramState();
}

void ProgramStateTest::TearDown() {
    ResetProgramState();
    DrainMessageQueue();
}

void DrainMessageQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

MainWindow::MainWindow() {
    // Not "dd": that name is WinMain's to register, in the processes that
    // run it.
    static const ATOM kClass = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WndProc;
        wc.lpszClassName = "ondulix-main-test";
        return RegisterClassA(&wc);
    }();
    (void)kClass;
    hwnd_ = CreateWindowExA(WS_EX_APPWINDOW, "ondulix-main-test", "Ondulix", WS_POPUPWINDOW, 0, 0,
                            640, 480, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(hwnd_, nullptr);
    g_hWnd = hwnd_;
}

MainWindow::~MainWindow() {
    if (g_hWnd == hwnd_)
        g_hWnd = nullptr;
    DestroyWindow(hwnd_);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

} // namespace testsupport
