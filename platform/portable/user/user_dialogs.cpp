// The cursor and message boxes.
#include "platform/portable/user/user_close_signals.h"
#include "platform/portable/user/user_codepage.h"
#include "platform/portable/user/user_internal.h"
#include "platform/portable/windowing/windowing.h"

#include <cstdio>

namespace portable {
namespace {

HCURSOR g_cursor = nullptr;

// What a modal loop does while a box is up: the thread's queued messages
// still reach their windows. A WM_QUIT ends the loop and is put back for
// the caller's own loop, as Windows does.
void RunModalPass() {
    MSG msg;
    for (int budget = 1000; budget > 0 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); --budget) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace
} // namespace portable

HCURSOR WINAPI SetCursor(HCURSOR hCursor) {
    HCURSOR previous = portable::g_cursor;
    portable::g_cursor = hCursor;
    // No cursor: the pointer is hidden while it is over our windows.
    portable::Windowing().ShowCursor(hCursor != nullptr);
    return previous;
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    if ((uType & 0xF) != MB_OK)
        return 0; // only the one-button box exists here
    if (hWnd != nullptr && !IsWindow(hWnd))
        return 0;
    portable::RunModalPass();
    // Narrow text is in the ANSI code page, 932, as the program wrote it.
    const std::string text = portable::AnsiToUtf8(lpText != nullptr ? lpText : "");
    const std::string caption = portable::AnsiToUtf8(lpCaption != nullptr ? lpCaption : "Error");
    // A close signal, before the box or while it is up, dismisses it as OK
    // would; the signal then closes the program's windows.
    portable::BeginModalBox();
    const bool shown = !portable::CloseSignalPending() &&
                       portable::Windowing().ShowMessageBox(hWnd, caption.c_str(), text.c_str());
    portable::EndModalBox();
    if (!shown && !portable::CloseSignalPending()) {
        // No display to show it on: the same words where a person will see
        // them.
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        std::fflush(stderr);
    }
    portable::RunModalPass();
    return IDOK;
}
