// The frame counter passing 2^31: real frames drawn through the demo's own
// display and frame body, from a state a few frames short of the wrap. The
// rows land where WaveRowY says on either side of it, and nothing overflows
// (the sanitizer build checks every signed addition on the way).
#include "app/app.h"
#include "display/display.h"
#include "effect/wave.h"
#include "tests/support/headless_screen.h"
#include "tests/support/program_state.h"
#include "tests/support/surfaces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kFrames = 10;
constexpr int32_t kStart = INT32_MAX - 5;

// Source row r carries tag r + 1; outside the 320x240 area the work surface
// is transparent (index 0), as the demo's is around the picture.
uint8_t Tag(int row) {
    return static_cast<uint8_t>(row + 1);
}

class WaveWrap : public testsupport::ProgramStateTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(InitDirectDraw(window.hwnd()), 1);
        testsupport::WriteSurface(
            g_pDDSWork, [](int x, int y) -> uint8_t { return x < 320 && y < 240 ? Tag(y) : 0; });
        screen.onFlip = [this](const portable::ScreenFrame &f) {
            std::vector<uint8_t> pixels(640 * 480);
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x)
                    pixels[static_cast<size_t>(y) * 640 + x] = f.pixels[y * f.pitch + x];
            shown.push_back(pixels);
        };
    }

    testsupport::MainWindow window;
    testsupport::HeadlessScreen screen;
    std::vector<std::vector<uint8_t>> shown;
};

TEST_F(WaveWrap, RowsLandWhereTheWaveSaysAcrossTheFrameCountersWrap) {
    WaveState wave;
    InitWave(&wave, g_pDDSWork);
    wave.frameCount = kStart;
    wave.amplitude = 40.0f;
    std::vector<WaveState> drawn;
    for (int i = 0; i < kFrames; ++i) {
        DrawFrame(&wave);
        drawn.push_back(wave);
    }
    ASSERT_EQ(shown.size(), static_cast<size_t>(kFrames));
    EXPECT_EQ(drawn[5].frameCount, INT32_MIN); // the sixth frame is the first past the wrap
    EXPECT_EQ(drawn.back().frameCount, INT32_MIN + 4);

    for (int i = 0; i < kFrames; ++i) {
        const WaveState &s = drawn[static_cast<size_t>(i)];
        // Left half: each screen row shows the last source row that lands on
        // it (rows are drawn top to bottom), or nothing.
        std::vector<int> expected(480, -1);
        int first = 480, last = -1;
        for (int row = 0; row < 240; ++row) {
            const int y = WaveRowY(row, s.frameCount, s.amplitude);
            ASSERT_GE(y, 0);
            ASSERT_LT(y, 480);
            expected[static_cast<size_t>(y)] = row;
            first = std::min(first, y);
            last = std::max(last, y);
        }
        const std::vector<uint8_t> &frame = shown[static_cast<size_t>(i)];
        for (int y = 0; y < 480; ++y) {
            const int row = expected[static_cast<size_t>(y)];
            const uint8_t want = row < 0 ? 0 : Tag(row);
            ASSERT_EQ(frame[static_cast<size_t>(y) * 640 + 5], want)
                << "frame " << i << " (count " << s.frameCount << "), left, screen row " << y;
            ASSERT_EQ(frame[static_cast<size_t>(y) * 640 + 319], want) << "frame " << i;
        }
        // Right half: no gap between the first and the last landing rows.
        for (int y = first; y < last; ++y)
            ASSERT_NE(frame[static_cast<size_t>(y) * 640 + 325], 0)
                << "frame " << i << " (count " << s.frameCount << "), right, screen row " << y;
    }
}

TEST(WaveRowYAtTheWrap, ThePhaseContinuesFromTheWrappedNegativeSum) {
    struct Case {
        int row;
        int32_t frameCount;
        int64_t wrappedSum; // row + frameCount in 32-bit two's complement
    };
    const Case cases[] = {
        {0, INT32_MAX, INT32_MAX},
        {1, INT32_MAX, INT32_MIN},
        {5, INT32_MAX - 2, int64_t{INT32_MIN} + 2},
        {239, INT32_MAX - 100, int64_t{INT32_MIN} + 138},
        {100, INT32_MIN, int64_t{INT32_MIN} + 100},
    };
    const float amplitude = 50.15f;
    for (const Case &c : cases) {
        const double phase = static_cast<double>(c.wrappedSum) * static_cast<double>(0.1f);
        const int expected =
            static_cast<int>(static_cast<double>(amplitude) * std::sin(phase)) + c.row + 120;
        EXPECT_EQ(WaveRowY(c.row, c.frameCount, amplitude), expected)
            << "row " << c.row << ", frame count " << c.frameCount;
    }
}

} // namespace
