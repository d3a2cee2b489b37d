#include "tests/support/display_fixture.h"

#include <cstring>

namespace testsupport {

void DisplayTest::SetUp() {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(window.hwnd(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 8), DD_OK);
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
    DDSCAPS caps = {DDSCAPS_BACKBUFFER};
    ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    work = CreatePlainSurface(dd, 640, 480);
    ASSERT_NE(work, nullptr);
    PALETTEENTRY entries[256] = {};
    ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
    ASSERT_EQ(primary->SetPalette(palette), DD_OK);
}

void DisplayTest::TearDown() {
    if (palette != nullptr)
        palette->Release();
    if (primary != nullptr)
        primary->Release();
    if (work != nullptr)
        work->Release();
    if (dd != nullptr)
        dd->Release();
}

} // namespace testsupport
