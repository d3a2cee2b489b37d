// timeGetTime: milliseconds from a monotonic clock as an unsigned 32-bit
// count, so that differences of two readings stay right across the wrap;
// and the timer periods a program asks for.
#include "platform/portable/winmm/winmm_clock.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Steady = std::chrono::steady_clock;

// Moves the count so that it reads `before` milliseconds short of the wrap.
void PutCountBeforeTheWrap(DWORD before) {
    portable::SetClockOffset(0);
    portable::SetClockOffset(DWORD{0} - portable::RealClockMilliseconds() - before);
}

class ClockTest : public ::testing::Test {
  protected:
    void TearDown() override { portable::SetClockOffset(0); }
};

TEST_F(ClockTest, CountsMillisecondsOfRealTime) {
    const DWORD first = timeGetTime();
    const Steady::time_point start = Steady::now();
    while (Steady::now() - start < std::chrono::milliseconds(40)) {
    }
    const DWORD elapsed = timeGetTime() - first;
    const auto real =
        std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count();
    // Both readings may each lose up to a millisecond to truncation.
    EXPECT_GE(elapsed + 2, static_cast<DWORD>(40));
    EXPECT_LE(elapsed, static_cast<DWORD>(real + 2));
}

TEST_F(ClockTest, NeverGoesBackwards) {
    DWORD previous = timeGetTime();
    for (int i = 0; i < 100000; ++i) {
        const DWORD now = timeGetTime();
        ASSERT_LT(now - previous, 0x80000000u) << "went back from " << previous << " to " << now;
        previous = now;
    }
}

TEST_F(ClockTest, WrapsAtThirtyTwoBits) {
    PutCountBeforeTheWrap(5);
    const Steady::time_point start = Steady::now();
    const DWORD before = timeGetTime();
    EXPECT_GE(before, 0xFFFFFFF0u) << "the count sits just short of the wrap";
    DWORD now = before;
    // Poll until the count has wrapped, or give up after a generous while.
    while (now >= before && Steady::now() - start < std::chrono::seconds(2))
        now = timeGetTime();
    EXPECT_LT(now, 0x10000u) << "the count wrapped to small numbers";
    // The frame loop's end of frame, formed the same way, wraps with it.
    const DWORD frameEnd = before + 16;
    EXPECT_LT(frameEnd, 16u);
}

TEST_F(ClockTest, AReplacementSourceIsAskedForEveryReadingUntilRemoved) {
    struct Counter {
        static DWORD Next(void *context) { return (*static_cast<DWORD *>(context))++; }
    };
    DWORD value = 0xFFFFFFFFu;
    portable::SetClockSource(Counter::Next, &value);
    EXPECT_EQ(timeGetTime(), 0xFFFFFFFFu);
    EXPECT_EQ(timeGetTime(), 0u);
    EXPECT_EQ(timeGetTime(), 1u);
    portable::SetClockSource(nullptr, nullptr);
    const DWORD real = timeGetTime();
    EXPECT_LE(real - portable::RealClockMilliseconds(), 1u) << "the real clock is back";
}

} // namespace

// timeBeginPeriod and timeEndPeriod as Windows pairs them: a period from 1
// ms up is asked for and counted, each request given back once, and a
// period never asked for (or given back already) cannot be given back.
TEST(TimerPeriod, EachRequestIsGivenBackOnce) {
    const struct {
        const char *step;
        bool begin; // else end
        UINT period;
        MMRESULT result;
        unsigned asked; // requests in force after the step
    } steps[] = {
        {"a period of 0 cannot be asked for", true, 0, TIMERR_NOCANDO, 0},
        {"1 ms", true, 1, TIMERR_NOERROR, 1},
        {"1 ms again", true, 1, TIMERR_NOERROR, 2},
        {"5 ms", true, 5, TIMERR_NOERROR, 3},
        {"giving back 2 ms, never asked for", false, 2, TIMERR_NOCANDO, 3},
        {"giving back 1 ms", false, 1, TIMERR_NOERROR, 2},
        {"giving back 5 ms", false, 5, TIMERR_NOERROR, 1},
        {"giving back 5 ms again", false, 5, TIMERR_NOCANDO, 1},
        {"giving back the second 1 ms", false, 1, TIMERR_NOERROR, 0},
        {"giving back 1 ms a third time", false, 1, TIMERR_NOCANDO, 0},
    };
    ASSERT_EQ(portable::TimerPeriodsAsked(), 0u);
    for (const auto &s : steps) {
        SCOPED_TRACE(s.step);
        EXPECT_EQ(s.begin ? timeBeginPeriod(s.period) : timeEndPeriod(s.period), s.result);
        EXPECT_EQ(portable::TimerPeriodsAsked(), s.asked);
    }
}
