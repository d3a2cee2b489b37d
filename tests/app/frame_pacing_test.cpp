// The frame loop's pacing, on a clock the test drives: each frame starts
// 16 milliseconds after the last at the earliest, a slow frame is followed
// at once by the next, and the wait comes out right where the millisecond
// count wraps. And on the real clock, the loop sleeps about once a frame.
#include "platform/portable/winmm/winmm_clock.h"
#include "tests/support/demo_child.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/thread_sleeps.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using testsupport::ChildOutcome;
using testsupport::DemoReport;
using testsupport::DemoRun;
using testsupport::SharedBlock;

// Every clock reading and every flip, in order, as the child saw them.
struct ClockLog {
    struct Event {
        bool flip; // else a reading of the clock
        uint32_t value;
    };
    static constexpr int kCapacity = 4096;
    int count = 0;
    Event events[kCapacity];

    void Add(bool flip, uint32_t value) {
        if (count < kCapacity)
            events[count++] = Event{flip, value};
    }
};

// A clock that moves on by `step` milliseconds at every reading, and that
// the test can set at a flip, as if that much time had passed while the
// frame was drawn.
struct ScriptedClock {
    uint32_t next = 1000;
    uint32_t step = 1;
    ClockLog *log = nullptr;

    static DWORD Read(void *context) {
        auto *clock = static_cast<ScriptedClock *>(context);
        const uint32_t value = clock->next;
        clock->next += clock->step;
        clock->log->Add(false, value);
        return value;
    }
};

// One frame as the log shows it: the reading it started with, and the
// readings of the wait after its flip.
struct Frame {
    uint32_t start;
    std::vector<uint32_t> waitReadings;
};

// The frames from the first flip on; the last one, cut short by the end of
// the run, is left out. A frame's start is the reading just before its flip:
// nothing between them reads the clock.
std::vector<Frame> FramesOf(const ClockLog &log) {
    std::vector<int> flips;
    for (int i = 0; i < log.count; ++i)
        if (log.events[i].flip)
            flips.push_back(i);
    std::vector<Frame> frames;
    for (size_t f = 0; f + 1 < flips.size(); ++f) {
        const int startIndex = flips[f] - 1;
        const int nextStartIndex = flips[f + 1] - 1;
        if (startIndex < 0 || log.events[startIndex].flip || log.events[nextStartIndex].flip) {
            ADD_FAILURE() << "a flip without a reading of the clock before it";
            break;
        }
        Frame frame;
        frame.start = log.events[startIndex].value;
        for (int i = flips[f] + 1; i < nextStartIndex; ++i)
            frame.waitReadings.push_back(log.events[i].value);
        frames.push_back(frame);
    }
    return frames;
}

// The child's clock; the parent's copy is never read.
ScriptedClock g_clock;

using AtFlip = std::function<void(int flip, ScriptedClock *clock)>;

class FramePacing : public ::testing::Test {
  protected:
    void SetUp() override { dir.CopyEarth(); }

    // Runs the demo for `frames` frames on the scripted clock, moving on by
    // `step` at each reading; atFlip may set the clock at a flip.
    std::vector<Frame> Run(int frames, uint32_t step, AtFlip atFlip = nullptr) {
        DemoRun run;
        run.directory = dir.path();
        ClockLog *logInChild = &*log;
        run.beforeStart = [logInChild, step] {
            g_clock.step = step;
            g_clock.log = logInChild;
            portable::SetClockSource(ScriptedClock::Read, &g_clock);
        };
        run.onFlip = [logInChild, frames, atFlip](int flip, const portable::ScreenFrame &) {
            logInChild->Add(true, 0);
            if (atFlip)
                atFlip(flip, &g_clock);
            if (flip == frames)
                PostQuitMessage(0);
        };
        const ChildOutcome outcome = testsupport::RunDemoInChild(run, &*report);
        EXPECT_TRUE(outcome.finished && outcome.exited && outcome.exitCode == 1) << outcome;
        EXPECT_EQ(report->flips, frames);
        EXPECT_LT(log->count, ClockLog::kCapacity);
        return FramesOf(*log);
    }

    testsupport::ScratchDir dir;
    SharedBlock<ClockLog> log;
    SharedBlock<DemoReport> report;
};

// The wait of a frame that started at `start` ends at the first reading not
// below start + 16, both as unsigned 32-bit numbers.
void ExpectWaitEndsAtTheFirstReadingPastSixteen(const Frame &frame, int index) {
    const uint32_t end = frame.start + 16u;
    ASSERT_FALSE(frame.waitReadings.empty()) << "frame " << index;
    for (size_t i = 0; i + 1 < frame.waitReadings.size(); ++i)
        EXPECT_LT(frame.waitReadings[i], end) << "frame " << index << ", reading " << i;
    EXPECT_GE(frame.waitReadings.back(), end) << "frame " << index;
}

class SteadyPacing : public FramePacing, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(SteadyPacing, FramesStartAtLeastSixteenMillisecondsApart) {
    const uint32_t step = GetParam();
    const std::vector<Frame> frames = Run(8, step);
    ASSERT_EQ(frames.size(), 7u);
    for (size_t k = 0; k < frames.size(); ++k) {
        ExpectWaitEndsAtTheFirstReadingPastSixteen(frames[k], static_cast<int>(k + 1));
        if (k + 1 < frames.size()) {
            const uint32_t gap = frames[k + 1].start - frames[k].start;
            EXPECT_GE(gap, 16u) << "frames " << k + 1 << " and " << k + 2;
            // No longer than the wait's own polling makes it.
            EXPECT_LE(gap, 16u + 2 * step) << "frames " << k + 1 << " and " << k + 2;
        }
    }
}

// A clock that moves 1 ms at each reading is polled 16 times in the wait;
// one that moves further overshoots the 16 ms, and the wait must end at the
// first reading past them all the same.
INSTANTIATE_TEST_SUITE_P(ClockSteps, SteadyPacing, ::testing::Values(1u, 5u, 16u, 40u),
                         [](const ::testing::TestParamInfo<uint32_t> &info) {
                             return "MovingOn" + std::to_string(info.param) + "msAReading";
                         });

TEST_F(FramePacing, ASlowFrameIsFollowedAtOnceByTheNext) {
    // Frame 3 takes 40 ms to draw.
    const std::vector<Frame> frames = Run(6, 1, [](int flip, ScriptedClock *clock) {
        if (flip == 3)
            clock->next += 40;
    });
    ASSERT_EQ(frames.size(), 5u);
    const Frame &slow = frames[2];
    ASSERT_EQ(slow.waitReadings.size(), 1u); // one look at the clock, then the next frame
    EXPECT_GE(slow.waitReadings[0] - slow.start, 40u);
    EXPECT_EQ(frames[3].start, slow.waitReadings[0] + 1);
    // And the frame after it is paced as usual again.
    EXPECT_EQ(frames[3].waitReadings.size(), 16u);
    ExpectWaitEndsAtTheFirstReadingPastSixteen(frames[3], 4);
}

TEST_F(FramePacing, TheWaitEndsRightWhereTheMillisecondCountWraps) {
    // After frame 2 the clock stands 10 ms before the wrap.
    const std::vector<Frame> frames = Run(10, 1, [](int flip, ScriptedClock *clock) {
        if (flip == 2)
            clock->next = 0xFFFFFFF6u;
    });
    ASSERT_EQ(frames.size(), 9u);
    // Frames 3-6 start so close to the wrap that start + 16 wraps to a small
    // number while the clock has not wrapped yet: no reading is below it, so
    // each ends after one look at the clock. Frame 7 starts at the last
    // count before the wrap and waits, through the wrap, for the wrapped
    // sum 0xF. From frame 8 on, pacing is as usual.
    const std::vector<uint32_t> expectedStarts = {
        0xFFFFFFF7u, 0xFFFFFFF9u, 0xFFFFFFFBu, 0xFFFFFFFDu, 0xFFFFFFFFu, 0x10u, 0x21u};
    for (size_t i = 0; i < expectedStarts.size(); ++i)
        EXPECT_EQ(frames[i + 2].start, expectedStarts[i]) << "frame " << i + 3;
    for (size_t k = 2; k < 6; ++k)
        EXPECT_EQ(frames[k].waitReadings.size(), 1u) << "frame " << k + 1;
    EXPECT_EQ(frames[6].waitReadings.front(), 0u);
    EXPECT_EQ(frames[6].waitReadings.back(), 0xFu);
    for (size_t k = 2; k < frames.size(); ++k)
        ExpectWaitEndsAtTheFirstReadingPastSixteen(frames[k], static_cast<int>(k + 1));
}

TEST_F(FramePacing, AFrameThatStraddlesTheWrapDoesNotWaitForTheClockToComeRound) {
    // Frame 3 starts 31 ms before the wrap (frame 2's wait takes the
    // reading before), so its end does not wrap; it takes 37 ms to draw,
    // and the wait's first reading comes after the wrap. Reading the sum
    // alone, that reading is below the end and the wait would go on until
    // the clock came round again.
    const std::vector<Frame> frames = Run(6, 1, [](int flip, ScriptedClock *clock) {
        if (flip == 2)
            clock->next = 0xFFFFFFE0u;
        if (flip == 3)
            clock->next = 0x5u;
    });
    ASSERT_EQ(frames.size(), 5u);
    const Frame &straddling = frames[2];
    EXPECT_EQ(straddling.start, 0xFFFFFFE1u);
    ASSERT_EQ(straddling.waitReadings.size(), 1u); // one look at the clock, then the next frame
    EXPECT_EQ(straddling.waitReadings[0], 0x5u);
    EXPECT_EQ(frames[3].start, 0x6u);
    // Pacing is as usual from the next frame.
    ExpectWaitEndsAtTheFirstReadingPastSixteen(frames[3], 4);
    ExpectWaitEndsAtTheFirstReadingPastSixteen(frames[4], 5);
}

// Between its flips the loop sleeps until its frame is over, or until a
// message comes: once a frame, where polling the clock sleeps once a
// millisecond (about 460 times in 30 frames) and a loop that spins 15-17
// times in 30 frames, as measured here. Counted, not timed.
TEST(FrameLoop, OnTheRealClockSleepsAboutOnceAFrame) {
    struct Sleeps {
        long atFlip10 = -1, atFlip40 = -1;
    };
    testsupport::ScratchDir dir;
    dir.CopyEarth();
    SharedBlock<Sleeps> sleeps;
    SharedBlock<DemoReport> report;
    DemoRun run;
    run.directory = dir.path();
    Sleeps *seen = &*sleeps;
    run.onFlip = [seen](int flip, const portable::ScreenFrame &) {
        if (flip == 10)
            seen->atFlip10 = testsupport::ThreadSleeps();
        if (flip == 40) {
            seen->atFlip40 = testsupport::ThreadSleeps();
            PostQuitMessage(0);
        }
    };
    const ChildOutcome outcome = testsupport::RunDemoInChild(run, &*report);
    ASSERT_TRUE(outcome.finished && outcome.exited) << outcome;
    ASSERT_GE(sleeps->atFlip10, 0) << "no /proc/thread-self/status";
    const long perThirtyFrames = sleeps->atFlip40 - sleeps->atFlip10;
    EXPECT_GE(perThirtyFrames, 24) << "the loop spins between frames";
    EXPECT_LE(perThirtyFrames, 60) << "the loop wakes many times a frame";
}

} // namespace
