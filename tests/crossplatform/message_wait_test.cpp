// The wait of the frame loop, MsgWaitForMultipleObjects(Ex) on no objects,
// given the same answers natively and under Wine by Windows' own: what is in
// the queue and what the wait watches for decide whether it ends with
// WAIT_OBJECT_0 or runs out with WAIT_TIMEOUT. (How a wait ends on input
// from outside, on a signal, and whether it sleeps, is for the portable
// platform's own tests: tests/portable/user/user_wait_test.cpp.)
#include "platform/platform.h"
#include "tests/support/case_names.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

enum class Queued { Nothing, PostedMessage, PeekedMessage, Quit };

struct WaitCase {
    const char *name;
    Queued queued;
    DWORD wakeMask;
    bool plainForm; // MsgWaitForMultipleObjects, else the Ex form with MWMO_INPUTAVAILABLE
    DWORD timeout;
    DWORD expected;
};

std::ostream &operator<<(std::ostream &os, const WaitCase &c) {
    return os << c.name;
}

// A wait that should end at once is given this long, so that one that does
// not end fails instead of hanging the suite; one that should run out, this
// short.
const DWORD kLongMs = 10000;
const DWORD kShortMs = 20;

const WaitCase kWaitCases[] = {
    {"an empty queue", Queued::Nothing, QS_ALLINPUT, false, kShortMs, WAIT_TIMEOUT},
    {"an empty queue, the plain form", Queued::Nothing, QS_ALLINPUT, true, kShortMs, WAIT_TIMEOUT},
    {"an empty queue, no time to wait", Queued::Nothing, QS_ALLINPUT, false, 0, WAIT_TIMEOUT},
    {"a posted message", Queued::PostedMessage, QS_ALLINPUT, false, kLongMs, WAIT_OBJECT_0},
    {"a posted message, the plain form", Queued::PostedMessage, QS_ALLINPUT, true, kLongMs,
     WAIT_OBJECT_0},
    {"a posted message, no time to wait", Queued::PostedMessage, QS_ALLINPUT, false, 0,
     WAIT_OBJECT_0},
    {"a posted message a peek left in the queue", Queued::PeekedMessage, QS_ALLINPUT, false,
     kLongMs, WAIT_OBJECT_0},
    {"a posted message, watching for posted messages", Queued::PostedMessage, QS_POSTMESSAGE, false,
     kLongMs, WAIT_OBJECT_0},
    {"a posted message, watching for keys only", Queued::PostedMessage, QS_KEY, false, kShortMs,
     WAIT_TIMEOUT},
    {"WM_QUIT", Queued::Quit, QS_ALLINPUT, false, kLongMs, WAIT_OBJECT_0},
};

// Takes everything out of this thread's queue, WM_QUIT included.
void EmptyQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

class MessageWait : public ::testing::TestWithParam<WaitCase> {
  protected:
    void SetUp() override { EmptyQueue(); }
    void TearDown() override { EmptyQueue(); }
};

TEST_P(MessageWait, EndsOnWhatItWatchesForElseRunsOut) {
    const WaitCase c = GetParam();
    MSG msg;
    switch (c.queued) {
    case Queued::Nothing:
        break;
    case Queued::PostedMessage:
        ASSERT_TRUE(PostMessageA(nullptr, WM_USER, 0, 0));
        break;
    case Queued::PeekedMessage:
        ASSERT_TRUE(PostMessageA(nullptr, WM_USER, 0, 0));
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        break;
    case Queued::Quit:
        PostQuitMessage(0);
        break;
    }
    const DWORD result =
        c.plainForm
            ? MsgWaitForMultipleObjects(0, nullptr, FALSE, c.timeout, c.wakeMask)
            : MsgWaitForMultipleObjectsEx(0, nullptr, c.timeout, c.wakeMask, MWMO_INPUTAVAILABLE);
    EXPECT_EQ(result, c.expected);
    // The wait takes nothing out of the queue.
    EXPECT_EQ(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE, c.queued != Queued::Nothing);
}

INSTANTIATE_TEST_SUITE_P(Queues, MessageWait, ::testing::ValuesIn(kWaitCases),
                         testsupport::NameField());

} // namespace
