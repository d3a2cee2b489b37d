#include "app/app.h"

LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        // Only a destruction from outside gets here: the program never
        // destroys its own window.
        PostQuitMessage(0);
        return 1;
    case WM_CLOSE:
        FatalExit(nullptr);
    case WM_SETCURSOR:
        // Handled here, never by the default, so the cursor stays hidden.
        SetCursor(nullptr);
        return 1;
    case WM_KEYDOWN:
        FatalExit(nullptr); // any key at all
    default:
        // WM_SYSKEYDOWN included: Alt+F4 comes back as WM_CLOSE.
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}
