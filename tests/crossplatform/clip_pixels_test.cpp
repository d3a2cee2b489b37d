// What the clipped row copy leaves on a 640x480 surface, judged by the
// pixels alone, so the same cases run against either platform's DirectDraw.
#include "display/display.h"
#include "tests/crossplatform/clip_cases.h"
#include "tests/crossplatform/surface_fixture.h"
#include "tests/support/surfaces.h"

#include <gtest/gtest.h>

namespace {

using crossplatform::ClipCase;
using crossplatform::kClipSourceWidth;
using testsupport::Pixels;

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
    LPDIRECTDRAWSURFACE source = Create8Bit(kClipSourceWidth, 480);
    ASSERT_NE(dest, nullptr);
    ASSERT_NE(source, nullptr);
    testsupport::WriteSurface(source, SourcePixel);
    testsupport::WriteSurface(dest, [](int, int) -> uint8_t { return 0; });

    BltFastClip(dest, c.x, c.y, c.w, c.h, source, c.srcX, c.srcY, c.keySel);

    // Exactly the part of the unclipped copy inside the screen, or nothing
    // where the platform refuses the source rectangle.
    const bool insideSource = c.called && c.rect.right <= kClipSourceWidth;
    const Pixels p = testsupport::ReadSurface(dest);
    ASSERT_EQ(p.width, 640);
    ASSERT_EQ(p.height, 480);
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

INSTANTIATE_TEST_SUITE_P(ScreenEdges, ClipPixels, ::testing::ValuesIn(crossplatform::kClipCases));

class ColourKey : public crossplatform::SurfaceTest {};

TEST_F(ColourKey, KeyOfOneIndexSkipsExactlyThatIndexInKeyedRowsOnly) {
    LPDIRECTDRAWSURFACE dest = Create8Bit(640, 480);
    LPDIRECTDRAWSURFACE work = Create8Bit(640, 480);
    ASSERT_NE(dest, nullptr);
    ASSERT_NE(work, nullptr);
    testsupport::WriteSurface(work, [](int x, int) { return static_cast<uint8_t>(x % 4); });
    // The demo's key, and one that is not the first index.
    for (int index : {0, 2}) {
        testsupport::WriteSurface(dest, [](int, int) -> uint8_t { return 9; });
        ASSERT_EQ(SetSrcColorKey(work, index), DD_OK);
        DDCOLORKEY key;
        ASSERT_EQ(work->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        EXPECT_EQ(key.dwColorSpaceLowValue, static_cast<DWORD>(index));
        EXPECT_EQ(key.dwColorSpaceHighValue, static_cast<DWORD>(index));

        BltFastClip(dest, 0, 0, 320, 1, work, 0, 0, 1);
        BltFastClip(dest, 0, 1, 320, 1, work, 0, 0, 0);

        const Pixels p = testsupport::ReadSurface(dest);
        for (int x = 0; x < 320; ++x) {
            EXPECT_EQ(p.at(x, 0), x % 4 == index ? 9 : x % 4)
                << "key " << index << ", column " << x;
            EXPECT_EQ(p.at(x, 1), x % 4) << "unkeyed, key " << index << ", column " << x;
        }
    }
}

} // namespace
