// What the demo shows: its frames, taken from the screen of a real run and
// set against frames worked out here from our earth.bmp and the wave's rules
// for placing rows.
#include "effect/wave.h"
#include "platform/portable/winmm/winmm_clock.h"
#include "tests/support/bmp_files.h"
#include "tests/support/demo_child.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using testsupport::ChildOutcome;
using testsupport::SharedBlock;

constexpr int kScreenW = 640, kScreenH = 480;
constexpr int kLaterFrame = 100;

struct ShownFrames {
    bool haveFirst = false, haveLater = false;
    uint8_t first[kScreenW * kScreenH];
    uint8_t later[kScreenW * kScreenH];
    PALETTEENTRY firstPalette[256];
};

void Capture(const portable::ScreenFrame &frame, uint8_t *to) {
    for (int y = 0; y < kScreenH; ++y)
        std::memcpy(to + y * kScreenW, frame.pixels + static_cast<ptrdiff_t>(y) * frame.pitch,
                    kScreenW);
}

// A clock on which every frame's 16 ms are over at the first look, so a
// hundred frames take no real time.
DWORD HurriedClock(void *context) {
    auto *now = static_cast<DWORD *>(context);
    return *now += 16;
}

using Screen = std::vector<uint8_t>;

// The frame the wave should make, worked out from the picture alone: the
// work surface is the picture at (60, 15) on index 0; each of its top 240
// rows is copied 320 pixels wide, index 0 left out, onto a screen of
// index 0: on the left where WaveRowY puts it, on the right over every row
// from where the row before it landed up to (not including) where it lands.
Screen ExpectedFrame(const testsupport::Bmp8 &picture, int32_t frameCount, float amplitude) {
    std::vector<uint8_t> work(kScreenW * kScreenH, 0);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            work[(15 + y) * kScreenW + 60 + x] = picture.at(x, y);
    Screen screen(kScreenW * kScreenH, 0);
    const auto copyRow = [&](int sourceRow, int screenRow, int left) {
        for (int x = 0; x < 320; ++x) {
            const uint8_t v = work[sourceRow * kScreenW + x];
            if (v != 0)
                screen[screenRow * kScreenW + left + x] = v;
        }
    };
    for (int row = 0; row < 240; ++row)
        copyRow(row, WaveRowY(row, frameCount, amplitude), 0);
    int previous = WaveRowY(0, frameCount, amplitude);
    for (int row = 1; row < 240; ++row) {
        const int here = WaveRowY(row, frameCount, amplitude);
        for (int y = previous; y < here; ++y)
            copyRow(row, y, 320);
        for (int y = previous; y > here; --y)
            copyRow(row, y, 320);
        previous = here;
    }
    return screen;
}

void ExpectSameScreen(const uint8_t *shown, const Screen &expected) {
    int wrong = 0;
    for (int i = 0; i < kScreenW * kScreenH; ++i) {
        if (shown[i] != expected[i] && ++wrong <= 5)
            ADD_FAILURE() << "pixel " << i % kScreenW << "," << i / kScreenW << " is "
                          << int(shown[i]) << ", should be " << int(expected[i]);
    }
    EXPECT_EQ(wrong, 0) << "pixels that differ";
}

class DemoFrames : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::ReadBmp8(testsupport::ReadFileBytes(testsupport::EarthPath()), &earth));
        dir.CopyEarth();
        testsupport::DemoRun run;
        run.directory = dir.path();
        run.beforeStart = [] {
            static DWORD now = 5000;
            portable::SetClockSource(HurriedClock, &now);
        };
        ShownFrames *shown = &*frames;
        run.onFlip = [shown](int flip, const portable::ScreenFrame &frame) {
            if (flip == 1) {
                Capture(frame, shown->first);
                std::memcpy(shown->firstPalette, frame.palette, sizeof(shown->firstPalette));
                shown->haveFirst = true;
            } else if (flip == kLaterFrame) {
                Capture(frame, shown->later);
                shown->haveLater = true;
                PostQuitMessage(0);
            }
        };
        const ChildOutcome outcome = testsupport::RunDemoInChild(run, &*report);
        ASSERT_TRUE(outcome.finished && outcome.exited && outcome.exitCode == 1) << outcome;
    }

    testsupport::Bmp8 earth;
    testsupport::ScratchDir dir;
    SharedBlock<ShownFrames> frames;
    SharedBlock<testsupport::DemoReport> report;
};

TEST_F(DemoFrames, TheFirstFrameIsTheStillPictureTwiceInThePicturesOwnColours) {
    ASSERT_TRUE(frames->haveFirst);
    // Frame 1: amplitude 0.15, so no row is moved from row + 120.
    ExpectSameScreen(frames->first, ExpectedFrame(earth, 1, 0.15f));
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(frames->firstPalette[i].peRed, earth.colours[i].red) << "colour " << i;
        EXPECT_EQ(frames->firstPalette[i].peGreen, earth.colours[i].green) << "colour " << i;
        EXPECT_EQ(frames->firstPalette[i].peBlue, earth.colours[i].blue) << "colour " << i;
    }
}

TEST_F(DemoFrames, FrameOneHundredIsTheRippledPicture) {
    ASSERT_TRUE(frames->haveLater);
    WaveState wave = {0.0f, 0.15f, 0};
    for (int i = 0; i < kLaterFrame; ++i)
        AdvanceWave(&wave);
    ASSERT_EQ(wave.frameCount, kLaterFrame);
    ExpectSameScreen(frames->later, ExpectedFrame(earth, wave.frameCount, wave.amplitude));
}

} // namespace
