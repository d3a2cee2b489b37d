// What the two halves of a frame show, drawn through the portable
// DirectDraw from a work surface whose rows can be told apart.
#include "effect/wave.h"
#include "tests/support/display_fixture.h"
#include "tests/support/recording_surface.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <ostream>

namespace {

using testsupport::BltFastCall;
using testsupport::Pixels;

// Source row r carries tag r + 1 in every column but the multiples of 5,
// which hold the transparent index 0. Outside the 320x240 area the work
// surface holds kOutside, which must never reach the screen.
constexpr uint8_t kOutside = 0xFE; // above every row tag
constexpr uint8_t kBackground = 0xF7;
uint8_t Tag(int row) {
    return static_cast<uint8_t>(row + 1);
}

class WaveFrameTest : public testsupport::DisplayTest {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        testsupport::WriteSurface(work, [](int x, int y) -> uint8_t {
            if (x >= 320 || y >= 240)
                return kOutside;
            return x % 5 == 0 ? 0 : Tag(y);
        });
    }

    // Draws frame n onto a back buffer filled with kBackground and records
    // the row copies of each half.
    Pixels DrawFrame(int n) {
        WaveState state;
        InitWave(&state, work);
        for (int i = 0; i < n; ++i)
            AdvanceWave(&state);
        testsupport::WriteSurface(back, [](int, int) { return kBackground; });
        testsupport::RecordingSurface left(back), right(back);
        DrawWaveRows(&state, &left, work);
        DrawWaveRowsFilled(&state, &right, work);
        leftCalls = left.calls;
        rightCalls = right.calls;
        return testsupport::ReadSurface(back);
    }

    // The source row shown on a screen row of a half (-1: none), read from a
    // column that is not transparent.
    static int ShownRow(const Pixels &p, int half, int y) {
        const uint8_t v = p.at(half * 320 + 1, y);
        return v == kBackground ? -1 : v - 1;
    }

    std::vector<BltFastCall> leftCalls;
    std::vector<BltFastCall> rightCalls;
};

TEST_F(WaveFrameTest, FirstFrameIsStillAndTheRightHalfSitsOneRowHigher) {
    const Pixels p = DrawFrame(1);
    for (int y = 0; y < 480; ++y) {
        const int left = (y >= 120 && y <= 359) ? y - 120 : -1;
        const int right = (y >= 120 && y <= 358) ? y - 119 : -1;
        EXPECT_EQ(ShownRow(p, 0, y), left) << "left, screen row " << y;
        EXPECT_EQ(ShownRow(p, 1, y), right) << "right, screen row " << y;
    }
}

TEST_F(WaveFrameTest, KeyedPixelsLeaveTheBackBufferAsItWas) {
    const Pixels p = DrawFrame(1);
    for (int y = 120; y < 359; ++y)
        for (int x = 0; x < 640; x += 5)
            ASSERT_EQ(p.at(x, y), kBackground) << x << "," << y;
}

TEST_F(WaveFrameTest, NothingOutsideTheSourceAreaReachesTheScreen) {
    for (int frame : {1, 100, 334, 335}) {
        const Pixels p = DrawFrame(frame);
        EXPECT_EQ(std::count(p.bytes.begin(), p.bytes.end(), kOutside), 0) << "frame " << frame;
        // Screen rows 0-69 and 410-479 are never reached by the wave.
        for (int y : {0, 69, 410, 479})
            for (int x = 0; x < 640; ++x)
                ASSERT_EQ(p.at(x, y), kBackground) << "frame " << frame << " row " << y;
    }
}

TEST_F(WaveFrameTest, EveryCopyIsOneKeyedRowOf320Pixels) {
    DrawFrame(334);
    for (const auto *calls : {&leftCalls, &rightCalls}) {
        for (const BltFastCall &c : *calls) {
            EXPECT_EQ(c.rect.left, 0);
            EXPECT_EQ(c.rect.right, 320);
            EXPECT_EQ(c.rect.bottom - c.rect.top, 1);
            EXPECT_EQ(c.flags, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
            EXPECT_EQ(c.src, work);
        }
    }
    for (const BltFastCall &c : leftCalls)
        EXPECT_EQ(c.x, 0u);
    for (const BltFastCall &c : rightCalls)
        EXPECT_EQ(c.x, 320u);
}

TEST_F(WaveFrameTest, Frame100CrowdsTheFirstSixRowsOntoOneScreenRow) {
    DrawFrame(100);
    ASSERT_EQ(leftCalls.size(), 240u);
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(leftCalls[row].y, 112u) << "row " << row;
        EXPECT_EQ(leftCalls[row].rect.top, row);
    }
    EXPECT_NE(leftCalls[6].y, 112u);
    // Rows 1-5 and 7 land where their predecessor did and draw nothing on
    // the right.
    ASSERT_GE(rightCalls.size(), 2u);
    EXPECT_EQ(rightCalls[0].y, 112u);
    EXPECT_EQ(rightCalls[0].rect.top, 6);
    EXPECT_EQ(rightCalls[1].y, 113u);
    EXPECT_EQ(rightCalls[1].rect.top, 8);
}

TEST_F(WaveFrameTest, Frame334RunsTheWaveBackwards) {
    DrawFrame(334);
    const DWORD leftRows[] = {165, 164, 162, 160, 158, 155};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(leftCalls[row].y, leftRows[row]) << "row " << row;
    // Filling upwards: each source row covers from where the previous one
    // landed up to just below its own landing row.
    const std::pair<DWORD, LONG> rightFills[] = {{165, 1}, {164, 2}, {163, 2}, {162, 3}, {161, 3}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(rightCalls[i].y, rightFills[i].first) << "fill " << i;
        EXPECT_EQ(rightCalls[i].rect.top, rightFills[i].second) << "fill " << i;
    }
}

TEST_F(WaveFrameTest, LeftHalfShowsTheLastRowDrawnOnEachScreenRow) {
    const Pixels p = DrawFrame(100);
    // Screen row 112 holds rows 0-5; the highest source row wins.
    EXPECT_EQ(ShownRow(p, 0, 112), 5);
}

struct CopyCount {
    int frame;
    size_t rightCopies;
};

// Named by its frame in test listings (the raw bytes would show padding).
std::ostream &operator<<(std::ostream &os, const CopyCount &c) {
    return os << "frame " << c.frame;
}

class RightHalfCopies : public WaveFrameTest, public ::testing::WithParamInterface<CopyCount> {};

TEST_P(RightHalfCopies, MatchTheWavesSteepness) {
    DrawFrame(GetParam().frame);
    EXPECT_EQ(leftCalls.size(), 240u);
    EXPECT_EQ(rightCalls.size(), GetParam().rightCopies);
}

INSTANTIATE_TEST_SUITE_P(KnownFrames, RightHalfCopies,
                         ::testing::Values(CopyCount{1, 239}, CopyCount{67, 228},
                                           CopyCount{334, 782}, CopyCount{335, 785},
                                           CopyCount{336, 785}));

} // namespace
