// The portable DirectDraw object: the exclusive mode, creation rules,
// palettes, and what each release really ends.
#include "platform/portable/ddraw/ddraw_display.h"
#include "platform/portable/ddraw/ddraw_objects.h"
#include "tests/support/display_fixture.h"
#include "tests/support/headless_screen.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using testsupport::TestWindow;

DDSURFACEDESC PrimaryDesc(DWORD backBuffers) {
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = backBuffers;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    return desc;
}

TEST(DirectDrawObject, CooperativeLevelNeedsAValidFlagSetAndWindow) {
    TestWindow window;
    LPDIRECTDRAW dd = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    EXPECT_EQ(dd->SetCooperativeLevel(window.hwnd(), DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->SetCooperativeLevel(window.hwnd(), DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->SetCooperativeLevel(window.hwnd(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(dd->Release(), 0u);
}

TEST(DirectDrawObject, OneObjectHoldsTheDisplayAtATime) {
    TestWindow a, b;
    LPDIRECTDRAW first = nullptr, second = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
    ASSERT_EQ(DirectDrawCreate(nullptr, &second, nullptr), DD_OK);
    ASSERT_EQ(first->SetCooperativeLevel(a.hwnd(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(second->SetCooperativeLevel(b.hwnd(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
              DDERR_EXCLUSIVEMODEALREADYSET);
    first->Release();
    EXPECT_EQ(second->SetCooperativeLevel(b.hwnd(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    second->Release();
}

TEST(DirectDrawObject, SurfacesNeedTheCooperativeLevelAndThePrimaryAMode) {
    TestWindow window;
    LPDIRECTDRAW dd = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    DDSURFACEDESC desc = PrimaryDesc(1);
    LPDIRECTDRAWSURFACE s = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DDERR_NOCOOPERATIVELEVELSET);
    EXPECT_EQ(s, nullptr);
    ASSERT_EQ(dd->SetCooperativeLevel(window.hwnd(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(dd->SetDisplayMode(640, 480, 16), DDERR_INVALIDMODE);
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 8), DD_OK);
    desc.dwSize = 108 + 4;
    EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DDERR_INVALIDPARAMS);
    desc = PrimaryDesc(0);
    EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DDERR_INVALIDCAPS);
    desc = PrimaryDesc(1);
    ASSERT_EQ(dd->CreateSurface(&desc, &s, nullptr), DD_OK);
    LPDIRECTDRAWSURFACE again = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &again, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);
    EXPECT_EQ(again, nullptr);
    s->Release();
    dd->Release();
}

TEST(DirectDrawObject, OffscreenSurfacesNeedASize) {
    TestWindow window;
    LPDIRECTDRAW dd = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(window.hwnd(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH;
    desc.dwWidth = 10;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    LPDIRECTDRAWSURFACE s = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DDERR_INVALIDPARAMS);
    desc.dwFlags |= DDSD_HEIGHT;
    desc.dwHeight = 100000;
    EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DDERR_OUTOFMEMORY);
    EXPECT_EQ(s, nullptr);
    dd->Release();
}

class ReleaseTest : public testsupport::DisplayTest {};

TEST_F(ReleaseTest, EachReleaseEndsWhatItOwnsInTheDemosOrder) {
    // device, primary, back buffer, work surface, palette
    ASSERT_EQ(portable::LiveDirectDrawObjects(), 5u);
    // The primary holds the palette too, so releasing ours ends nothing yet.
    EXPECT_EQ(palette->Release(), 1u);
    palette = nullptr;
    EXPECT_EQ(portable::LiveDirectDrawObjects(), 5u);
    // The primary ends with its back buffer and its hold on the palette.
    EXPECT_EQ(primary->Release(), 0u);
    primary = nullptr;
    EXPECT_EQ(portable::LiveDirectDrawObjects(), 2u);
    EXPECT_EQ(work->Release(), 0u);
    work = nullptr;
    EXPECT_EQ(portable::LiveDirectDrawObjects(), 1u);
    EXPECT_TRUE(portable::ScreenHeld());
    EXPECT_EQ(dd->Release(), 0u);
    dd = nullptr;
    EXPECT_EQ(portable::LiveDirectDrawObjects(), 0u);
    EXPECT_FALSE(portable::ScreenHeld()); // the display is given back
}

TEST_F(ReleaseTest, ThePrimaryIsForgottenWhenItEndsAndOnlyThen) {
    testsupport::HeadlessScreen screen;
    EXPECT_EQ(work->Release(), 0u);
    work = nullptr;
    PALETTEENTRY entries[256] = {};
    ASSERT_EQ(palette->SetEntries(0, 0, 256, entries), DD_OK);
    EXPECT_EQ(screen.shows, 1) << "palette changes still reach the screen";
    EXPECT_EQ(primary->Release(), 0u);
    DDSURFACEDESC desc = PrimaryDesc(1);
    EXPECT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK) << "a new primary may be made";
}

TEST_F(ReleaseTest, ReferencesCountUpAndDown) {
    EXPECT_EQ(work->AddRef(), 2u);
    EXPECT_EQ(work->Release(), 1u);
    LPDIRECTDRAWSURFACE again = nullptr;
    DDSCAPS caps = {DDSCAPS_BACKBUFFER};
    ASSERT_EQ(primary->GetAttachedSurface(&caps, &again), DD_OK);
    EXPECT_EQ(again, back);
    EXPECT_EQ(back->Release(), 1u); // the chain still holds it
    EXPECT_EQ(back->Release(), 0u);
    EXPECT_EQ(portable::LiveDirectDrawObjects(), 5u); // ends only with the primary
}

TEST_F(ReleaseTest, SurfacesOutlivingTheirDeviceStayUsable) {
    LPDIRECTDRAWSURFACE keep = work;
    keep->AddRef();
    palette->Release();
    primary->Release();
    work->Release();
    dd->Release();
    palette = nullptr;
    primary = nullptr;
    work = nullptr;
    dd = nullptr;
    DDBLTFX fx = {};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = 3;
    EXPECT_EQ(keep->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    EXPECT_EQ(testsupport::ReadSurface(keep).at(0, 0), 3);
    EXPECT_EQ(keep->Release(), 0u);
}

class PaletteTest : public testsupport::DisplayTest {};

TEST_F(PaletteTest, HoldsTheTableItWasCreatedFrom) {
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i)
        entries[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), 7, 0};
    LPDIRECTDRAWPALETTE p = nullptr;
    ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT, entries, &p, nullptr), DD_OK);
    PALETTEENTRY back[256];
    ASSERT_EQ(p->GetEntries(0, 0, 256, back), DD_OK);
    EXPECT_EQ(std::memcmp(back, entries, sizeof(back)), 0);
    p->Release();
}

TEST_F(PaletteTest, SetEntriesChangesAll256IncludingTheEnds) {
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; ++i)
        entries[i] = {static_cast<BYTE>(i), 1, 2, PC_RESERVED};
    ASSERT_EQ(palette->SetEntries(0, 0, 256, entries), DD_OK);
    PALETTEENTRY got[256];
    ASSERT_EQ(palette->GetEntries(0, 0, 256, got), DD_OK);
    EXPECT_EQ(got[0].peRed, 0);
    EXPECT_EQ(got[0].peGreen, 1);
    EXPECT_EQ(got[255].peRed, 255);
    EXPECT_EQ(got[255].peBlue, 2);
}

TEST_F(PaletteTest, ARangeFromAStartingEntryChangesThoseEntriesAlone) {
    PALETTEENTRY two[2] = {{10, 20, 30, 0}, {40, 50, 60, 0}};
    ASSERT_EQ(palette->SetEntries(0, 100, 2, two), DD_OK);
    PALETTEENTRY got[256];
    ASSERT_EQ(palette->GetEntries(0, 0, 256, got), DD_OK);
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY expected = i == 100 ? two[0] : i == 101 ? two[1] : PALETTEENTRY{};
        EXPECT_EQ(std::memcmp(&got[i], &expected, sizeof(expected)), 0) << "entry " << i;
    }
    PALETTEENTRY range[2] = {};
    ASSERT_EQ(palette->GetEntries(0, 100, 2, range), DD_OK);
    EXPECT_EQ(std::memcmp(range, two, sizeof(two)), 0);
}

TEST_F(PaletteTest, RefusesRangesPastTheTable) {
    PALETTEENTRY entries[256] = {};
    EXPECT_EQ(palette->SetEntries(0, 200, 57, entries), DDERR_INVALIDPARAMS);
    EXPECT_EQ(palette->SetEntries(0, 0xFFFFFFFFu, 2, entries), DDERR_INVALIDPARAMS);
    EXPECT_EQ(palette->SetEntries(1, 0, 1, entries), DDERR_INVALIDPARAMS);
    EXPECT_EQ(palette->SetEntries(0, 0, 1, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_4BIT, entries, nullptr, nullptr),
              DDERR_INVALIDPARAMS);
}

TEST(DisplayPresentation, FlipsAndPaletteChangesReachTheScreenAtOnce) {
    testsupport::HeadlessScreen screen;
    {
        testsupport::TestWindow window;
        LPDIRECTDRAW dd = nullptr;
        ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
        ASSERT_EQ(dd->SetCooperativeLevel(window.hwnd(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
                  DD_OK);
        ASSERT_EQ(dd->SetDisplayMode(640, 480, 8), DD_OK);
        EXPECT_EQ(screen.enters, 1);
        EXPECT_EQ(screen.owner, window.hwnd());
        EXPECT_EQ(screen.modeWidth, 640);
        DDSURFACEDESC desc = PrimaryDesc(1);
        LPDIRECTDRAWSURFACE primary = nullptr, back = nullptr;
        ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
        DDSCAPS caps = {DDSCAPS_BACKBUFFER};
        ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
        PALETTEENTRY entries[256] = {};
        LPDIRECTDRAWPALETTE palette = nullptr;
        ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
        ASSERT_EQ(primary->SetPalette(palette), DD_OK);

        testsupport::WriteSurface(back, [](int, int) -> uint8_t { return 42; });
        const int before = screen.shows;
        ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
        EXPECT_EQ(screen.shows, before + 1);
        ASSERT_EQ(screen.Last().pixels.size(), 640u * 480u);
        EXPECT_EQ(screen.Last().pixels[0], 42);

        entries[42] = {10, 20, 30, 0};
        ASSERT_EQ(palette->SetEntries(0, 0, 256, entries), DD_OK);
        EXPECT_EQ(screen.shows, before + 2);
        EXPECT_EQ(screen.Last().palette[42].peGreen, 20);

        palette->Release();
        primary->Release();
        EXPECT_EQ(screen.leaves, 0);
        dd->Release();
        EXPECT_EQ(screen.leaves, 1); // ending the object gave the display back
    }
}

} // namespace
