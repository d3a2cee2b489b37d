// A small program written against the platform's window, drawing and clock
// services alone: it opens a pop-up window, takes the display in exclusive
// 640x480x8 mode, and shows a palettized frame (every colour of its palette
// as a bar, grey steps, and, when a BMP file is named on the command line,
// that picture drawn through GDI at 200x210) until a key or a close request
// ends it with exit code 1.
#include "platform/platform.h"
#include "tests/support/surface_rows.h"

#include <cstdio>
#include <cstring>

namespace {

LPDIRECTDRAW g_pDD = nullptr;
LPDIRECTDRAWSURFACE g_pDDSPrimary = nullptr;
LPDIRECTDRAWSURFACE g_pDDSBack = nullptr;
LPDIRECTDRAWPALETTE g_pDDPal = nullptr;
HBITMAP g_hPicture = nullptr;

const DWORD kFrameMilliseconds = 16;

// A 6x6x6 colour cube in indices 0-215 (index 0 black), then 40 greys.
void FillPalette(PALETTEENTRY entries[256]) {
    for (int i = 0; i < 216; ++i)
        entries[i] = {BYTE(i / 36 * 51), BYTE(i / 6 % 6 * 51), BYTE(i % 6 * 51), 0};
    for (int i = 216; i < 256; ++i) {
        const BYTE grey = BYTE(8 + (i - 216) * 6);
        entries[i] = {grey, grey, grey, 0};
    }
}

bool InitDisplay(HWND hWnd) {
    if (DirectDrawCreate(nullptr, &g_pDD, nullptr) != DD_OK)
        return false;
    if (g_pDD->SetCooperativeLevel(hWnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN) != DD_OK)
        return false;
    if (g_pDD->SetDisplayMode(640, 480, 8) != DD_OK)
        return false;
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    if (g_pDD->CreateSurface(&desc, &g_pDDSPrimary, nullptr) != DD_OK)
        return false;
    DDSCAPS caps = {DDSCAPS_BACKBUFFER};
    if (g_pDDSPrimary->GetAttachedSurface(&caps, &g_pDDSBack) != DD_OK)
        return false;
    PALETTEENTRY entries[256];
    FillPalette(entries);
    if (g_pDD->CreatePalette(DDPCAPS_8BIT, entries, &g_pDDPal, nullptr) != DD_OK)
        return false;
    return g_pDDSPrimary->SetPalette(g_pDDPal) == DD_OK;
}

void ReleaseDisplay() {
    if (g_pDDPal != nullptr)
        g_pDDPal->Release();
    if (g_pDDSPrimary != nullptr)
        g_pDDSPrimary->Release(); // takes its back buffer with it
    if (g_pDD != nullptr)
        g_pDD->Release(); // gives the display back
    g_pDDPal = nullptr;
    g_pDDSPrimary = nullptr;
    g_pDDSBack = nullptr;
    g_pDD = nullptr;
}

// The still part of the frame: the palette's 256 colours as a bar across
// the top, the 40 greys as steps down the left, a moving block below.
void DrawFrame(LPDIRECTDRAWSURFACE surface, DWORD frame) {
    const int block = static_cast<int>(frame % 608);
    testsupport::ForEachRow(surface, 0, [&](BYTE *row, int y, int width) {
        for (int x = 0; x < width; ++x) {
            BYTE index = 0;
            if (y >= 16 && y < 96)
                index = static_cast<BYTE>(x * 256 / 640);
            else if (y >= 112 && y < 432 && x >= 16 && x < 96)
                index = static_cast<BYTE>(216 + (y - 112) / 8);
            else if (y >= 448 && y < 464 && x >= block && x < block + 32)
                index = 215; // white
            row[x] = index;
        }
    });
}

// The picture, through a memory context and the surface's own: each of its
// colours arrives as the nearest colour of the palette.
void DrawPicture(LPDIRECTDRAWSURFACE surface) {
    HDC hdcSurface = nullptr;
    if (g_hPicture == nullptr || surface->GetDC(&hdcSurface) != DD_OK)
        return;
    HDC hdcMemory = CreateCompatibleDC(hdcSurface);
    HGDIOBJ previous = SelectObject(hdcMemory, g_hPicture);
    BitBlt(hdcSurface, 260, 160, 200, 210, hdcMemory, 0, 0, SRCCOPY);
    SelectObject(hdcMemory, previous);
    DeleteDC(hdcMemory);
    surface->ReleaseDC(hdcSurface);
}

LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return 1;
    case WM_KEYDOWN:
        DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        // The display goes back while the window still exists.
        ReleaseDisplay();
        PostQuitMessage(1);
        return 0;
    default:
        // Alt+F4 and the close button come back as WM_CLOSE, which the
        // default turns into DestroyWindow.
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    (void)hPrevInstance;
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof(wc));
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "palette_window";
    if (RegisterClassA(&wc) == 0)
        return 0;
    HWND hWnd = CreateWindowExA(WS_EX_APPWINDOW, "palette_window", "palette_window", WS_POPUPWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, hInstance,
                                nullptr);
    if (hWnd == nullptr)
        return 2;
    ShowWindow(hWnd, nCmdShow);
    UpdateWindow(hWnd);
    if (!InitDisplay(hWnd)) {
        ReleaseDisplay();
        MessageBoxA(hWnd, "The display cannot be set up.", "palette_window", MB_OK);
        return 3;
    }
    if (lpCmdLine != nullptr && lpCmdLine[0] != '\0') {
        g_hPicture = static_cast<HBITMAP>(LoadImageA(nullptr, lpCmdLine, IMAGE_BITMAP, 200, 210,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (g_hPicture == nullptr) {
            ReleaseDisplay();
            MessageBoxA(hWnd, lpCmdLine, "palette_window: cannot load", MB_OK);
            return 4;
        }
    }

    MSG msg;
    for (DWORD frame = 0;; ++frame) {
        const DWORD frameStart = timeGetTime();
        DrawFrame(g_pDDSBack, frame);
        DrawPicture(g_pDDSBack);
        g_pDDSPrimary->Flip(nullptr, DDFLIP_WAIT);
        if (frame == 0) {
            std::printf("palette_window: first frame shown\n");
            std::fflush(stdout);
        }
        for (;;) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                if (GetMessageA(&msg, nullptr, 0, 0) == 0) {
                    if (g_hPicture != nullptr)
                        DeleteObject(g_hPicture);
                    return static_cast<int>(msg.wParam);
                }
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            const DWORD elapsed = timeGetTime() - frameStart;
            if (elapsed >= kFrameMilliseconds)
                break;
            MsgWaitForMultipleObjectsEx(0, nullptr, kFrameMilliseconds - elapsed, QS_ALLINPUT,
                                        MWMO_INPUTAVAILABLE);
        }
    }
}
