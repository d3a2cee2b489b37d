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
    EXPECT_EQ(dd->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
    if (palette != nullptr)
        owned_.push_back(palette);
    return palette;
}

void SurfaceTest::Fill(LPDIRECTDRAWSURFACE surface, const std::function<uint8_t(int, int)> &value) {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    auto *bits = static_cast<uint8_t *>(desc.lpSurface);
    for (int y = 0; y < static_cast<int>(desc.dwHeight); ++y)
        for (int x = 0; x < static_cast<int>(desc.dwWidth); ++x)
            bits[y * desc.lPitch + x] = value(x, y);
    surface->Unlock(desc.lpSurface);
}

std::vector<uint8_t> SurfaceTest::Read(LPDIRECTDRAWSURFACE surface, int *width) {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    std::vector<uint8_t> pixels;
    if (surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) {
        ADD_FAILURE() << "Lock failed";
        return pixels;
    }
    const auto *bits = static_cast<const uint8_t *>(desc.lpSurface);
    for (DWORD y = 0; y < desc.dwHeight; ++y)
        pixels.insert(pixels.end(), bits + y * desc.lPitch, bits + y * desc.lPitch + desc.dwWidth);
    surface->Unlock(desc.lpSurface);
    if (width != nullptr)
        *width = static_cast<int>(desc.dwWidth);
    return pixels;
}

} // namespace crossplatform
