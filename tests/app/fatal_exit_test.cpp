// The one way out: the display is given back first, then the message box
// when there is a text, then exit code 1; a second way out taken while the
// box is up finds nothing left to do but exit.
#include "app/app.h"
#include "display/display.h"
#include "platform/portable/ddraw/ddraw_faults.h"
#include "tests/support/headless_screen.h"
#include "tests/support/case_names.h"
#include "tests/support/child_process.h"
#include "tests/support/exit_report.h"
#include "tests/support/program_state.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using testsupport::ChildOutcome;
using testsupport::kReleaseMarkerLine;

enum class Display { None, Partial, Full };

struct ExitCase {
    const char *name;
    Display display;
    const char *text; // for FatalExit; null for none
    std::string err;  // expected on stderr, in order
};

std::ostream &operator<<(std::ostream &os, const ExitCase &c) {
    return os << c.name;
}

// "earth.bmp ファイルが見つかりません" in code page 932, and as the box shows it.
const char kNotFoundSjis[] = "earth.bmp \x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x8C\xA9"
                             "\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
const std::string kNotFoundBox = "Message: earth.bmp ファイルが見つかりません\n";

const ExitCase kExitCases[] = {
    {"no message", Display::Full, nullptr, kReleaseMarkerLine},
    {"plain message", Display::Full, "disk on fire",
     std::string(kReleaseMarkerLine) + "Message: disk on fire\n"},
    {"Japanese message", Display::Full, kNotFoundSjis, kReleaseMarkerLine + kNotFoundBox},
    {"display only partly set up", Display::Partial, "half",
     std::string(kReleaseMarkerLine) + "Message: half\n"},
    {"no display at all", Display::None, "early", "Message: early\n"},
    {"no display and no message", Display::None, nullptr, ""},
};

class FatalExitPath : public testsupport::ProgramStateTest,
                      public ::testing::WithParamInterface<ExitCase> {
  protected:
    testsupport::MainWindow window;
    testsupport::ReleaseMarker marker;
    testsupport::SharedBlock<testsupport::ExitReport> report;
};

TEST_P(FatalExitPath, GivesTheDisplayBackThenShowsTheTextThenExitsWithOne) {
    const ExitCase c = GetParam();
    const ChildOutcome outcome = testsupport::RunInChild([&] {
        testsupport::ReportAtExit(&*report);
        // Another part of the program's timer period, which WinMain never
        // asked for: not FatalExit's to give back.
        timeBeginPeriod(1);
        if (c.display == Display::Partial)
            portable::FailNextDirectDrawCall(portable::DirectDrawCall::CreateSurface,
                                             DDERR_OUTOFMEMORY, 1);
        if (c.display != Display::None)
            InitDirectDraw(g_hWnd);
        FatalExit(c.text);
    });
    ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
    EXPECT_EQ(outcome.exitCode, 1) << outcome;
    EXPECT_EQ(outcome.err, c.err);
    // Through the runtime's ordinary exit, with nothing left of the display.
    ASSERT_TRUE(report->taken);
    EXPECT_EQ(report->liveObjects, 0u);
    EXPECT_TRUE(report->displayGlobalsNull);
    EXPECT_FALSE(report->screenHeld);
    EXPECT_EQ(report->timerPeriods, 1u);
}

INSTANTIATE_TEST_SUITE_P(Texts, FatalExitPath, ::testing::ValuesIn(kExitCases),
                         testsupport::NameField());

// What the main window's procedure saw of a close request: that it
// arrived, and whether handing it to WndProc ever came back.
struct CloseWatch {
    bool closeArrived = false;
    bool wndProcReturned = false;
};

CloseWatch *g_closeWatch = nullptr;

LRESULT CALLBACK WatchingWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_CLOSE)
        return WndProc(hwnd, message, wParam, lParam);
    g_closeWatch->closeArrived = true;
    const LRESULT result = WndProc(hwnd, message, wParam, lParam);
    g_closeWatch->wndProcReturned = true;
    return result;
}

class FatalExitAgain : public testsupport::ProgramStateTest {
  protected:
    testsupport::ReleaseMarker marker;
    testsupport::SharedBlock<testsupport::ExitReport> report;
    testsupport::SharedBlock<CloseWatch> watch;
};

TEST_F(FatalExitAgain, ACloseRequestWhileTheBoxIsUpExitsAtOnceWithNothingToRelease) {
    // The box runs the thread's queued messages as Windows' modal loop does,
    // so a close request queued for the main window reaches WndProc while
    // the first way out is still in its box.
    const ChildOutcome outcome = testsupport::RunInChild([&] {
        testsupport::ReportAtExit(&*report);
        g_closeWatch = &*watch;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WatchingWndProc;
        wc.lpszClassName = "ondulix-watched-main";
        RegisterClassA(&wc);
        g_hWnd = CreateWindowExA(0, "ondulix-watched-main", "Ondulix", WS_POPUPWINDOW, 0, 0, 640,
                                 480, nullptr, nullptr, nullptr, nullptr);
        if (g_hWnd == nullptr || InitDirectDraw(g_hWnd) != 1)
            return;
        PostMessageA(g_hWnd, WM_CLOSE, 0, 0);
        FatalExit("first");
    });
    ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
    EXPECT_EQ(outcome.exitCode, 1) << outcome;
    EXPECT_TRUE(watch->closeArrived);
    EXPECT_FALSE(watch->wndProcReturned); // the second way out ended the process
    // The display was given back once, and nothing but the first box (if it
    // was up before the close request arrived) was shown.
    const std::string once = kReleaseMarkerLine;
    EXPECT_TRUE(outcome.err == once || outcome.err == once + "Message: first\n") << outcome;
    ASSERT_TRUE(report->taken);
    EXPECT_EQ(report->liveObjects, 0u);
    EXPECT_TRUE(report->displayGlobalsNull);
}

} // namespace
