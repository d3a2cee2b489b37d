// The entry point: the window, the display, the picture, the wave, and then
// the frame loop for the rest of the process's life.
#include "app/app.h"
#include "display/display.h"
#include "effect/wave.h"
#include "image/image.h"

namespace {

const char kClassName[] = "dd";
const char kPictureFile[] = "earth.bmp";
const DWORD kFrameMilliseconds = 16;

// Registers the window class; 0 when the registration fails.
ATOM RegisterMainClass(HINSTANCE instance) {
    WNDCLASSA wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = nullptr;
    wc.hCursor = nullptr; // hidden by WndProc anyway
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc);
}

// Without a window or a display nothing can be shown: say so and leave
// through the one exit, which releases whatever was created.
void ExitIfNoScreen(bool ok) {
    if (!ok)
        FatalExit(FormatMsgBuf("%s", g_szInitFailed));
}

// Hands every queued message to its window, then keeps polling until the
// frame's 16 milliseconds are over.
void PumpMessagesUntilFrameEnds(DWORD frameStart) {
    const DWORD frameEnd = frameStart + kFrameMilliseconds; // wraps as the clock does
    MSG msg;
    for (;;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&msg, nullptr, 0, 0) == 0)
                FatalExit(nullptr); // WM_QUIT
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD now = timeGetTime();
        if (!(now < frameEnd))
            return;
        // A frame that starts just before the clock wraps, with an end that
        // does not wrap, and first reads the clock after the wrap, would
        // otherwise wait for the clock to come round again: 49.7 days.
        if (static_cast<DWORD>(now - frameStart) >= kFrameMilliseconds)
            return;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    (void)lpCmdLine; // no arguments are taken
    if (hPrevInstance == nullptr && RegisterMainClass(hInstance) == 0)
        return 0;

    g_hWnd = CreateWindowExA(WS_EX_APPWINDOW, kClassName, "Ondulix", WS_POPUPWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 640, 480, nullptr, nullptr, hInstance, nullptr);
    ExitIfNoScreen(g_hWnd != nullptr);
    ShowWindow(g_hWnd, nCmdShow);
    UpdateWindow(g_hWnd);
    ExitIfNoScreen(InitDirectDraw(g_hWnd) != 0);
    // The work surface starts as whatever video memory held; clearing it
    // once makes the area around the picture transparent everywhere.
    ClearSurface(g_pDDSWork);

    LoadBmpPalette(kPictureFile);
    LoadBmpImage(g_pDDSWork, kPictureFile, 60, 15, 200, 210);

    WaveState wave;
    InitWave(&wave, g_pDDSWork);
    for (;;) {
        const DWORD frameStart = timeGetTime();
        ClearSurface(g_pDDSBack);
        AdvanceWave(&wave);
        DrawWaveRows(&wave, g_pDDSBack, g_pDDSWork);
        DrawWaveRowsFilled(&wave, g_pDDSBack, g_pDDSWork);
        FlipScreen();
        PumpMessagesUntilFrameEnds(frameStart);
    }
}
