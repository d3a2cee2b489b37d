// Display set-up, clear, flip and teardown.
#include "display/display.h"

#include <cstring>

LPDIRECTDRAW g_pDD = nullptr;
LPDIRECTDRAWSURFACE g_pDDSPrimary = nullptr;
LPDIRECTDRAWSURFACE g_pDDSBack = nullptr;
LPDIRECTDRAWSURFACE g_pDDSWork = nullptr;
LPDIRECTDRAWPALETTE g_pDDPal = nullptr;
PALETTEENTRY g_PalEntries[256];

namespace {

const DWORD kScreenWidth = 640;
const DWORD kScreenHeight = 480;
const DWORD kBitsPerPixel = 8;

} // namespace

int InitDirectDraw(HWND hWnd) {
    if (DirectDrawCreate(nullptr, &g_pDD, nullptr) != DD_OK)
        return 0;
    if (g_pDD->SetCooperativeLevel(hWnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN) != DD_OK)
        return 0;
    if (g_pDD->SetDisplayMode(kScreenWidth, kScreenHeight, kBitsPerPixel) != DD_OK)
        return 0;

    // The primary takes the mode's size and format; it flips with one back
    // buffer.
    DDSURFACEDESC ddsd;
    std::memset(&ddsd, 0, sizeof(ddsd));
    ddsd.dwSize = static_cast<DWORD>(sizeof(ddsd));
    ddsd.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    ddsd.dwBackBufferCount = 1;
    ddsd.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    if (g_pDD->CreateSurface(&ddsd, &g_pDDSPrimary, nullptr) != DD_OK)
        return 0;

    DDSCAPS caps;
    std::memset(&caps, 0, sizeof(caps));
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (g_pDDSPrimary->GetAttachedSurface(&caps, &g_pDDSBack) != DD_OK)
        return 0;

    // The work surface: the screen's size and pixel format, wherever the
    // driver likes to put it.
    std::memset(&ddsd, 0, sizeof(ddsd));
    ddsd.dwSize = static_cast<DWORD>(sizeof(ddsd));
    ddsd.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    ddsd.dwHeight = kScreenHeight;
    ddsd.dwWidth = kScreenWidth;
    ddsd.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    if (g_pDD->CreateSurface(&ddsd, &g_pDDSWork, nullptr) != DD_OK)
        return 0;

    // Still all zero: the screen stays black until the picture's colours
    // are loaded.
    if (g_pDD->CreatePalette(DDPCAPS_8BIT, g_PalEntries, &g_pDDPal, nullptr) != DD_OK)
        return 0;
    g_pDDSPrimary->SetPalette(g_pDDPal);
    return 1;
}

int ReleaseDirectDraw() {
    if (g_pDDPal != nullptr) {
        g_pDDPal->Release();
        g_pDDPal = nullptr;
    }
    if (g_pDDSPrimary != nullptr) {
        g_pDDSPrimary->Release(); // ends the back buffer with it
        g_pDDSPrimary = nullptr;
    }
    g_pDDSBack = nullptr;
    if (g_pDDSWork != nullptr) {
        g_pDDSWork->Release();
        g_pDDSWork = nullptr;
    }
    if (g_pDD != nullptr) {
        // Ends the exclusive mode and the display mode with it.
        g_pDD->Release();
        g_pDD = nullptr;
    }
    return 1;
}

HRESULT ClearSurface(LPDIRECTDRAWSURFACE surface) {
    DDBLTFX fx;
    std::memset(&fx, 0, sizeof(fx));
    fx.dwSize = static_cast<DWORD>(sizeof(fx));
    fx.dwFillColor = 0;
    return surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

HRESULT FlipScreen() {
    return g_pDDSPrimary->Flip(nullptr, DDFLIP_WAIT);
}
