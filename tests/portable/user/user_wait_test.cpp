// The portable wait for messages: what comes from outside the thread while
// it waits (a key, the close button, a close signal) ends even a wait with
// no time limit, and is in the queue when it ends; a signal that came before
// the windowing system's own wait ends that too. A wait for time sleeps
// until the clock has moved on by its timeout; a zero timeout, and any
// timeout on a clock a test drives, never sleeps.
#include "platform/portable/user/user_close_signals.h"
#include "platform/portable/windowing/headless/headless.h"
#include "platform/portable/winmm/winmm_clock.h"
#include "tests/support/case_names.h"
#include "tests/support/child_process.h"
#include "tests/support/logging_window.h"
#include "tests/support/thread_sleeps.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <ostream>
#include <thread>

namespace {

using testsupport::ChildOutcome;
using testsupport::SharedBlock;

enum class From { Keyboard, CloseButton, Signal };

struct ArrivalCase {
    const char *name;
    From from;
    int signal;
    UINT message; // what the queue then holds for the window
    WPARAM wParam;
};

std::ostream &operator<<(std::ostream &os, const ArrivalCase &c) {
    return os << c.name;
}

const ArrivalCase kArrivals[] = {
    {"a key", From::Keyboard, 0, WM_KEYDOWN, VK_ESCAPE},
    {"the close button", From::CloseButton, 0, WM_SYSCOMMAND, SC_CLOSE},
    {"SIGTERM", From::Signal, SIGTERM, WM_SYSCOMMAND, SC_CLOSE},
    {"SIGINT", From::Signal, SIGINT, WM_SYSCOMMAND, SC_CLOSE},
    {"SIGHUP", From::Signal, SIGHUP, WM_SYSCOMMAND, SC_CLOSE},
};

// What the child saw when its wait ended.
struct WaitEnd {
    bool ended = false;
    DWORD result = 0;
    bool queued = false;
    MSG next = {};
};

class WaitWithNoTimeLimit : public ::testing::TestWithParam<ArrivalCase> {
  protected:
    SharedBlock<WaitEnd> end;
};

TEST_P(WaitWithNoTimeLimit, EndsWhenSomethingComesFromOutsideTheThread) {
    const ArrivalCase c = GetParam();
    WaitEnd *seen = &*end;
    // In a child: the signal handlers are the process's, and a wait that
    // never ends is ended by the child's time limit instead of hanging.
    const ChildOutcome outcome = testsupport::RunInChild(
        [c, seen] {
            portable::InstallCloseSignals();
            testsupport::LoggingWindow window;
            testsupport::DiscardQueuedMessages();
            std::thread outside([c, &window] {
                // Meant to come while the wait is on; one that comes before
                // it must end it all the same.
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (c.from == From::Keyboard)
                    portable::HeadlessPressKey(VK_ESCAPE);
                else if (c.from == From::CloseButton)
                    portable::HeadlessClose(window.hwnd());
                else
                    kill(getpid(), c.signal); // to the process: any thread may take it
            });
            seen->result =
                MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            seen->queued = PeekMessageA(&seen->next, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
            seen->ended = true;
            outside.join();
        },
        10000);
    ASSERT_TRUE(outcome.finished) << "the wait did not end: " << outcome;
    ASSERT_TRUE(end->ended) << outcome;
    EXPECT_EQ(end->result, WAIT_OBJECT_0);
    ASSERT_TRUE(end->queued);
    EXPECT_EQ(end->next.message, c.message);
    EXPECT_EQ(end->next.wParam, c.wParam);
}

INSTANTIATE_TEST_SUITE_P(Arrivals, WaitWithNoTimeLimit, ::testing::ValuesIn(kArrivals),
                         testsupport::NameField());

TEST(WindowingWait, ASignalThatCameBeforeItEndsIt) {
    // A signal between USER's last look for one and the back end's wait must
    // not be slept through.
    SharedBlock<WaitEnd> end;
    WaitEnd *seen = &*end;
    const ChildOutcome outcome = testsupport::RunInChild(
        [seen] {
            portable::InstallCloseSignals();
            raise(SIGTERM);
            seen->result = portable::Windowing().WaitEvents(portable::kNoDeadline) ? 1 : 0;
            seen->ended = true;
        },
        10000);
    ASSERT_TRUE(outcome.finished) << "the wait did not end: " << outcome;
    EXPECT_TRUE(end->ended) << outcome;
    EXPECT_EQ(end->result, 1u) << "it ended saying nothing came";
}

struct SleepCase {
    const char *name;
    bool clockDriven;
    DWORD timeout;
    int waits;
    bool sleeps;
};

std::ostream &operator<<(std::ostream &os, const SleepCase &c) {
    return os << c.name;
}

const SleepCase kSleepCases[] = {
    {"no time to wait", false, 0, 1000, false},
    {"a clock a test drives", true, 16, 1000, false},
    {"time to wait", false, 10, 4, true},
};

DWORD ClockDrivenByTest(void *context) {
    return ++*static_cast<DWORD *>(context);
}

class WaitForTime : public ::testing::TestWithParam<SleepCase> {
  protected:
    void SetUp() override {
        ASSERT_NE(window.hwnd(), nullptr);
        testsupport::DiscardQueuedMessages();
    }
    void TearDown() override { portable::SetClockSource(nullptr, nullptr); }

    testsupport::LoggingWindow window;
};

TEST_P(WaitForTime, RunsOutAfterTheClockHasMovedOnAndSleepsOnlyForARealClock) {
    const SleepCase c = GetParam();
    DWORD driven = 1000;
    if (c.clockDriven)
        portable::SetClockSource(ClockDrivenByTest, &driven);
    const long sleepsBefore = testsupport::ThreadSleeps();
    ASSERT_GE(sleepsBefore, 0) << "no /proc/thread-self/status";
    for (int i = 0; i < c.waits; ++i) {
        const DWORD before = timeGetTime();
        ASSERT_EQ(
            MsgWaitForMultipleObjectsEx(0, nullptr, c.timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE),
            WAIT_TIMEOUT);
        // Never before its time: the frame loop reads the clock next.
        if (!c.clockDriven) {
            EXPECT_GE(timeGetTime() - before, c.timeout) << "wait " << i;
        }
    }
    const long sleeps = testsupport::ThreadSleeps() - sleepsBefore;
    if (c.sleeps) {
        EXPECT_GE(sleeps, c.waits / 2) << "a wait for time spins instead of sleeping";
    } else {
        EXPECT_LT(sleeps, c.waits / 10) << "waits that have nothing to wait for slept";
    }
}

INSTANTIATE_TEST_SUITE_P(Timeouts, WaitForTime, ::testing::ValuesIn(kSleepCases),
                         testsupport::NameField());

} // namespace
