// What the windowing system tells us, as Windows messages: keys become
// WM_KEYDOWN/WM_SYSKEYDOWN with virtual-key codes, the close button a close
// request, the pointer WM_SETCURSOR; signals become close requests too.
#include "user_close_signals.h"
#include "sdl_keymap.h"
#include "native_window.h"
#include "user_internal.h"

#include <SDL.h>

#include <time.h>

namespace portable {
namespace {

// The Return key whose press toggled full screen; its release is not passed
// on either.
bool g_swallowReturnUp = false;

HWND OwnerOf(Uint32 windowID) {
    SDL_Window *window = SDL_GetWindowFromID(windowID);
    HWND hwnd = window != nullptr ? static_cast<HWND>(SDL_GetWindowData(window, "hwnd")) : nullptr;
    if (hwnd != nullptr && IsWindow(hwnd))
        return hwnd;
    // Events without a window of ours go to the one holding the display.
    return IsWindow(ScreenOwner()) ? ScreenOwner() : nullptr;
}

// lParam of a key message: repeat count 1, bit 24 extended key, bit 29 Alt
// held, bit 30 the key was already down, bit 31 the key is going up.
LPARAM KeyLParam(const SDL_KeyboardEvent &key, bool alt, bool up) {
    DWORD bits = 1;
    if (IsExtendedKey(key.keysym.scancode))
        bits |= 1u << 24;
    if (alt)
        bits |= 1u << 29;
    if (key.repeat || up)
        bits |= 1u << 30;
    if (up)
        bits |= 1u << 31;
    return static_cast<LPARAM>(bits);
}

void OnKey(const SDL_KeyboardEvent &key) {
    HWND hwnd = OwnerOf(key.windowID);
    if (hwnd == nullptr)
        return;
    const bool up = key.type == SDL_KEYUP;
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    const bool isReturn = key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER;
    if (!up && alt && isReturn) {
        // Held down, the key repeats; only the press itself toggles, or the
        // screen would flicker between the two for as long as it is held.
        if (!key.repeat) {
            WindowRecord *w = FindWindowRecord(hwnd);
            NativeToggleFullscreen(w != nullptr ? w->native : nullptr);
        }
        g_swallowReturnUp = true;
        return;
    }
    if (up && isReturn && g_swallowReturnUp) {
        g_swallowReturnUp = false;
        return;
    }
    const WPARAM vk = VirtualKeyFor(key.keysym.sym, key.keysym.scancode);
    // With Alt held, and for F10 and Alt itself, Windows sends the system
    // variants, which a program's window procedure leaves to the default.
    const bool system = alt || vk == VK_F10 || vk == VK_MENU;
    const UINT message =
        up ? (system ? WM_SYSKEYUP : WM_KEYUP) : (system ? WM_SYSKEYDOWN : WM_KEYDOWN);
    QueueInput(hwnd, message, vk, KeyLParam(key, alt, up));
}

void OnPointer(Uint32 windowID, int x, int y, UINT message) {
    HWND hwnd = OwnerOf(windowID);
    if (hwnd == nullptr)
        return;
    // Windows sends WM_SETCURSOR at once whenever the pointer moves over a
    // window, so the window can choose (or hide) the cursor.
    SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELONG(HTCLIENT, message));
    if (IsWindow(hwnd))
        QueueInput(hwnd, message, 0, MAKELONG(x, y));
}

void OnWindowEvent(const SDL_WindowEvent &event) {
    HWND hwnd = OwnerOf(event.windowID);
    if (hwnd == nullptr)
        return;
    WindowRecord *w = FindWindowRecord(hwnd);
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        RequestClose(hwnd);
        break;
    case SDL_WINDOWEVENT_ENTER:
        SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                     MAKELONG(HTCLIENT, WM_MOUSEMOVE));
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        if (ScreenOwner() == hwnd)
            NativeWindowRepaint(w->native);
        else
            w->needsPaint = true;
        break;
    default:
        break;
    }
}

void DeliverCloseSignal() {
    const std::vector<HWND> windows = AllWindows();
    // A signal before any window exists waits for one.
    if (windows.empty() || !TakeCloseSignal())
        return;
    for (HWND hwnd : windows)
        RequestClose(hwnd);
}

} // namespace

void NativePumpEvents() {
    if (CloseSignalPending())
        DeliverCloseSignal();
    if (!NativeVideoAvailable())
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            OnKey(event.key);
            break;
        case SDL_MOUSEMOTION:
            OnPointer(event.motion.windowID, event.motion.x, event.motion.y, WM_MOUSEMOVE);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = event.type == SDL_MOUSEBUTTONDOWN;
            UINT message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            if (event.button.button == SDL_BUTTON_RIGHT)
                message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            else if (event.button.button == SDL_BUTTON_MIDDLE)
                message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            OnPointer(event.button.windowID, event.button.x, event.button.y, message);
            break;
        }
        case SDL_WINDOWEVENT:
            OnWindowEvent(event.window);
            break;
        default:
            break; // SDL_QUIT included: each window's close comes on its own
        }
    }
}

void NativeWaitEvents(int milliseconds) {
    if (CloseSignalPending())
        return;
    if (NativeVideoAvailable()) {
        SDL_WaitEventTimeout(nullptr, milliseconds);
        return;
    }
    // No windowing system: only posted messages and signals can arrive, and
    // a signal cuts the sleep short.
    struct timespec pause = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

} // namespace portable
