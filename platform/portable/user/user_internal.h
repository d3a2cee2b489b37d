// USER's own state, shared by its files: windows and the message queue.
#pragma once

#include "platform/portable/include/win_user.h"

#include <string>
#include <vector>

namespace portable {

struct WindowRecord {
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
    std::string title;
    DWORD style = 0;
    int width = 0;
    int height = 0;
    bool visible = false;
    bool needsPaint = false;
    bool destroying = false; // between WM_DESTROY and the record's removal
};

WindowRecord *FindWindowRecord(HWND hwnd);
std::vector<HWND> AllWindows();
// Paints the window's class background and marks it painted.
void PaintWindow(HWND hwnd);

// Input from the windowing system, queued after the posted messages as
// Windows queues it.
void QueueInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace portable
