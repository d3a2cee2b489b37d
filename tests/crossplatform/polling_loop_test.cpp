// A loop that polls an empty queue until its time is up waits between its
// peeks instead of spinning, and still sees the milliseconds of timeGetTime
// go by. Natively against the portable platform, under Wine against
// Windows' own queue. (Timing a single peek is left to the portable tests:
// under Wine a loaded machine delays any peek by milliseconds.)
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// Whatever earlier tests left in this thread's queue.
void EmptyQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

TEST(PollingLoop, WaitsYetSeesTheClockGoBy) {
    EmptyQueue();
    MSG msg;
    int peeks = 0;
    std::set<DWORD> ticks;
    const DWORD start = timeGetTime();
    for (DWORD now = start; now - start < 100; now = timeGetTime()) {
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        ++peeks;
        ticks.insert(now);
    }
    // Spinning makes tens of thousands of peeks; waiting, about two a
    // millisecond.
    EXPECT_LE(peeks, 3 * 100 + 20);
    // A wait that outlasted its millisecond would skip ticks, and a frame
    // would end that much late: one of 5 ms sees 20 at most. (A busy
    // machine's scheduling alone skips some, so the bar is below 50.)
    EXPECT_GT(ticks.size(), 20u) << "of 100 milliseconds seen, in " << peeks << " peeks";
}

} // namespace
