#include "fuzz/fuzz_display.h"

#include <cstring>

namespace fuzzsupport {

void MakeTestPalette(PALETTEENTRY out[256]) {
    for (int i = 0; i < 256; ++i) {
        PALETTEENTRY &e = out[i];
        if (i < 216) {
            e.peRed = static_cast<BYTE>(i / 36 * 51);
            e.peGreen = static_cast<BYTE>(i / 6 % 6 * 51);
            e.peBlue = static_cast<BYTE>(i % 6 * 51);
        } else {
            const BYTE grey = static_cast<BYTE>((i - 216) * 255 / 39);
            e.peRed = e.peGreen = e.peBlue = grey;
        }
        e.peFlags = 0;
    }
}

FuzzDisplay::FuzzDisplay() {
    if (DirectDrawCreate(nullptr, &dd, nullptr) != DD_OK)
        return;
    if (dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL) != DD_OK)
        return;
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 640;
    desc.dwHeight = 480;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    if (dd->CreateSurface(&desc, &surface, nullptr) != DD_OK)
        return;
    PALETTEENTRY entries[256];
    MakeTestPalette(entries);
    if (dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr) != DD_OK)
        return;
    if (surface->SetPalette(palette) != DD_OK) {
        palette->Release();
        palette = nullptr;
    }
}

FuzzDisplay::~FuzzDisplay() {
    if (surface != nullptr)
        surface->Release();
    if (palette != nullptr)
        palette->Release();
    if (dd != nullptr)
        dd->Release();
}

} // namespace fuzzsupport
