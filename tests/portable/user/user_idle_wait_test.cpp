// A loop polling an empty queue waits in the windowing system instead of
// spinning: the second empty peek within a millisecond waits for the next
// one or for input, whichever comes first; a single peek between long
// computations does not wait; input ends a wait at once, GetMessageA's on an
// empty queue as much as a polling loop's.
#include "platform/portable/windowing/headless/headless.h"
#include "platform/portable/winmm/winmm_clock.h"
#include "tests/support/logging_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using testsupport::DiscardQueuedMessages;
using testsupport::LoggingWindow;

double ElapsedMs(uint64_t sinceNs) {
    return static_cast<double>(portable::MonotonicNanoseconds() - sinceNs) / 1e6;
}

class IdleWait : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(window.hwnd(), nullptr);
        DiscardQueuedMessages();
    }
    void TearDown() override { DiscardQueuedMessages(); }

    LoggingWindow window;
};

TEST_F(IdleWait, AnEmptyQueuePolledFor50MillisecondsIsNotSpunOn) {
    MSG msg;
    int peeks = 0;
    const uint64_t start = portable::MonotonicNanoseconds();
    while (ElapsedMs(start) < 50.0) {
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        ++peeks;
    }
    // Spinning makes tens of thousands; waiting, two a millisecond.
    EXPECT_LE(peeks, 3 * 50 + 10) << "in " << ElapsedMs(start) << " ms";
}

TEST_F(IdleWait, OnePeekBetweenComputationsDoesNotWait) {
    MSG msg;
    double peeking = 0;
    for (int i = 0; i < 20; ++i) {
        // A computation that runs into the next millisecond of the clock.
        const uint64_t ms = portable::MonotonicNanoseconds() / 1000000u;
        while (portable::MonotonicNanoseconds() / 1000000u == ms) {
        }
        const uint64_t before = portable::MonotonicNanoseconds();
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        peeking += ElapsedMs(before);
    }
    // Waiting would cost up to a millisecond a peek.
    EXPECT_LT(peeking, 5.0) << "ms spent in 20 peeks";
}

TEST_F(IdleWait, AKeyFromAnotherThreadEndsTheWaitAtOnce) {
    // Waiting for a message: GetMessageA on the empty queue, or a loop of
    // PeekMessageA that waits between its peeks.
    const struct {
        const char *way;
        bool polling;
    } ways[] = {{"GetMessageA", false}, {"polling PeekMessageA", true}};
    for (const auto &w : ways) {
        SCOPED_TRACE(w.way);
        std::atomic<uint64_t> pressedAt{0};
        std::thread presser([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            pressedAt = portable::MonotonicNanoseconds();
            portable::HeadlessPressKey(VK_ESCAPE);
        });
        MSG msg = {};
        const uint64_t start = portable::MonotonicNanoseconds();
        bool got = false;
        if (w.polling) {
            while (!got && ElapsedMs(start) < 2000.0)
                got = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE;
        } else {
            got = GetMessageA(&msg, nullptr, 0, 0) == TRUE;
        }
        const uint64_t seen = portable::MonotonicNanoseconds();
        const uint64_t pressed = pressedAt;
        presser.join();
        ASSERT_TRUE(got);
        EXPECT_NE(pressed, 0u) << "returned before anything was queued";
        EXPECT_EQ(msg.message, UINT{WM_KEYDOWN});
        EXPECT_EQ(msg.wParam, WPARAM{VK_ESCAPE});
        EXPECT_EQ(msg.hwnd, window.hwnd());
        EXPECT_LT(static_cast<double>(seen - pressed) / 1e6, 5.0)
            << "ms from the key to its message";
        DiscardQueuedMessages(); // the key's release
    }
}

TEST_F(IdleWait, ADrivenClockIsNeverWaitedFor) {
    // A test's clock does not move by waiting, so polling must not wait.
    DWORD now = 0;
    portable::SetClockSource([](void *c) { return ++*static_cast<DWORD *>(c); }, &now);
    MSG msg;
    const uint64_t start = portable::MonotonicNanoseconds();
    for (int i = 0; i < 1000; ++i)
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    portable::SetClockSource(nullptr, nullptr);
    EXPECT_LT(ElapsedMs(start), 100.0) << "for 1000 peeks";
}

} // namespace
