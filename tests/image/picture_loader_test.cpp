// The picture drawn into the work surface: upright, at 200x210 from (60, 15)
// whatever the file's own size, in the indices of the palette just loaded
// from the same file, and nothing else of the surface touched.
#include "display/display.h"
#include "image/image.h"
#include "tests/support/bmp_files.h"
#include "tests/support/headless_screen.h"
#include "tests/support/case_names.h"
#include "tests/support/program_state.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/surfaces.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <ostream>
#include <set>

namespace {

using testsupport::Pixels;

constexpr int kLeft = 60, kTop = 15, kWidth = 200, kHeight = 210;

bool InPicture(int x, int y) {
    return x >= kLeft && x < kLeft + kWidth && y >= kTop && y < kTop + kHeight;
}

// What the work surface holds before the picture arrives: never 0, so an
// untouched pixel cannot pass for a cleared one.
uint8_t Before(int x, int y) {
    return static_cast<uint8_t>(200 + (x * 3 + y * 5) % 50);
}

class PictureLoader : public testsupport::ProgramStateTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(InitDirectDraw(window.hwnd()), 1);
        testsupport::WriteSurface(g_pDDSWork, Before);
    }

    // Loads the file as the demo does: its palette, then its picture.
    void Load(const std::string &path) {
        ASSERT_EQ(LoadBmpPalette(path.c_str()), DD_OK);
        LoadBmpImage(g_pDDSWork, path.c_str(), kLeft, kTop, kWidth, kHeight);
    }

    void ExpectOutsideUntouched(const Pixels &work) {
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (!InPicture(x, y)) {
                    ASSERT_EQ(work.at(x, y), Before(x, y)) << "pixel " << x << "," << y;
                }
    }

    testsupport::TestWindow window;
    testsupport::HeadlessScreen screen;
    testsupport::ScratchDir dir;
};

TEST_F(PictureLoader, PutsTheEarthUprightOnColumns60To259AndRows15To224) {
    testsupport::Bmp8 earth;
    ASSERT_TRUE(
        testsupport::ReadBmp8(testsupport::ReadFileBytes(testsupport::EarthPath()), &earth));
    ASSERT_EQ(earth.width, kWidth);
    ASSERT_EQ(earth.height, kHeight);
    Load(dir.CopyEarth());
    const Pixels work = testsupport::ReadSurface(g_pDDSWork);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(work.at(kLeft + x, kTop + y), earth.at(x, y)) << "picture " << x << "," << y;
    ExpectOutsideUntouched(work);
}

// A picture of four quarters, each its own colour, which any resizing
// keeps apart: what lands where shows both the size and the way up.
struct SizeCase {
    const char *name;
    int width, height;
};

std::ostream &operator<<(std::ostream &os, const SizeCase &c) {
    return os << c.name;
}

const SizeCase kSizes[] = {
    {"ten times smaller", 20, 21},
    {"twice as large", 400, 420},
    {"odd and small", 7, 5},
    {"half as tall only", 200, 105},
};

constexpr uint8_t kTopLeft = 11, kTopRight = 22, kBottomLeft = 33, kBottomRight = 44;

std::array<testsupport::Rgb, 256> QuarterColours() {
    std::array<testsupport::Rgb, 256> colours{};
    for (int i = 0; i < 256; ++i) // a grey ramp, every entry its own colour
        colours[i] = testsupport::Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                                      static_cast<uint8_t>(i)};
    colours[kTopLeft] = {255, 0, 0};
    colours[kTopRight] = {0, 255, 0};
    colours[kBottomLeft] = {0, 0, 255};
    colours[kBottomRight] = {255, 255, 0};
    return colours;
}

uint8_t Quarter(bool right, bool bottom) {
    return bottom ? (right ? kBottomRight : kBottomLeft) : (right ? kTopRight : kTopLeft);
}

class PictureSize : public PictureLoader, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(PictureSize, IsStretchedOrShrunkIntoTheSameRectangle) {
    const SizeCase c = GetParam();
    const int w = c.width, h = c.height;
    Load(
        dir.Write("earth.bmp", testsupport::WriteBmp8(w, h, QuarterColours(), [w, h](int x, int y) {
                      return Quarter(2 * x >= w, 2 * y >= h);
                  })));
    const Pixels work = testsupport::ReadSurface(g_pDDSWork);
    // Where the quarters meet in the rectangle: the first right-hand
    // (lower) source column (row), scaled. Away from those lines, by more
    // than a source pixel, each quarter holds its own colour alone.
    const int splitX = (w + 1) / 2 * kWidth / w, splitY = (h + 1) / 2 * kHeight / h;
    const int marginX = kWidth / w + 1, marginY = kHeight / h + 1;
    const std::set<uint8_t> quarters = {kTopLeft, kTopRight, kBottomLeft, kBottomRight};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t got = work.at(kLeft + x, kTop + y);
            ASSERT_EQ(quarters.count(got), 1u) << "a colour not in the file at " << x << "," << y;
            const bool nearSplit =
                std::abs(x - splitX) <= marginX || std::abs(y - splitY) <= marginY;
            if (!nearSplit) {
                ASSERT_EQ(got, Quarter(x >= splitX, y >= splitY)) << x << "," << y;
            }
        }
    }
    ExpectOutsideUntouched(work);
}

INSTANTIATE_TEST_SUITE_P(FileSizes, PictureSize, ::testing::ValuesIn(kSizes),
                         testsupport::NameField());

} // namespace
