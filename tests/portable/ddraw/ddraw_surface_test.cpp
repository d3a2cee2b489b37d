// The portable DirectDraw's surfaces: fills, fast copies, colour keys,
// flips, locks and drawing contexts, checked on the surface memory.
#include "tests/support/display_fixture.h"

#include <gtest/gtest.h>

namespace {

using testsupport::Pixels;
using testsupport::ReadSurface;
using testsupport::WriteSurface;

class SurfaceTest : public testsupport::DisplayTest {};

DDBLTFX FillWith(DWORD colour) {
    DDBLTFX fx = {};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = colour;
    return fx;
}

TEST_F(SurfaceTest, NewSurfacesAreZeroFilled) {
    for (LPDIRECTDRAWSURFACE s : {primary, back, work}) {
        const Pixels p = ReadSurface(s);
        EXPECT_EQ(p.width, 640);
        EXPECT_EQ(p.height, 480);
        EXPECT_EQ(std::count(p.bytes.begin(), p.bytes.end(), 0), 640 * 480);
    }
}

TEST_F(SurfaceTest, ColourFillUsesTheLowByteOnEveryPixel) {
    DDBLTFX fx = FillWith(0x1234);
    ASSERT_EQ(work->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    const Pixels p = ReadSurface(work);
    EXPECT_EQ(std::count(p.bytes.begin(), p.bytes.end(), 0x34), 640 * 480);
}

TEST_F(SurfaceTest, ColourFillOfARectangleLeavesTheRest) {
    DDBLTFX fx = FillWith(7);
    RECT r = {10, 20, 30, 25};
    ASSERT_EQ(work->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    const Pixels p = ReadSurface(work);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(p.at(x, y), (x >= 10 && x < 30 && y >= 20 && y < 25) ? 7 : 0);
}

TEST_F(SurfaceTest, ColourFillRefusesBadArguments) {
    DDBLTFX fx = FillWith(7);
    RECT outside = {600, 0, 641, 1};
    EXPECT_EQ(work->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(work->Blt(&outside, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
    const Pixels p = ReadSurface(work);
    EXPECT_EQ(std::count(p.bytes.begin(), p.bytes.end(), 0), 640 * 480);
}

struct KeyCase {
    const char *name;
    DWORD keyFlags; // SetColorKey flags, 0 for none
    DDCOLORKEY key;
    DWORD bltFlags;
    uint8_t (*expected)(uint8_t src, uint8_t dst);
};

std::ostream &operator<<(std::ostream &os, const KeyCase &c) {
    return os << c.name;
}

const KeyCase kKeyCases[] = {
    {"no key", 0, {}, DDBLTFAST_NOCOLORKEY, [](uint8_t s, uint8_t) { return s; }},
    {"source key ignored without the flag",
     DDCKEY_SRCBLT,
     {3, 3},
     DDBLTFAST_NOCOLORKEY,
     [](uint8_t s, uint8_t) { return s; }},
    {"source key of one index",
     DDCKEY_SRCBLT,
     {3, 3},
     DDBLTFAST_SRCCOLORKEY,
     [](uint8_t s, uint8_t d) { return s == 3 ? d : s; }},
    {"source key range",
     DDCKEY_SRCBLT | DDCKEY_COLORSPACE,
     {2, 5},
     DDBLTFAST_SRCCOLORKEY,
     [](uint8_t s, uint8_t d) { return (s >= 2 && s <= 5) ? d : s; }},
    {"source flag without a key copies all",
     0,
     {},
     DDBLTFAST_SRCCOLORKEY,
     [](uint8_t s, uint8_t) { return s; }},
};

class KeyedCopy : public SurfaceTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyedCopy, CopiesExactlyTheUnkeyedPixels) {
    const KeyCase c = GetParam();
    WriteSurface(work, [](int x, int y) { return static_cast<uint8_t>((x + y) % 8); });
    WriteSurface(back, [](int x, int) { return static_cast<uint8_t>(100 + x % 50); });
    if (c.keyFlags != 0) {
        DDCOLORKEY key = c.key;
        ASSERT_EQ(work->SetColorKey(c.keyFlags, &key), DD_OK);
    }
    RECT r = {0, 0, 640, 480};
    ASSERT_EQ(back->BltFast(0, 0, work, &r, c.bltFlags | DDBLTFAST_WAIT), DD_OK);
    const Pixels p = ReadSurface(back);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(p.at(x, y), c.expected(static_cast<uint8_t>((x + y) % 8),
                                             static_cast<uint8_t>(100 + x % 50)))
                << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyedCopy, ::testing::ValuesIn(kKeyCases));

TEST_F(SurfaceTest, DestinationKeyWritesOnlyOverTheKeyedPixels) {
    WriteSurface(work, [](int, int) -> uint8_t { return 9; });
    WriteSurface(back, [](int x, int) { return static_cast<uint8_t>(x % 3); });
    DDCOLORKEY key = {1, 1};
    ASSERT_EQ(back->SetColorKey(DDCKEY_DESTBLT, &key), DD_OK);
    ASSERT_EQ(back->BltFast(0, 0, work, nullptr, DDBLTFAST_DESTCOLORKEY), DD_OK);
    const Pixels p = ReadSurface(back);
    for (int x = 0; x < 640; ++x)
        EXPECT_EQ(p.at(x, 7), x % 3 == 1 ? 9 : x % 3);
}

struct RefusedCase {
    const char *name;
    DWORD x, y;
    RECT rect;
};

std::ostream &operator<<(std::ostream &os, const RefusedCase &c) {
    return os << c.name;
}

const RefusedCase kRefused[] = {
    {"source right past the surface", 0, 0, {600, 0, 641, 1}},
    {"source bottom past the surface", 0, 0, {0, 470, 10, 481}},
    {"negative source left", 0, 0, {-1, 0, 10, 1}},
    {"reversed source rectangle", 0, 0, {10, 0, 5, 1}},
    {"destination past the right edge", 631, 0, {0, 0, 10, 1}},
    {"destination past the bottom", 0, 480, {0, 0, 10, 1}},
    {"destination from a negative x", static_cast<DWORD>(-1), 0, {0, 0, 10, 1}},
};

class RefusedCopy : public SurfaceTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedCopy, IsRefusedWholeAndWritesNothing) {
    const RefusedCase c = GetParam();
    WriteSurface(work, [](int, int) -> uint8_t { return 5; });
    RECT r = c.rect;
    EXPECT_EQ(back->BltFast(c.x, c.y, work, &r, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    const Pixels p = ReadSurface(back);
    EXPECT_EQ(std::count(p.bytes.begin(), p.bytes.end(), 0), 640 * 480);
}

INSTANTIATE_TEST_SUITE_P(Rectangles, RefusedCopy, ::testing::ValuesIn(kRefused));

TEST_F(SurfaceTest, EmptyRectangleCopiesNothing) {
    WriteSurface(work, [](int, int) -> uint8_t { return 5; });
    RECT empty = {10, 10, 10, 11};
    EXPECT_EQ(back->BltFast(0, 0, work, &empty, DDBLTFAST_WAIT), DD_OK);
    const Pixels p = ReadSurface(back);
    EXPECT_EQ(std::count(p.bytes.begin(), p.bytes.end(), 0), 640 * 480);
}

TEST_F(SurfaceTest, CopyWithinOneSurfaceReadsBeforeItWrites) {
    WriteSurface(work, [](int x, int y) { return static_cast<uint8_t>((x + 3 * y) % 251); });
    RECT r = {0, 0, 100, 100};
    // Down and to the right by 1: a naive forward copy would smear row 0.
    ASSERT_EQ(work->BltFast(1, 1, work, &r, DDBLTFAST_WAIT), DD_OK);
    const Pixels p = ReadSurface(work);
    for (int y = 1; y <= 100; ++y)
        for (int x = 1; x <= 100; ++x)
            ASSERT_EQ(p.at(x, y), (x - 1 + 3 * (y - 1)) % 251) << x << "," << y;
}

TEST_F(SurfaceTest, FlipShowsTheBackBufferAndKeepsBothPointers) {
    WriteSurface(back, [](int, int) -> uint8_t { return 1; });
    WriteSurface(primary, [](int, int) -> uint8_t { return 2; });
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(ReadSurface(primary).at(5, 5), 1); // the visible buffer holds the drawn frame
    EXPECT_EQ(ReadSurface(back).at(5, 5), 2);    // the hidden one an older frame
    ASSERT_EQ(primary->Flip(back, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(ReadSurface(primary).at(5, 5), 2);
}

TEST_F(SurfaceTest, AChainOfThreeShowsEachBufferInTurn) {
    primary->Release(); // the fixture's chain of two, for one of three
    back = nullptr;
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 2;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
    LPDIRECTDRAWSURFACE chain[3] = {primary, nullptr, nullptr};
    DDSCAPS backCaps = {DDSCAPS_BACKBUFFER}, flipCaps = {DDSCAPS_FLIP};
    ASSERT_EQ(primary->GetAttachedSurface(&backCaps, &chain[1]), DD_OK);
    ASSERT_EQ(chain[1]->GetAttachedSurface(&flipCaps, &chain[2]), DD_OK);
    for (int i = 0; i < 3; ++i) {
        DDBLTFX fx = FillWith(static_cast<DWORD>(i + 1));
        ASSERT_EQ(chain[i]->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    }
    // What the primary, the back buffer and the one behind it hold after each
    // flip: each frame moves one place towards the screen.
    const int held[4][3] = {{1, 2, 3}, {2, 3, 1}, {3, 1, 2}, {1, 2, 3}};
    for (int flips = 0; flips < 4; ++flips) {
        if (flips > 0) {
            ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(ReadSurface(chain[i]).at(5, 5), held[flips][i])
                << "buffer " << i << " after " << flips << " flips";
    }
}

TEST_F(SurfaceTest, GetAttachedSurfaceFindsOnlyTheNextSurfaceWithTheCaps) {
    const struct {
        const char *what;
        LPDIRECTDRAWSURFACE from;
        DWORD caps;
        LPDIRECTDRAWSURFACE found; // null: DDERR_NOTFOUND
    } cases[] = {
        {"the back buffer", primary, DDSCAPS_BACKBUFFER, back},
        {"the chain's end leads back to the primary", back, DDSCAPS_PRIMARYSURFACE, primary},
        {"caps the back buffer lacks", primary, DDSCAPS_PRIMARYSURFACE, nullptr},
        {"caps the primary lacks", back, DDSCAPS_BACKBUFFER, nullptr},
        {"nothing attached", work, DDSCAPS_BACKBUFFER, nullptr},
    };
    for (const auto &c : cases) {
        DDSCAPS caps = {c.caps};
        LPDIRECTDRAWSURFACE got = work;
        EXPECT_EQ(c.from->GetAttachedSurface(&caps, &got), c.found ? DD_OK : DDERR_NOTFOUND)
            << c.what;
        EXPECT_EQ(got, c.found) << c.what;
        if (got != nullptr)
            got->Release();
    }
}

TEST_F(SurfaceTest, OnlyTheFlipChainsRootFlips) {
    EXPECT_EQ(work->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
    EXPECT_EQ(primary->Flip(work, DDFLIP_WAIT), DDERR_INVALIDPARAMS);
}

TEST_F(SurfaceTest, DrawingContextAndLockExcludeEachOther) {
    HDC dc = nullptr;
    ASSERT_EQ(work->GetDC(&dc), DD_OK);
    ASSERT_NE(dc, nullptr);
    HDC second = nullptr;
    EXPECT_EQ(work->GetDC(&second), DDERR_DCALREADYCREATED);
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(work->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(back->BltFast(0, 0, work, nullptr, DDBLTFAST_WAIT), DDERR_SURFACEBUSY);
    EXPECT_EQ(work->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(work->ReleaseDC(dc), DDERR_NODC);

    ASSERT_EQ(work->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(work->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(work->GetDC(&dc), DDERR_SURFACEBUSY);
    EXPECT_EQ(work->Unlock(desc.lpSurface), DD_OK);
    EXPECT_EQ(work->Unlock(nullptr), DDERR_NOTLOCKED);
}

TEST_F(SurfaceTest, LockRefusesAWrongStructureSize) {
    DDSURFACEDESC desc = {};
    desc.dwSize = 108 + 4; // neither this build's nor any other's
    EXPECT_EQ(work->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(SurfaceTest, DescribesItselfAsAn8BitSurface) {
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(work->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 640u);
    EXPECT_EQ(desc.dwHeight, 480u);
    EXPECT_GE(desc.lPitch, 640);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 8u);
    EXPECT_TRUE(desc.ddpfPixelFormat.dwFlags & DDPF_PALETTEINDEXED8);
    EXPECT_TRUE(desc.ddsCaps.dwCaps & DDSCAPS_OFFSCREENPLAIN);
}

} // namespace
