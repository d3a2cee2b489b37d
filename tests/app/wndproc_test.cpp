// The main window's procedure: the four messages it handles itself, and the
// default handling of everything else, which turns Alt+F4 into the end.
#include "app/app.h"
#include "display/display.h"
#include "tests/support/headless_screen.h"
#include "tests/support/case_names.h"
#include "tests/support/child_process.h"
#include "tests/support/exit_report.h"
#include "tests/support/program_state.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using testsupport::ChildOutcome;

class WindowProcedure : public testsupport::ProgramStateTest {
  protected:
    testsupport::MainWindow window;
};

TEST_F(WindowProcedure, DestroyPostsQuitAndReturnsOne) {
    MSG msg;
    ASSERT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    EXPECT_EQ(WndProc(window.hwnd(), WM_DESTROY, 0, 0), 1);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);            // PostQuitMessage(0)
    EXPECT_TRUE(IsWindow(window.hwnd())); // the procedure destroys nothing itself
}

TEST_F(WindowProcedure, SetCursorHidesTheCursorAndReturnsOne) {
    const HCURSOR someCursor = reinterpret_cast<HCURSOR>(0x1234);
    SetCursor(someCursor);
    EXPECT_EQ(WndProc(window.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.hwnd()),
                      MAKELONG(HTCLIENT, WM_MOUSEMOVE)),
              1);
    // SetCursor answers with the cursor it replaces: none.
    EXPECT_EQ(SetCursor(nullptr), nullptr);
}

struct DefaultCase {
    const char *name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::ostream &operator<<(std::ostream &os, const DefaultCase &c) {
    return os << c.name;
}

const LPARAM kAltHeld = LPARAM{1} << 29;

// Messages the procedure leaves alone; the first two have a default result
// other than 0, so a procedure that answered them itself would show.
const DefaultCase kDefaultCases[] = {
    {"non-client creation", WM_NCCREATE, 0, 0},
    {"background erase", WM_ERASEBKGND, 0, 0},
    {"typed character", WM_CHAR, 'a', 1},
    {"key released", WM_KEYUP, VK_SPACE, 1 | (LPARAM{3} << 30)},
    {"Alt pressed alone", WM_SYSKEYDOWN, VK_MENU, 1 | kAltHeld},
    {"F10", WM_SYSKEYDOWN, VK_F10, 1},
    {"Alt+Enter", WM_SYSKEYDOWN, VK_RETURN, 1 | kAltHeld},
    {"F4 without Alt as a system key", WM_SYSKEYDOWN, VK_F4, 1},
    {"pointer moved", WM_MOUSEMOVE, 0, MAKELONG(10, 20)},
};

class WindowProcedureDefault : public WindowProcedure,
                               public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(WindowProcedureDefault, AnswersWithTheDefaultResultAndCarriesOn) {
    const DefaultCase c = GetParam();
    const LRESULT expected = DefWindowProcA(window.hwnd(), c.message, c.wParam, c.lParam);
    EXPECT_EQ(WndProc(window.hwnd(), c.message, c.wParam, c.lParam), expected);
    EXPECT_TRUE(IsWindow(window.hwnd()));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

INSTANTIATE_TEST_SUITE_P(OtherMessages, WindowProcedureDefault, ::testing::ValuesIn(kDefaultCases),
                         testsupport::NameField());

TEST_F(WindowProcedure, LeavesPaintingToTheDefault) {
    ShowWindow(window.hwnd(), SW_SHOW);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window.hwnd(), WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_EQ(WndProc(window.hwnd(), WM_PAINT, 0, 0), 0);
    EXPECT_FALSE(PeekMessageA(&msg, window.hwnd(), WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

struct EndingCase {
    const char *name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::ostream &operator<<(std::ostream &os, const EndingCase &c) {
    return os << c.name;
}

const EndingCase kEndingCases[] = {
    {"close request", WM_CLOSE, 0, 0},
    {"Escape", WM_KEYDOWN, VK_ESCAPE, 0x00010001},
    {"Space", WM_KEYDOWN, VK_SPACE, 0x00390001},
    {"letter Q", WM_KEYDOWN, 'Q', 0x00100001},
    {"F1", WM_KEYDOWN, VK_F1, 0x003B0001},
    {"Shift", WM_KEYDOWN, VK_SHIFT, 0x002A0001},
    {"a repeated key", WM_KEYDOWN, 'A', 0x401E0001},
    {"a key code no keyboard has", WM_KEYDOWN, 0xFF, 0},
    {"Alt+F4", WM_SYSKEYDOWN, VK_F4, 0x003E0001 | kAltHeld},
    {"the system menu's Close", WM_SYSCOMMAND, SC_CLOSE, 0},
};

class WindowProcedureEnding : public WindowProcedure,
                              public ::testing::WithParamInterface<EndingCase> {};

TEST_P(WindowProcedureEnding, EndsTheDemoWithExitCodeOneAndNoMessage) {
    const EndingCase c = GetParam();
    testsupport::ReleaseMarker marker;
    testsupport::SharedBlock<testsupport::ExitReport> report;
    const ChildOutcome outcome = testsupport::RunInChild([&] {
        testsupport::ReportAtExit(&*report);
        if (InitDirectDraw(g_hWnd) != 1)
            return;
        WndProc(g_hWnd, c.message, c.wParam, c.lParam);
    });
    ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
    EXPECT_EQ(outcome.exitCode, 1) << outcome;
    // The display was given back, and no box shown.
    EXPECT_EQ(outcome.err, testsupport::kReleaseMarkerLine);
    ASSERT_TRUE(report->taken);
    EXPECT_EQ(report->liveObjects, 0u);
    EXPECT_TRUE(report->displayGlobalsNull);
}

INSTANTIATE_TEST_SUITE_P(KeysAndCloseRequests, WindowProcedureEnding,
                         ::testing::ValuesIn(kEndingCases), testsupport::NameField());

} // namespace
