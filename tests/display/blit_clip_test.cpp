// The clipped row copy: the clip against the 640x480 screen, the arguments
// that reach BltFast, and the pixels that arrive.
#include "display/display.h"
#include "tests/support/display_fixture.h"
#include "tests/support/recording_surface.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

using testsupport::Pixels;

struct ClipCase {
    const char *name;
    int x, y, w, h, srcX, srcY;
    signed char keySel;
    bool drawn;
    DWORD toX, toY;
    RECT rect;
    DWORD flags;
};

std::ostream &operator<<(std::ostream &os, const ClipCase &c) {
    return os << c.name;
}

const ClipCase kClipCases[] = {
    {"plain keyed row", 0, 200, 320, 1, 0, 5, 1, true, 0, 200, {0, 5, 320, 6}, 0x11},
    {"plain unkeyed row", 0, 200, 320, 1, 0, 5, 0, true, 0, 200, {0, 5, 320, 6}, 0x10},
    {"left edge cuts 10 columns", -10, 50, 320, 1, 0, 0, 1, true, 0, 50, {10, 0, 320, 1}, 0x11},
    {"wholly left of the screen", -320, 50, 320, 1, 0, 0, 1, false, 0, 0, {}, 0},
    {"one column left", -319, 50, 320, 1, 0, 0, 1, true, 0, 50, {319, 0, 320, 1}, 0x11},
    {"right edge leaves one column", 639, 50, 320, 1, 0, 0, 1, true, 639, 50, {0, 0, 1, 1}, 0x11},
    {"right of the screen", 640, 50, 320, 1, 0, 0, 1, false, 0, 0, {}, 0},
    {"right edge cuts to 240", 400, 50, 320, 1, 7, 0, 1, true, 400, 50, {7, 0, 247, 1}, 0x11},
    {"last row", 0, 479, 320, 1, 0, 3, 1, true, 0, 479, {0, 3, 320, 4}, 0x11},
    {"below the screen", 0, 480, 320, 1, 0, 3, 1, false, 0, 0, {}, 0},
    {"above the screen", 0, -1, 320, 1, 0, 3, 1, false, 0, 0, {}, 0},
    {"top edge cuts one row", 0, -1, 320, 2, 0, 3, 1, true, 0, 0, {0, 4, 320, 5}, 0x11},
    {"left edge first, then right", -5, 10, 700, 1, 0, 0, 1, true, 0, 10, {5, 0, 645, 1}, 0x11},
    {"zero width inside", 100, 100, 0, 1, 0, 0, 1, true, 100, 100, {0, 0, 0, 1}, 0x11},
    {"zero height inside", 100, 100, 320, 0, 0, 0, 1, true, 100, 100, {0, 0, 320, 0}, 0x11},
    {"source rectangle past the source",
     0,
     0,
     320,
     1,
     900,
     0,
     0,
     true,
     0,
     0,
     {900, 0, 1220, 1},
     0x10},
};

class ClipTest : public testsupport::DisplayTest, public ::testing::WithParamInterface<ClipCase> {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        // Wider than the screen, so every clipped source rectangle of the
        // table but the last lies inside it.
        source = testsupport::CreatePlainSurface(dd, 1024, 480);
        testsupport::WriteSurface(source, [](int x, int y) { return SourcePixel(x, y); });
        testsupport::WriteSurface(back, [](int, int) -> uint8_t { return 0; });
    }
    void TearDown() override {
        if (source != nullptr)
            source->Release();
        DisplayTest::TearDown();
    }
    static uint8_t SourcePixel(int x, int y) {
        return static_cast<uint8_t>(1 + (x * 7 + y * 13) % 250);
    }

    LPDIRECTDRAWSURFACE source = nullptr;
};

TEST_P(ClipTest, HandsBltFastOnlyWhatFallsOnScreen) {
    const ClipCase c = GetParam();
    testsupport::RecordingSurface dest(back);
    const HRESULT hr = BltFastClip(&dest, c.x, c.y, c.w, c.h, source, c.srcX, c.srcY, c.keySel);
    if (!c.drawn) {
        EXPECT_TRUE(dest.calls.empty());
        return;
    }
    ASSERT_EQ(dest.calls.size(), 1u);
    const testsupport::BltFastCall &call = dest.calls[0];
    EXPECT_EQ(call.x, c.toX);
    EXPECT_EQ(call.y, c.toY);
    EXPECT_EQ(call.rect.left, c.rect.left);
    EXPECT_EQ(call.rect.top, c.rect.top);
    EXPECT_EQ(call.rect.right, c.rect.right);
    EXPECT_EQ(call.rect.bottom, c.rect.bottom);
    EXPECT_EQ(call.flags, c.flags);
    EXPECT_EQ(call.src, source);

    // The pixels: exactly the part of the unclipped copy inside the screen,
    // or nothing where the platform refused the source rectangle.
    const bool insideSource = c.rect.right <= 1024;
    EXPECT_EQ(hr, insideSource ? DD_OK : DDERR_INVALIDRECT);
    const Pixels p = testsupport::ReadSurface(back);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const bool covered =
                insideSource && x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
            const uint8_t expected =
                covered ? SourcePixel(c.srcX + (x - c.x), c.srcY + (y - c.y)) : 0;
            ASSERT_EQ(p.at(x, y), expected) << "pixel " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ScreenEdges, ClipTest, ::testing::ValuesIn(kClipCases));

class ClipSafetyTest : public testsupport::DisplayTest {};

TEST_F(ClipSafetyTest, SelectorsOtherThanZeroAndOneCopyNothing) {
    testsupport::RecordingSurface dest(back);
    for (signed char sel : {static_cast<signed char>(2), static_cast<signed char>(-1),
                            static_cast<signed char>(127), static_cast<signed char>(-128)}) {
        EXPECT_EQ(BltFastClip(&dest, 0, 0, 320, 1, work, 0, 0, sel), DDERR_INVALIDPARAMS);
    }
    EXPECT_TRUE(dest.calls.empty());
}

TEST_F(ClipSafetyTest, ExtremeArgumentsNeverOverflowTheClip) {
    // Each of these would overflow 32-bit sums in a naive clip; none may
    // reach the platform with a wrapped rectangle or write a pixel.
    testsupport::WriteSurface(back, [](int, int) -> uint8_t { return 0; });
    testsupport::RecordingSurface dest(back);
    BltFastClip(&dest, INT_MIN, 0, INT_MAX, 1, work, 0, 0, 1);
    BltFastClip(&dest, 0, INT_MIN, 1, INT_MAX, work, 0, 0, 1);
    BltFastClip(&dest, 639, 0, INT_MAX, 1, work, 0, 0, 1);
    BltFastClip(&dest, 0, 0, 1, 1, work, INT_MAX, 0, 1);
    BltFastClip(&dest, -10, 0, 20, 1, work, INT_MAX - 5, 0, 1);
    for (const testsupport::BltFastCall &call : dest.calls) {
        EXPECT_LE(call.rect.left, call.rect.right);
        EXPECT_LE(call.rect.top, call.rect.bottom);
    }
    const Pixels p = testsupport::ReadSurface(back);
    // Only the copy that stays inside both surfaces draws: a 1-pixel column
    // at x 639 from source column 0 (INT_MAX wide, cut to 1).
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (!(x == 639 && y == 0)) {
                ASSERT_EQ(p.at(x, y), 0) << x << "," << y;
            }
        }
    }
}

TEST_F(ClipSafetyTest, ColourKeyOfOneIndexSkipsExactlyThatIndex) {
    testsupport::WriteSurface(work, [](int x, int) { return static_cast<uint8_t>(x % 4); });
    testsupport::WriteSurface(back, [](int, int) -> uint8_t { return 9; });
    ASSERT_EQ(SetSrcColorKey(work, 2), DD_OK);
    DDCOLORKEY key;
    ASSERT_EQ(work->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, 2u);
    EXPECT_EQ(key.dwColorSpaceHighValue, 2u);

    BltFastClip(back, 0, 0, 320, 1, work, 0, 0, 1);
    BltFastClip(back, 0, 1, 320, 1, work, 0, 0, 0);
    const Pixels p = testsupport::ReadSurface(back);
    for (int x = 0; x < 320; ++x) {
        EXPECT_EQ(p.at(x, 0), x % 4 == 2 ? 9 : x % 4) << "keyed, column " << x;
        EXPECT_EQ(p.at(x, 1), x % 4) << "unkeyed, column " << x;
    }
}

} // namespace
