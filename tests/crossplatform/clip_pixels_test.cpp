// What the clipped row copy leaves on a 640x480 surface, judged by the
// pixels alone, so the same cases run against either platform's DirectDraw.
#include "display/display.h"
#include "tests/crossplatform/surface_fixture.h"

#include <gtest/gtest.h>

namespace {

struct ClipCase {
    const char *name;
    int x, y, w, h, srcX, srcY;
    bool drawn; // false: nothing may change
};

std::ostream &operator<<(std::ostream &os, const ClipCase &c) {
    return os << c.name;
}

const ClipCase kCases[] = {
    {"inside", 0, 200, 320, 1, 0, 5, true},
    {"cut by the left edge", -10, 50, 320, 1, 0, 0, true},
    {"one column left of the left edge", -319, 50, 320, 1, 0, 0, true},
    {"wholly left", -320, 50, 320, 1, 0, 0, false},
    {"cut by the right edge", 400, 50, 320, 1, 7, 0, true},
    {"one column at the right edge", 639, 50, 320, 1, 0, 0, true},
    {"wholly right", 640, 50, 320, 1, 0, 0, false},
    {"last row", 0, 479, 320, 1, 0, 3, true},
    {"below", 0, 480, 320, 1, 0, 3, false},
    {"above", 0, -1, 320, 1, 0, 3, false},
    {"cut by the top edge", 0, -1, 320, 2, 0, 3, true},
    {"cut on both sides", -5, 10, 700, 1, 0, 0, true},
    {"empty width", 100, 100, 0, 1, 0, 0, false},
    {"source past its surface", 0, 0, 320, 1, 900, 0, false},
};

class ClipPixels : public crossplatform::SurfaceTest,
                   public ::testing::WithParamInterface<ClipCase> {
  protected:
    static uint8_t SourcePixel(int x, int y) {
        return static_cast<uint8_t>(1 + (x * 7 + y * 13) % 250);
    }
};

TEST_P(ClipPixels, ShowExactlyThePartOfTheCopyOnScreen) {
    const ClipCase c = GetParam();
    LPDIRECTDRAWSURFACE dest = Create8Bit(640, 480);
    LPDIRECTDRAWSURFACE source = Create8Bit(1024, 480);
    ASSERT_NE(dest, nullptr);
    ASSERT_NE(source, nullptr);
    Fill(source, SourcePixel);
    Fill(dest, [](int, int) -> uint8_t { return 0; });

    BltFastClip(dest, c.x, c.y, c.w, c.h, source, c.srcX, c.srcY, 0);

    int width = 0;
    const std::vector<uint8_t> pixels = Read(dest, &width);
    ASSERT_EQ(width, 640);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const bool covered = c.drawn && x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
            const uint8_t expected =
                covered ? SourcePixel(c.srcX + (x - c.x), c.srcY + (y - c.y)) : 0;
            ASSERT_EQ(pixels[static_cast<size_t>(y) * 640 + x], expected)
                << "pixel " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ScreenEdges, ClipPixels, ::testing::ValuesIn(kCases));

class ColourKey : public crossplatform::SurfaceTest {};

TEST_F(ColourKey, KeyedRowsLeaveTheKeyIndexUncopied) {
    LPDIRECTDRAWSURFACE dest = Create8Bit(640, 480);
    LPDIRECTDRAWSURFACE work = Create8Bit(640, 480);
    ASSERT_NE(dest, nullptr);
    ASSERT_NE(work, nullptr);
    Fill(work, [](int x, int) { return static_cast<uint8_t>(x % 4); });
    Fill(dest, [](int, int) -> uint8_t { return 9; });
    ASSERT_EQ(SetSrcColorKey(work, 0), DD_OK);

    BltFastClip(dest, 0, 0, 320, 1, work, 0, 0, 1);
    BltFastClip(dest, 0, 1, 320, 1, work, 0, 0, 0);

    const std::vector<uint8_t> pixels = Read(dest);
    for (int x = 0; x < 320; ++x) {
        EXPECT_EQ(pixels[x], x % 4 == 0 ? 9 : x % 4) << "keyed, column " << x;
        EXPECT_EQ(pixels[640 + x], x % 4) << "unkeyed, column " << x;
    }
}

} // namespace
