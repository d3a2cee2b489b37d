// Input from the windowing system as Windows hands it to a program: key
// messages with their lParam bits, WM_SETCURSOR before pointer messages,
// the close button as the system menu's Close. Every back end gives its
// input here, so keys mean the same on all of them.
#include "platform/portable/user/user_input.h"

#include "platform/portable/user/user_internal.h"
#include "platform/portable/windowing/windowing.h"

namespace portable {
namespace {

// The Return whose press toggled full screen: its release is not passed on
// either.
bool g_swallowReturnUp = false;

// lParam of a key message: repeat count 1, bit 24 extended key, bit 29 Alt
// held, bit 30 the key was already down, bit 31 the key is going up.
LPARAM KeyLParam(const KeyInput &key) {
    DWORD bits = 1;
    if (key.extended)
        bits |= 1u << 24;
    if (key.alt)
        bits |= 1u << 29;
    if (key.repeat || !key.down)
        bits |= 1u << 30;
    if (!key.down)
        bits |= 1u << 31;
    return static_cast<LPARAM>(bits);
}

} // namespace

void QueueKey(HWND hwnd, const KeyInput &key) {
    if (!IsWindow(hwnd))
        return;
    if (key.vk == VK_RETURN && key.alt && key.down) {
        // Held down, the key repeats; only the press itself toggles, or the
        // screen would flicker between the two for as long as it is held.
        if (!key.repeat)
            Windowing().ToggleFullscreen(hwnd);
        g_swallowReturnUp = true;
        return;
    }
    if (key.vk == VK_RETURN && !key.down && g_swallowReturnUp) {
        g_swallowReturnUp = false;
        return;
    }
    // With Alt held, and for F10 and Alt itself, Windows sends the system
    // variants, which a program's window procedure leaves to the default.
    const bool system = key.alt || key.vk == VK_F10 || key.vk == VK_MENU;
    const UINT message =
        key.down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    QueueInput(hwnd, message, key.vk, KeyLParam(key));
}

void PointerEntered(HWND hwnd) {
    SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                 MAKELONG(HTCLIENT, WM_MOUSEMOVE));
}

void QueuePointer(HWND hwnd, UINT message, int x, int y) {
    // Windows sends WM_SETCURSOR at once whenever the pointer moves over a
    // window, so the window can choose (or hide) the cursor.
    SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELONG(HTCLIENT, message));
    if (IsWindow(hwnd))
        QueueInput(hwnd, message, 0, MAKELONG(x, y));
}

void RequestClose(HWND hwnd) {
    if (IsWindow(hwnd))
        QueueInput(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void InvalidateWindow(HWND hwnd) {
    if (WindowRecord *w = FindWindowRecord(hwnd))
        w->needsPaint = true;
}

} // namespace portable
