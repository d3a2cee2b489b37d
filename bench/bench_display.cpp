#include "bench/bench_display.h"

#include "app/app.h"
#include "display/display.h"
#include "image/image.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char kPictureFile[] = "earth.bmp";

// The demo's own window procedure ends the process on a key or a close
// request; a benchmark run is ended by its harness instead.
LRESULT CALLBACK BenchWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

HINSTANCE ThisInstance() {
#ifdef _WIN32
    return GetModuleHandleA(nullptr);
#else
    static int instanceTag; // any distinct value names the program here
    return reinterpret_cast<HINSTANCE>(&instanceTag);
#endif
}

void GiveDisplayBack() {
    ReleaseDirectDraw();
}

bool SetUp() {
    // The loaders end the process with a message box when the picture is
    // missing; a benchmark says so on stderr instead.
    if (std::FILE *picture = std::fopen(kPictureFile, "rb")) {
        std::fclose(picture);
    } else {
        std::fprintf(stderr, "bench: no %s in the current folder\n", kPictureFile);
        return false;
    }

    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BenchWndProc;
    wc.hInstance = ThisInstance();
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "dd";
    if (RegisterClassA(&wc) == 0) {
        std::fprintf(stderr, "bench: RegisterClassA failed\n");
        return false;
    }
    g_hWnd = CreateWindowExA(WS_EX_APPWINDOW, "dd", "Ondulix", WS_POPUPWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 640, 480, nullptr, nullptr, ThisInstance(), nullptr);
    if (g_hWnd == nullptr) {
        std::fprintf(stderr, "bench: CreateWindowExA failed\n");
        return false;
    }
    ShowWindow(g_hWnd, SW_SHOWDEFAULT);
    UpdateWindow(g_hWnd);
    if (!InitDirectDraw(g_hWnd)) {
        std::fprintf(stderr, "bench: InitDirectDraw failed\n");
        ReleaseDirectDraw();
        return false;
    }
    std::atexit(GiveDisplayBack);
    ClearSurface(g_pDDSWork);
    LoadBmpPalette(kPictureFile);
    LoadBmpImage(g_pDDSWork, kPictureFile, 60, 15, 200, 210);
    WaveState wave;
    InitWave(&wave, g_pDDSWork); // the colour key of the work surface
    PumpWindowMessages();
    return true;
}

} // namespace

bool TakeDemoDisplay() {
    static const bool ready = SetUp();
    return ready;
}

void PumpWindowMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

WaveState WaveAtFrame(int n) {
    WaveState wave;
    // InitWave also sets the colour key; done once more it changes nothing.
    InitWave(&wave, g_pDDSWork);
    for (int i = 0; i < n; ++i)
        AdvanceWave(&wave);
    return wave;
}

void DrawFrameBody(const WaveState &before) {
    WaveState wave = before;
    ClearSurface(g_pDDSBack);
    AdvanceWave(&wave);
    DrawWaveRows(&wave, g_pDDSBack, g_pDDSWork);
    DrawWaveRowsFilled(&wave, g_pDDSBack, g_pDDSWork);
    FlipScreen();
}

int RowCopies(const WaveState &wave) {
    int copies = 240;
    int prev = WaveRowY(0, wave.frameCount, wave.amplitude);
    for (int row = 1; row < 240; ++row) {
        const int target = WaveRowY(row, wave.frameCount, wave.amplitude);
        copies += std::abs(target - prev);
        prev = target;
    }
    return copies;
}
