// Window classes and windows: registration, creation with the messages that
// Windows sends during it, showing, painting, the default window procedure
// and destruction.
#include "platform/portable/gdi/gdi_stock_objects.h"
#include "platform/portable/user/user_internal.h"
#include "platform/portable/windowing/windowing.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <strings.h>

namespace portable {
namespace {

struct ClassRecord {
    UINT style;
    WNDPROC proc;
    HINSTANCE instance;
    HBRUSH background;
};

struct Caseless {
    bool operator()(const std::string &a, const std::string &b) const {
        return strcasecmp(a.c_str(), b.c_str()) < 0; // class names ignore case
    }
};

struct UserTables {
    std::map<std::string, ClassRecord, Caseless> classes;
    std::map<uintptr_t, WindowRecord> windows;
    uintptr_t nextWindow = 0x20000; // handles never repeat
    ATOM nextAtom = 0xC000;         // the range Windows gives registered classes
};

UserTables &Tables() {
    // Never destroyed: the program exits from inside a window procedure,
    // with its windows still open, and the windows must outlive exit().
    static UserTables *tables = new UserTables;
    return *tables;
}

uintptr_t Key(HWND hwnd) {
    return reinterpret_cast<uintptr_t>(hwnd);
}

} // namespace

WindowRecord *FindWindowRecord(HWND hwnd) {
    auto it = Tables().windows.find(Key(hwnd));
    return it == Tables().windows.end() ? nullptr : &it->second;
}

std::vector<HWND> AllWindows() {
    std::vector<HWND> all;
    for (const auto &entry : Tables().windows)
        all.push_back(reinterpret_cast<HWND>(entry.first));
    return all;
}

void PaintWindow(HWND hwnd) {
    WindowRecord *w = FindWindowRecord(hwnd);
    if (w == nullptr)
        return;
    w->needsPaint = false;
    // While the window holds the display, the screen shows DirectDraw's
    // frames; the windowing system keeps the colour for when it does not.
    COLORREF colour;
    if (StockBrushColour(w->background, &colour))
        Windowing().Fill(hwnd, colour);
}

} // namespace portable

using portable::FindWindowRecord;
using portable::WindowRecord;

ATOM WINAPI RegisterClassA(const WNDCLASSA *lpWndClass) {
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr ||
        lpWndClass->lpszClassName[0] == '\0' || lpWndClass->lpfnWndProc == nullptr)
        return 0;
    auto &t = portable::Tables();
    if (t.classes.count(lpWndClass->lpszClassName) != 0)
        return 0; // a class name is registered once
    t.classes[lpWndClass->lpszClassName] = {lpWndClass->style, lpWndClass->lpfnWndProc,
                                            lpWndClass->hInstance, lpWndClass->hbrBackground};
    return t.nextAtom++;
}

BOOL WINAPI IsWindow(HWND hWnd) {
    return FindWindowRecord(hWnd) != nullptr;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam) {
    auto &t = portable::Tables();
    if (lpClassName == nullptr)
        return nullptr;
    auto cls = t.classes.find(lpClassName);
    if (cls == t.classes.end())
        return nullptr;
    if (hWndParent != nullptr && !IsWindow(hWndParent))
        return nullptr;
    const int width = nWidth == CW_USEDEFAULT ? 640 : std::max(nWidth, 0);
    const int height = nHeight == CW_USEDEFAULT ? 480 : std::max(nHeight, 0);

    const HWND hwnd = reinterpret_cast<HWND>(t.nextWindow);
    t.nextWindow += 4;
    WindowRecord record;
    record.proc = cls->second.proc;
    record.background = cls->second.background;
    record.title = lpWindowName != nullptr ? lpWindowName : "";
    record.style = dwStyle & ~static_cast<DWORD>(WS_VISIBLE);
    record.width = width;
    record.height = height;
    t.windows[portable::Key(hwnd)] = record;

    // Windows sends these before CreateWindowEx returns; a window procedure
    // that refuses WM_NCCREATE or WM_CREATE ends the creation.
    CREATESTRUCTA cs = {lpParam,
                        hInstance,
                        hMenu,
                        hWndParent,
                        height,
                        width,
                        Y == CW_USEDEFAULT ? 0 : Y,
                        X == CW_USEDEFAULT ? 0 : X,
                        static_cast<LONG>(dwStyle),
                        lpWindowName,
                        lpClassName,
                        dwExStyle};
    const LPARAM create = reinterpret_cast<LPARAM>(&cs);
    if (!SendMessageA(hwnd, WM_NCCREATE, 0, create) || !IsWindow(hwnd)) {
        if (IsWindow(hwnd)) {
            SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
            t.windows.erase(portable::Key(hwnd));
        }
        return nullptr;
    }
    RECT client = {cs.x, cs.y, cs.x + width, cs.y + height};
    SendMessageA(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
    if (!IsWindow(hwnd))
        return nullptr;
    // A window that cannot reach the screen is no window at all: creation
    // fails, as it would on Windows, instead of leaving a program running
    // with nothing shown.
    portable::WindowingSystem &windowing = portable::Windowing();
    if (!windowing.Available() ||
        !windowing.Create(hwnd, FindWindowRecord(hwnd)->title.c_str(), width, height)) {
        SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
        t.windows.erase(portable::Key(hwnd));
        return nullptr;
    }
    if (SendMessageA(hwnd, WM_CREATE, 0, create) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd))
        return nullptr;
    if (dwStyle & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    WindowRecord *record = FindWindowRecord(hWnd);
    if (record == nullptr)
        return FALSE;
    // A procedure that destroys its window again from WM_DESTROY must not
    // start a second destruction: the first one finishes the job.
    if (record->destroying)
        return TRUE;
    record->destroying = true;
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
    WindowRecord *w = FindWindowRecord(hWnd);
    if (w == nullptr)
        return TRUE; // destroyed from inside one of those messages
    portable::Windowing().Destroy(hWnd);
    portable::Tables().windows.erase(portable::Key(hWnd));
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    WindowRecord *w = FindWindowRecord(hWnd);
    if (w == nullptr)
        return FALSE;
    const bool was = w->visible;
    const bool show = nCmdShow != SW_HIDE;
    if (was != show) {
        SendMessageA(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        w = FindWindowRecord(hWnd);
        if (w == nullptr)
            return was;
        w->visible = show;
        w->needsPaint = show;
        portable::Windowing().Show(hWnd, show);
    }
    return was ? TRUE : FALSE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    WindowRecord *w = FindWindowRecord(hWnd);
    if (w == nullptr)
        return FALSE;
    if (w->visible && w->needsPaint)
        SendMessageA(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    WindowRecord *w = FindWindowRecord(hWnd);
    if (w == nullptr)
        return 0;
    return w->proc(hWnd, Msg, wParam, lParam);
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_PAINT:
        portable::PaintWindow(hWnd);
        return 0;
    case WM_ERASEBKGND:
        portable::PaintWindow(hWnd);
        return 1;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessageA(hWnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4: bit 29 of lParam says Alt was held.
        if (wParam == VK_F4 && (lParam & (LPARAM{1} << 29)))
            SendMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SETCURSOR:
        return FALSE; // the class has no cursor to set
    default:
        return 0;
    }
}
