#include "bench/bench_display.h"

#include "app/app.h"
#include "display/display.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The wave as InitDemo starts it.
WaveState g_startWave;

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
    if (std::FILE *picture = std::fopen(g_szPictureFile, "rb")) {
        std::fclose(picture);
    } else {
        std::fprintf(stderr, "bench: no %s in the current folder\n", g_szPictureFile);
        return false;
    }

    if (RegisterMainClass(ThisInstance(), BenchWndProc) == 0) {
        std::fprintf(stderr, "bench: RegisterClassA failed\n");
        return false;
    }
    if (!CreateMainWindow(ThisInstance(), SW_SHOWDEFAULT)) {
        std::fprintf(stderr, "bench: CreateWindowExA failed\n");
        return false;
    }
    if (!InitDemo(&g_startWave)) {
        std::fprintf(stderr, "bench: InitDirectDraw failed\n");
        ReleaseDirectDraw();
        return false;
    }
    std::atexit(GiveDisplayBack);
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
    WaveState wave = g_startWave;
    for (int i = 0; i < n; ++i)
        AdvanceWave(&wave);
    return wave;
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
