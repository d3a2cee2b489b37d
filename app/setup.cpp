// What WinMain sets up before its first frame: the window class, the main
// window, the display, the picture and the wave. The benchmarks set the demo
// up through these same calls, so every name and number of it is here once.
#include "app/app.h"
#include "display/display.h"
#include "image/image.h"

namespace {

const char kClassName[] = "dd";
const char kWindowTitle[] = "Ondulix";

} // namespace

const char g_szPictureFile[] = "earth.bmp";

ATOM RegisterMainClass(HINSTANCE hInstance, WNDPROC wndProc) {
    WNDCLASSA wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = wndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInstance;
    wc.hIcon = nullptr;
    wc.hCursor = nullptr; // hidden by WndProc anyway
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc);
}

bool CreateMainWindow(HINSTANCE hInstance, int nCmdShow) {
    g_hWnd =
        CreateWindowExA(WS_EX_APPWINDOW, kClassName, kWindowTitle, WS_POPUPWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 640, 480, nullptr, nullptr, hInstance, nullptr);
    if (g_hWnd == nullptr)
        return false;
    ShowWindow(g_hWnd, nCmdShow);
    UpdateWindow(g_hWnd);
    return true;
}

bool InitDemo(WaveState *wave) {
    if (InitDirectDraw(g_hWnd) == 0)
        return false;
    // The work surface starts as whatever video memory held; clearing it
    // once makes the area around the picture transparent everywhere.
    ClearSurface(g_pDDSWork);

    LoadBmpPalette(g_szPictureFile);
    LoadBmpImage(g_pDDSWork, g_szPictureFile, 60, 15, 200, 210);

    InitWave(wave, g_pDDSWork);
    return true;
}
