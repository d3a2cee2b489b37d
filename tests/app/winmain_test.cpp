// The demo from its entry point, run for real in a child process without a
// display: how each way of ending it ends it, the class registration, and
// a display that cannot be set up.
#include "app/app.h"
#include "platform/portable/windowing/headless/headless.h"
#include "platform/portable/ddraw/ddraw_faults.h"
#include "tests/support/headless_screen.h"
#include "tests/support/case_names.h"
#include "tests/support/demo_child.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/surfaces.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using testsupport::ChildOutcome;
using testsupport::DemoReport;
using testsupport::DemoRun;
using testsupport::kReleaseMarkerLine;
using testsupport::SharedBlock;

const LPARAM kAltHeld = LPARAM{1} << 29;

enum class Ending {
    KeyMessage,
    EscapeMessage,
    KeyOnTheKeyboard,
    CloseButton,
    SystemMenuClose,
    AltF4,
    QuitMessage,
    WindowDestroyed,
};

struct EndingCase {
    const char *name;
    Ending ending;
};

std::ostream &operator<<(std::ostream &os, const EndingCase &c) {
    return os << c.name;
}

void Perform(Ending ending) {
    switch (ending) {
    case Ending::KeyMessage:
        testsupport::PostToMainWindow(WM_KEYDOWN, 'K', 0x00250001);
        break;
    case Ending::EscapeMessage:
        testsupport::PostToMainWindow(WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        break;
    case Ending::KeyOnTheKeyboard:
        // As the windowing system hands a key to the window holding the
        // display, the demo's.
        portable::HeadlessPressKey(VK_SPACE);
        break;
    case Ending::CloseButton:
        portable::HeadlessClose(g_hWnd);
        break;
    case Ending::SystemMenuClose:
        testsupport::PostToMainWindow(WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case Ending::AltF4:
        testsupport::PostToMainWindow(WM_SYSKEYDOWN, VK_F4, 0x003E0001 | kAltHeld);
        break;
    case Ending::QuitMessage:
        PostQuitMessage(0);
        break;
    case Ending::WindowDestroyed:
        DestroyWindow(g_hWnd);
        break;
    }
}

const EndingCase kEndingCases[] = {
    {"a key", Ending::KeyMessage},
    {"Escape", Ending::EscapeMessage},
    {"a key pressed on the keyboard", Ending::KeyOnTheKeyboard},
    {"the window's close button", Ending::CloseButton},
    {"Close from the system menu", Ending::SystemMenuClose},
    {"Alt+F4", Ending::AltF4},
    {"WM_QUIT in the queue", Ending::QuitMessage},
    {"the window destroyed from outside", Ending::WindowDestroyed},
};

class DemoEnding : public ::testing::TestWithParam<EndingCase> {
  protected:
    testsupport::ScratchDir dir;
    SharedBlock<DemoReport> report;
};

TEST_P(DemoEnding, EndsAfterTheFrameItArrivedInWithExitCodeOneAndNoMessage) {
    dir.CopyEarth();
    const Ending ending = GetParam().ending;
    DemoRun run;
    run.directory = dir.path();
    run.onFlip = [ending](int flip, const portable::ScreenFrame &) {
        if (flip == 5)
            Perform(ending);
    };
    const ChildOutcome outcome = testsupport::RunDemoInChild(run, &*report);
    ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
    EXPECT_EQ(outcome.exitCode, 1) << outcome;
    EXPECT_EQ(outcome.err, kReleaseMarkerLine); // given back, and no box
    EXPECT_TRUE(report->displayTaken);
    EXPECT_EQ(report->modeWidth, 640);
    EXPECT_EQ(report->modeHeight, 480);
    // Handled in the pump right after the flip that saw it arrive.
    EXPECT_EQ(report->flips, 5);
    EXPECT_EQ(report->flipsWhenGivenBack, 5);
    ASSERT_TRUE(report->exit.taken);
    EXPECT_EQ(report->exit.liveObjects, 0u);
    EXPECT_TRUE(report->exit.displayGlobalsNull);
    // The 1 ms timer period, asked for while it ran, given back on the way out.
    EXPECT_EQ(report->timerPeriodsAtFlip, 1u);
    EXPECT_EQ(report->exit.timerPeriods, 0u);
}

INSTANTIATE_TEST_SUITE_P(Endings, DemoEnding, ::testing::ValuesIn(kEndingCases),
                         testsupport::NameField());

// A window class "dd" registered before WinMain runs, as another instance
// would have: its procedure counts the messages it gets and hands them on.
struct ClassWatch {
    int messages = 0;
};

ClassWatch *g_classWatch = nullptr;

LRESULT CALLBACK CountingWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_classWatch->messages;
    return WndProc(hwnd, message, wParam, lParam);
}

void RegisterTheClassFirst(ClassWatch *watch) {
    g_classWatch = watch;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingWndProc;
    wc.lpszClassName = "dd";
    RegisterClassA(&wc);
}

class DemoStart : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.CopyEarth();
        run.directory = dir.path();
    }
    testsupport::ScratchDir dir;
    DemoRun run;
    SharedBlock<DemoReport> report;
    SharedBlock<ClassWatch> watch;
};

TEST_F(DemoStart, APreviousInstanceSkipsClassRegistration) {
    run.previousInstance = reinterpret_cast<HINSTANCE>(0x1);
    run.beforeStart = [this] { RegisterTheClassFirst(&*watch); };
    run.onFlip = [](int flip, const portable::ScreenFrame &) {
        if (flip == 3)
            testsupport::PostToMainWindow(WM_KEYDOWN, VK_SPACE, 0x00390001);
    };
    const ChildOutcome outcome = testsupport::RunDemoInChild(run, &*report);
    ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
    // Registering "dd" again would have failed and returned 0.
    EXPECT_EQ(outcome.exitCode, 1) << outcome;
    EXPECT_EQ(outcome.err, kReleaseMarkerLine);
    EXPECT_EQ(report->flips, 3);
    EXPECT_GT(watch->messages, 0); // the window is of the class found registered
}

TEST_F(DemoStart, AClassThatCannotBeRegisteredEndsItWithZeroBeforeAnyWindow) {
    run.beforeStart = [this] { RegisterTheClassFirst(&*watch); };
    const ChildOutcome outcome = testsupport::RunDemoInChild(run, &*report);
    ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
    EXPECT_EQ(outcome.exitCode, 0) << outcome;
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(watch->messages, 0);
    EXPECT_FALSE(report->displayTaken);
    EXPECT_EQ(report->flips, 0);
    ASSERT_TRUE(report->exit.taken);
    EXPECT_EQ(report->exit.timerPeriods, 0u);
}

enum class Obstacle { Fault, DisplayHeldElsewhere, NoWindowClass };

struct SetupFailureCase {
    const char *name;
    Obstacle obstacle;
    portable::DirectDrawCall call;
    unsigned skip;
    bool displayWasTaken; // the mode was set before the failure
    size_t objectsLeft;   // DirectDraw objects alive at the exit
};

std::ostream &operator<<(std::ostream &os, const SetupFailureCase &c) {
    return os << c.name;
}

using portable::DirectDrawCall;

const SetupFailureCase kSetupFailureCases[] = {
    {"DirectDrawCreate fails", Obstacle::Fault, DirectDrawCall::Create, 0, false, 0},
    {"cooperative level refused", Obstacle::Fault, DirectDrawCall::SetCooperativeLevel, 0, false,
     0},
    {"display mode refused", Obstacle::Fault, DirectDrawCall::SetDisplayMode, 0, false, 0},
    {"primary surface not created", Obstacle::Fault, DirectDrawCall::CreateSurface, 0, true, 0},
    {"back buffer not found", Obstacle::Fault, DirectDrawCall::GetAttachedSurface, 0, true, 0},
    {"work surface not created", Obstacle::Fault, DirectDrawCall::CreateSurface, 1, true, 0},
    {"palette not created", Obstacle::Fault, DirectDrawCall::CreatePalette, 0, true, 0},
    {"display held by another program", Obstacle::DisplayHeldElsewhere, DirectDrawCall::Create, 0,
     false, 1},
    {"no window", Obstacle::NoWindowClass, DirectDrawCall::Create, 0, false, 0},
};

// "画面を初期化できません" ("the screen cannot be initialised"), in code page
// 932 as the program holds it, and as the box shows it.
const char kInitFailedSjis[] = "\x89\xE6\x96\xCA\x82\xF0\x8F\x89\x8A\xFA\x89\xBB"
                               "\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
const char kInitFailedBox[] = "Message: 画面を初期化できません\n";

class DemoWithoutDisplay : public DemoStart,
                           public ::testing::WithParamInterface<SetupFailureCase> {};

TEST_P(DemoWithoutDisplay, SaysTheScreenCannotBeInitialisedAndExitsWithOne) {
    const SetupFailureCase c = GetParam();
    run.beforeStart = [c] {
        switch (c.obstacle) {
        case Obstacle::Fault:
            portable::FailNextDirectDrawCall(c.call, DDERR_GENERIC, c.skip);
            break;
        case Obstacle::DisplayHeldElsewhere: {
            // Another program's window and DirectDraw object, for as long as
            // this process lives.
            static testsupport::TestWindow *other = new testsupport::TestWindow;
            LPDIRECTDRAW dd = nullptr;
            DirectDrawCreate(nullptr, &dd, nullptr);
            dd->SetCooperativeLevel(other->hwnd(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
            break;
        }
        case Obstacle::NoWindowClass:
            break;
        }
    };
    if (c.obstacle == Obstacle::NoWindowClass)
        run.previousInstance = reinterpret_cast<HINSTANCE>(0x1); // and no class "dd" anywhere
    const ChildOutcome outcome = testsupport::RunDemoInChild(run, &*report);
    ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
    EXPECT_EQ(outcome.exitCode, 1) << outcome;
    const std::string given = c.displayWasTaken ? kReleaseMarkerLine : "";
    EXPECT_EQ(outcome.err, given + kInitFailedBox);
    EXPECT_EQ(report->flips, 0);
    ASSERT_TRUE(report->exit.taken);
    EXPECT_STREQ(report->exit.msgBuf, kInitFailedSjis);
    EXPECT_EQ(report->exit.liveObjects, c.objectsLeft);
    EXPECT_TRUE(report->exit.displayGlobalsNull);
    EXPECT_EQ(report->exit.timerPeriods, 0u);
}

INSTANTIATE_TEST_SUITE_P(SetupFailures, DemoWithoutDisplay, ::testing::ValuesIn(kSetupFailureCases),
                         testsupport::NameField());

} // namespace
