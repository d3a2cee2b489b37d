// What USER takes from a windowing back end: keys, the pointer, close
// requests and damaged windows, turned into the messages and the order that
// Windows gives a program.
#pragma once

#include "platform/portable/include/win_user.h"

namespace portable {

struct KeyInput {
    WPARAM vk;     // the virtual-key code; 0xFF for a key Windows has none for
    bool down;     // pressed, else released
    bool repeat;   // an automatic repeat of a key held down
    bool alt;      // Alt held
    bool extended; // one of the keys Windows marks as extended
};

// A key as WM_KEYDOWN/WM_KEYUP, or the system variants with Alt held and for
// F10 and Alt itself, queued for the window. Alt+Enter instead toggles full
// screen on the window holding the display, and its Return reaches nobody.
void QueueKey(HWND hwnd, const KeyInput &key);
// The pointer moved over the window or a button went down or up there: the
// window is asked for a cursor at once (WM_SETCURSOR), then the mouse
// message is queued.
void QueuePointer(HWND hwnd, UINT message, int x, int y);
// The pointer came over the window: it is asked for a cursor.
void PointerEntered(HWND hwnd);
// A close request from outside (the close button, a signal): what the system
// menu's Close does.
void RequestClose(HWND hwnd);
// The window's picture was lost: it gets WM_PAINT.
void InvalidateWindow(HWND hwnd);

} // namespace portable
