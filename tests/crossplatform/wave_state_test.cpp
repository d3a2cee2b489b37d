// The amplitude oscillator and the row placement of the wave.
#include "effect/wave.h"
#include "tests/crossplatform/surface_fixture.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

#include <ostream>

namespace {

WaveState Initial() {
    return WaveState{0.0f, 0.15f, 0};
}

WaveState AfterFrames(int frames) {
    WaveState s = Initial();
    for (int i = 0; i < frames; ++i)
        AdvanceWave(&s);
    return s;
}

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof(float)) == 0;
}

struct AmplitudeCase {
    int frame;
    float amplitude;
    bool rising; // the step's sign after the frame's advance
};

// Named by its frame in test listings (the raw bytes would show padding).
std::ostream &operator<<(std::ostream &os, const AmplitudeCase &c) {
    return os << "frame " << c.frame;
}

class WaveAmplitude : public ::testing::TestWithParam<AmplitudeCase> {};

TEST_P(WaveAmplitude, FollowsTheCycle) {
    const AmplitudeCase c = GetParam();
    const WaveState s = AfterFrames(c.frame);
    EXPECT_FLOAT_EQ(s.amplitude, c.amplitude);
    EXPECT_EQ(s.amplitudeStep > 0.0f, c.rising);
    EXPECT_EQ(s.frameCount, c.frame);
}

INSTANTIATE_TEST_SUITE_P(
    KnownFrames, WaveAmplitude,
    ::testing::Values(AmplitudeCase{1, 0.15f, true}, AmplitudeCase{2, 0.3f, true},
                      AmplitudeCase{100, 14.999986f, true}, AmplitudeCase{333, 49.950127f, true},
                      AmplitudeCase{334, 50.100128f, false}, AmplitudeCase{335, 49.950128f, false},
                      AmplitudeCase{1003, 50.100128f, false}));

TEST(WaveAmplitude, StepIsTheSinglePrecisionPointFifteen) {
    WaveState s = AfterFrames(0);
    EXPECT_TRUE(SameBits(s.amplitudeStep, 0.15f));
    uint32_t bits;
    std::memcpy(&bits, &s.amplitudeStep, sizeof(bits));
    EXPECT_EQ(bits, 0x3E19999Au);
}

TEST(WaveAmplitude, DriftsToATinyValueThenTurnsAtExactlyZero) {
    const WaveState before = AfterFrames(668);
    EXPECT_GT(before.amplitude, 0.0f);
    EXPECT_NEAR(before.amplitude, 0.0000025f, 0.0000005f);
    EXPECT_LT(before.amplitudeStep, 0.0f);

    const WaveState turned = AfterFrames(669);
    EXPECT_TRUE(SameBits(turned.amplitude, 0.0f)); // +0.0 exactly, not clamped noise
    EXPECT_GT(turned.amplitudeStep, 0.0f);
}

TEST(WaveAmplitude, MaximumIsJustOverFiftyAndNeverClamped) {
    float highest = 0.0f;
    int highestFrame = 0;
    WaveState s = Initial();
    for (int frame = 1; frame <= 669; ++frame) {
        AdvanceWave(&s);
        if (s.amplitude > highest) {
            highest = s.amplitude;
            highestFrame = frame;
        }
        EXPECT_GE(s.amplitude, 0.0f) << "frame " << frame;
    }
    EXPECT_EQ(highestFrame, 334);
    EXPECT_GT(highest, 50.0f);
}

TEST(WaveAmplitude, RepeatsWithAPeriodOf669Frames) {
    WaveState a = Initial();
    WaveState b = AfterFrames(669);
    for (int frame = 0; frame < 1338; ++frame) {
        ASSERT_TRUE(SameBits(a.amplitude, b.amplitude)) << "frame " << frame;
        ASSERT_TRUE(SameBits(a.amplitudeStep, b.amplitudeStep)) << "frame " << frame;
        AdvanceWave(&a);
        AdvanceWave(&b);
    }
}

TEST(WaveFrameCount, WrapsFromTheLargestToTheSmallest32BitValue) {
    WaveState s{10.0f, 0.15f, INT_MAX};
    AdvanceWave(&s);
    EXPECT_EQ(s.frameCount, INT_MIN);
    AdvanceWave(&s);
    EXPECT_EQ(s.frameCount, INT_MIN + 1);
}

TEST(WaveRowY, StillRowsLandOnTheirOwnRowBelowTheBase) {
    for (int row = 0; row < 240; ++row)
        EXPECT_EQ(WaveRowY(row, 1, 0.15f), row + 120) << "row " << row;
}

TEST(WaveRowY, TruncatesTowardZero) {
    // sin(0.1 * 16) = 0.99957; with amplitude -0.7 the offset is -0.6997,
    // which truncates to 0, and with -1.3 to -1 (not -2, as flooring would).
    EXPECT_EQ(WaveRowY(0, 16, -0.7f), 120);
    EXPECT_EQ(WaveRowY(0, 16, -1.3f), 119);
    EXPECT_EQ(WaveRowY(0, 16, 1.3f), 121);
}

TEST(WaveRowY, PhaseUsesTheWrappedSumOfRowAndFrame) {
    // Past 2^31 the sum goes on from the most negative value, and the row
    // still lands where a frame count of that sum would put row 0.
    const int32_t nearWrap = INT_MAX - 100;
    for (int row = 0; row < 240; ++row) {
        const int32_t wrapped = static_cast<int32_t>(static_cast<uint32_t>(nearWrap) + row);
        EXPECT_EQ(WaveRowY(row, nearWrap, 50.1f), WaveRowY(0, wrapped, 50.1f) + row)
            << "row " << row;
    }
}

TEST(WaveRowY, EveryLandingRowOfAPeriodLiesBetween70And409) {
    WaveState s = Initial();
    for (int frame = 1; frame <= 669; ++frame) {
        AdvanceWave(&s);
        for (int row = 0; row < 240; ++row) {
            const int y = WaveRowY(row, s.frameCount, s.amplitude);
            ASSERT_GE(y, 70) << "frame " << frame << " row " << row;
            ASSERT_LE(y, 409) << "frame " << frame << " row " << row;
        }
    }
}

TEST(WaveCopyCounts, RangeFrom228To785OverThreePeriods) {
    // The right half copies |landing(r) - landing(r-1)| rows per source row.
    WaveState s{0.0f, 0.15f, 0};
    size_t fewest = SIZE_MAX, most = 0;
    int fewestFrame = 0;
    for (int frame = 1; frame <= 3 * 669; ++frame) {
        AdvanceWave(&s);
        size_t copies = 0;
        for (int row = 1; row < 240; ++row)
            copies += static_cast<size_t>(std::abs(WaveRowY(row, s.frameCount, s.amplitude) -
                                                   WaveRowY(row - 1, s.frameCount, s.amplitude)));
        if (copies < fewest) {
            fewest = copies;
            fewestFrame = frame;
        }
        most = std::max(most, copies);
    }
    EXPECT_EQ(fewest, 228u);
    EXPECT_EQ(fewestFrame, 67);
    EXPECT_EQ(most, 785u);
}

class InitWaveTest : public crossplatform::SurfaceTest {};

TEST_F(InitWaveTest, KeysIndexZeroOfTheWorkSurfaceAndStartsStill) {
    LPDIRECTDRAWSURFACE work = Create8Bit(640, 480);
    ASSERT_NE(work, nullptr);
    WaveState s{7.0f, -1.0f, 42};
    InitWave(&s, work);
    DDCOLORKEY key = {99, 99};
    ASSERT_EQ(work->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0u);
    EXPECT_EQ(key.dwColorSpaceHighValue, 0u);
    EXPECT_TRUE(SameBits(s.amplitude, 0.0f));
    EXPECT_TRUE(SameBits(s.amplitudeStep, 0.15f));
    EXPECT_EQ(s.frameCount, 0);
}

} // namespace
