// What SDL tells us, as USER's input: keys with virtual-key codes, the
// close button as a close request, the pointer, and windows to paint again.
// And the wait for it: on the X server's connection itself, to the
// nanosecond and together with the close signals, where SDL's own wait
// counts whole milliseconds and cannot be told about a signal.
#include "platform/portable/windowing/sdl/sdl_keymap.h"
#include "platform/portable/windowing/sdl/sdl_windowing.h"
#include "platform/portable/user/user_close_signals.h"
#include "platform/portable/user/user_input.h"
#include "platform/portable/winmm/winmm_clock.h"

#include <algorithm>

namespace portable {
namespace {

// The longest SDL's own wait is left alone: a signal that comes just before
// it is seen this much later at most.
const uint64_t kSdlWaitSliceMs = 10;

} // namespace

HWND SdlBackEnd::OwnerOf(Uint32 windowID) {
    SDL_Window *window = SDL_GetWindowFromID(windowID);
    HWND hwnd = window != nullptr ? static_cast<HWND>(SDL_GetWindowData(window, "hwnd")) : nullptr;
    if (hwnd != nullptr && Find(hwnd) != nullptr)
        return hwnd;
    // Events without a window of ours go to the one holding the display.
    return exclusive_;
}

void SdlBackEnd::OnKey(const SDL_KeyboardEvent &key) {
    HWND hwnd = OwnerOf(key.windowID);
    if (hwnd == nullptr)
        return;
    KeyInput input;
    input.vk = VirtualKeyFor(key.keysym.sym, key.keysym.scancode);
    input.down = key.type == SDL_KEYDOWN;
    input.repeat = key.repeat != 0;
    input.alt = (key.keysym.mod & KMOD_ALT) != 0;
    input.extended = IsExtendedKey(key.keysym.scancode);
    QueueKey(hwnd, input);
}

void SdlBackEnd::OnWindowEvent(const SDL_WindowEvent &event) {
    HWND hwnd = OwnerOf(event.windowID);
    if (hwnd == nullptr)
        return;
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        RequestClose(hwnd);
        break;
    case SDL_WINDOWEVENT_ENTER:
        PointerEntered(hwnd);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        // The frames are ours to show again; a plain window paints itself.
        if (hwnd == exclusive_)
            Repaint(hwnd);
        else
            InvalidateWindow(hwnd);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        // A new size: the picture, or the background, drawn to fit it.
        Repaint(hwnd);
        break;
    default:
        break;
    }
}

void SdlBackEnd::PumpEvents() {
    // SDL's pump reads the connection several times even when it is empty;
    // between a wait that found it empty and the next one, it is skipped.
    if (!videoUp_ || quietSinceWait_)
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            OnKey(event.key);
            break;
        case SDL_MOUSEMOTION:
            if (HWND hwnd = OwnerOf(event.motion.windowID))
                QueuePointer(hwnd, WM_MOUSEMOVE, event.motion.x, event.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = event.type == SDL_MOUSEBUTTONDOWN;
            UINT message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            if (event.button.button == SDL_BUTTON_RIGHT)
                message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            else if (event.button.button == SDL_BUTTON_MIDDLE)
                message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            if (HWND hwnd = OwnerOf(event.button.windowID))
                QueuePointer(hwnd, message, event.button.x, event.button.y);
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

bool SdlBackEnd::WaitEvents(uint64_t deadlineNs) {
    if (videoUp_ && SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT))
        return true; // something came in since the last pump
    const int fd = videoUp_ ? EventFd() : -1;
    if (fd >= 0 || !videoUp_) {
        // The pump that came before read everything the connection had, so
        // it turns readable exactly when the server sends something new.
        // Without a display nothing can arrive but signals.
        const bool news = WaitForInputOrCloseSignal(fd, deadlineNs);
        quietSinceWait_ = !news;
        return news;
    }
    // Other drivers (Wayland, and the dummy and offscreen ones of tests and
    // benchmarks) give no connection to wait on: SDL's own wait, which a
    // signal cuts short on Wayland, in slices, with a look for a signal that
    // came before each.
    for (;;) {
        if (WaitForInputOrCloseSignal(-1, 0))
            return true;
        const uint64_t now = MonotonicNanoseconds();
        if (now >= deadlineNs)
            return false;
        const uint64_t ms = std::min((deadlineNs - now + 999999u) / 1000000u, kSdlWaitSliceMs);
        if (SDL_WaitEventTimeout(nullptr, static_cast<int>(ms)) != 0)
            return true;
    }
}

} // namespace portable
