#include "tests/crossplatform/surface_fixture.h"

#include <cstring>

namespace crossplatform {

void SurfaceTest::SetUp() {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DD_OK);
}

void SurfaceTest::TearDown() {
    for (auto it = owned_.rbegin(); it != owned_.rend(); ++it)
        (*it)->Release();
    if (dd != nullptr)
        dd->Release();
}

LPDIRECTDRAWSURFACE SurfaceTest::Create8Bit(DWORD width, DWORD height) {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    desc.ddpfPixelFormat.dwSize = sizeof(desc.ddpfPixelFormat);
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
    desc.ddpfPixelFormat.dwRGBBitCount = 8;
    LPDIRECTDRAWSURFACE surface = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
    if (surface != nullptr)
        owned_.push_back(surface);
    return surface;
}

LPDIRECTDRAWPALETTE SurfaceTest::CreatePalette() {
    PALETTEENTRY entries[256];
    std::memset(entries, 0, sizeof(entries));
    LPDIRECTDRAWPALETTE palette = nullptr;
    // DDPCAPS_ALLOW256: Windows' DirectDraw pins entries 0 and 255 of a
    // palette without it, and every entry must read back as set.
    EXPECT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr),
              DD_OK);
    if (palette != nullptr)
        owned_.push_back(palette);
    return palette;
}

} // namespace crossplatform
