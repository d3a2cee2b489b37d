// The millisecond clock passing 2^32 while the demo runs. A frame's end is
// its start + 16 in 32-bit arithmetic, and the pump waits while the clock
// is below it: so every frame that starts in the last 16 ms before the wrap
// ends at once (its end has wrapped to a small number that a reading taken
// before the wrap is not below), unless the pump's first reading comes after
// the wrap; once the clock has wrapped, frames keep their 16 ms pace again.
// Nothing waits longer than a frame.
//
// The clock here is a virtual one that moves 1 ms every few readings: a
// real clock would let the scheduler decide where each reading falls, and
// a frame whose drawing spans the wrap waits until the clock comes round
// again.
#include "tests/support/demo_child.h"
#include "tests/support/scratch_dir.h"

#include "platform/portable/winmm/winmm_clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using testsupport::ChildOutcome;
using testsupport::SharedBlock;

constexpr int kFrames = 60;
constexpr DWORD kStart = 0u - 300u; // the clock when the demo starts: 300 ms short of the wrap
constexpr uint64_t kReadingsPerMs = 3;

struct FrameStarts {
    DWORD start[kFrames + 1] = {}; // start[n]: the clock read at the start of frame n
};

uint64_t g_readings = 0;
DWORD g_lastReading = 0;

DWORD VirtualClock(void *) {
    g_lastReading = kStart + static_cast<DWORD>(g_readings++ / kReadingsPerMs);
    return g_lastReading;
}

std::string Starts(const FrameStarts &s) {
    std::string text;
    for (int n = 1; n <= kFrames; ++n)
        text += std::to_string(s.start[n]) + " ";
    return text;
}

TEST(ClockWrap, FramesStartingInTheLast16MsBeforeTheWrapEndAtOnceAndPaceResumesAfterIt) {
    testsupport::ScratchDir dir;
    dir.CopyEarth();
    SharedBlock<testsupport::DemoReport> report;
    SharedBlock<FrameStarts> starts;
    testsupport::DemoRun run;
    run.directory = dir.path();
    run.frameLimit = kFrames;
    run.beforeStart = [] { portable::SetClockSource(VirtualClock, nullptr); };
    FrameStarts *s = &*starts;
    // Nothing between a frame's start and its flip reads the clock, so the
    // last reading before the flip is the frame's start.
    run.onFlip = [s](int flip, const portable::ScreenFrame &) {
        if (flip <= kFrames)
            s->start[flip] = g_lastReading;
    };
    const ChildOutcome outcome = testsupport::RunDemoInChild(run, &*report);
    ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
    EXPECT_EQ(outcome.exitCode, 1) << outcome;
    ASSERT_EQ(report->flips, kFrames);

    EXPECT_GE(starts->start[1], kStart);
    EXPECT_LT(starts->start[kFrames], 0x80000000u) << "the clock did not wrap";
    int atOnce = 0;
    for (int n = 1; n < kFrames; ++n) {
        const DWORD startN = starts->start[n];
        const DWORD interval = starts->start[n + 1] - startN; // unsigned: across the wrap too
        const bool paced = interval >= 16u && interval <= 17u;
        if (startN >= 0u - 16u) {
            // Its end has wrapped: at once if the pump reads the clock
            // before the wrap, a full frame if after it.
            atOnce += interval <= 1u;
            EXPECT_TRUE(interval <= 1u || paced)
                << "frame " << n << " started at " << startN << " lasted " << interval;
        } else {
            EXPECT_TRUE(paced) << "frame " << n << " started at " << startN << " lasted "
                               << interval;
        }
    }
    EXPECT_GT(atOnce, 0) << "no frame started in the last 16 ms before the wrap: "
                         << Starts(*starts);
}

} // namespace
