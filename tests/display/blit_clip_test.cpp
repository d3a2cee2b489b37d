// The clipped row copy: the arguments that reach BltFast, and arguments
// that must never reach it. What arrives on the surface, and the colour
// key, are tests/crossplatform/clip_pixels_test.cpp's, on both platforms.
#include "display/display.h"
#include "tests/crossplatform/clip_cases.h"
#include "tests/support/display_fixture.h"
#include "tests/support/recording_surface.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

using crossplatform::ClipCase;
using testsupport::Pixels;

class ClipTest : public testsupport::DisplayTest, public ::testing::WithParamInterface<ClipCase> {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        source = testsupport::CreatePlainSurface(dd, crossplatform::kClipSourceWidth, 480);
    }
    void TearDown() override {
        if (source != nullptr)
            source->Release();
        DisplayTest::TearDown();
    }

    LPDIRECTDRAWSURFACE source = nullptr;
};

TEST_P(ClipTest, HandsBltFastOnlyWhatFallsOnScreen) {
    const ClipCase c = GetParam();
    testsupport::RecordingSurface dest(back);
    const HRESULT hr = BltFastClip(&dest, c.x, c.y, c.w, c.h, source, c.srcX, c.srcY, c.keySel);
    if (!c.called) {
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
    // BltFast's answer comes back: a source rectangle past the source is
    // refused. (The pixels are clip_pixels_test.cpp's.)
    EXPECT_EQ(hr, c.rect.right <= crossplatform::kClipSourceWidth ? DD_OK : DDERR_INVALIDRECT);
}

INSTANTIATE_TEST_SUITE_P(ScreenEdges, ClipTest, ::testing::ValuesIn(crossplatform::kClipCases));

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

} // namespace
