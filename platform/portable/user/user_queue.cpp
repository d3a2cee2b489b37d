// The thread's message queue: posted messages, then input, then WM_QUIT,
// then WM_PAINT, in the order Windows hands them out; and the waits for it.
#include "platform/portable/user/user_close_signals.h"
#include "platform/portable/user/user_input.h"
#include "platform/portable/user/user_internal.h"
#include "platform/portable/include/win_mmsystem.h"
#include "platform/portable/windowing/windowing.h"
#include "platform/portable/winmm/winmm_clock.h"

#include <deque>
#include <initializer_list>

namespace portable {
namespace {

struct MessageQueue {
    std::deque<MSG> posted;
    std::deque<MSG> input;
    bool quit = false;
    int quitCode = 0;
};

MessageQueue &Queue() {
    static MessageQueue queue;
    return queue;
}

MSG MakeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = timeGetTime();
    return msg;
}

bool Matches(const MSG &msg, HWND hwnd, UINT min, UINT max) {
    if (hwnd != nullptr && msg.hwnd != hwnd)
        return false;
    if (min == 0 && max == 0)
        return true;
    return msg.message >= min && msg.message <= max;
}

// The first visible window that needs painting and passes the filter.
HWND WindowToPaint(HWND hwnd, UINT min, UINT max) {
    for (HWND window : AllWindows()) {
        WindowRecord *w = FindWindowRecord(window);
        if (w->visible && w->needsPaint && Matches(MakeMsg(window, WM_PAINT, 0, 0), hwnd, min, max))
            return window;
    }
    return nullptr;
}

// Finds the next message for the filter, removing it when asked.
bool NextMessage(MSG *out, HWND hwnd, UINT min, UINT max, bool remove) {
    MessageQueue &q = Queue();
    for (std::deque<MSG> *list : {&q.posted, &q.input}) {
        for (auto it = list->begin(); it != list->end(); ++it) {
            if (!Matches(*it, hwnd, min, max))
                continue;
            *out = *it;
            if (remove)
                list->erase(it);
            return true;
        }
    }
    // WM_QUIT belongs to the thread, so a window filter never sees it.
    if (q.quit && hwnd == nullptr && Matches(MakeMsg(nullptr, WM_QUIT, 0, 0), nullptr, min, max)) {
        *out = MakeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0);
        if (remove)
            q.quit = false;
        return true;
    }
    if (HWND window = WindowToPaint(hwnd, min, max)) {
        *out = MakeMsg(window, WM_PAINT, 0, 0); // stays until painted
        return true;
    }
    return false;
}

// The kind of input a message is, as the QS_ bits of a wait's mask name it.
DWORD InputKind(UINT message) {
    if (message >= WM_KEYDOWN && message <= WM_SYSCHAR)
        return QS_KEY;
    if (message == WM_MOUSEMOVE)
        return QS_MOUSEMOVE;
    if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONUP)
        return QS_MOUSEBUTTON;
    return QS_POSTMESSAGE; // a close request from outside, which the system posts
}

// What the queue holds, as QS_ bits.
DWORD QueuedKinds() {
    const MessageQueue &q = Queue();
    DWORD kinds = !q.posted.empty() || q.quit ? QS_POSTMESSAGE | QS_ALLPOSTMESSAGE : 0;
    for (const MSG &msg : q.input)
        kinds |= InputKind(msg.message);
    if (WindowToPaint(nullptr, 0, 0) != nullptr)
        kinds |= QS_PAINT;
    return kinds;
}

// A signal is a close request to every window; one that comes before any
// window exists waits for one.
void DeliverCloseSignal() {
    const std::vector<HWND> windows = AllWindows();
    if (windows.empty() || !TakeCloseSignal())
        return;
    for (HWND hwnd : windows)
        RequestClose(hwnd);
}

// Everything that arrived from outside the thread, into the queue.
void TakeInput() {
    if (CloseSignalPending())
        DeliverCloseSignal();
    Windowing().PumpEvents();
}

// When a wait of `ms` milliseconds ends, on the monotonic clock. Counted
// from the start of the clock's present millisecond, as Windows counts a
// timeout in the ticks that timeGetTime moves by: the wait ends as
// timeGetTime moves on by `ms`, not up to a millisecond later. A clock
// driven by a test does not move by waiting, so a wait for time ends at once.
uint64_t WaitDeadline(DWORD ms) {
    if (ms == INFINITE)
        return kNoDeadline;
    if (ms == 0 || !ClockIsReal())
        return 0;
    return (MonotonicNanoseconds() / 1000000u + ms) * 1000000u;
}

} // namespace

void QueueInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Queue().input.push_back(MakeMsg(hwnd, message, wParam, lParam));
}

} // namespace portable

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd != nullptr && !IsWindow(hWnd))
        return FALSE;
    portable::Queue().posted.push_back(portable::MakeMsg(hWnd, Msg, wParam, lParam));
    return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
    portable::Queue().quit = true;
    portable::Queue().quitCode = nExitCode;
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg) {
    if (lpMsg == nullptr)
        return FALSE;
    const bool remove = (wRemoveMsg & PM_REMOVE) != 0;
    portable::TakeInput();
    return portable::NextMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, remove) ? TRUE : FALSE;
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (lpMsg == nullptr || (hWnd != nullptr && !IsWindow(hWnd)))
        return -1;
    for (;;) {
        portable::TakeInput();
        if (portable::NextMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true))
            return lpMsg->message == WM_QUIT ? FALSE : TRUE;
        // Posted messages come only from this thread; the wait is for input
        // and signals.
        portable::Windowing().WaitEvents(portable::kNoDeadline);
    }
}

DWORD WINAPI MsgWaitForMultipleObjectsEx(DWORD nCount, const HANDLE *pHandles, DWORD dwMilliseconds,
                                         DWORD dwWakeMask, DWORD dwFlags) {
    (void)pHandles;
    // The queue does not remember what a look at it saw: input already
    // queued ends every wait, as MWMO_INPUTAVAILABLE asks.
    (void)dwFlags;
    if (nCount != 0)
        return WAIT_FAILED; // there are no kernel objects to wait for
    const uint64_t deadline = portable::WaitDeadline(dwMilliseconds);
    for (;;) {
        portable::TakeInput();
        if ((portable::QueuedKinds() & dwWakeMask) != 0)
            return WAIT_OBJECT_0 + nCount;
        if (portable::MonotonicNanoseconds() >= deadline)
            return WAIT_TIMEOUT;
        portable::Windowing().WaitEvents(deadline);
    }
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD nCount, const HANDLE *pHandles, BOOL fWaitAll,
                                       DWORD dwMilliseconds, DWORD dwWakeMask) {
    return MsgWaitForMultipleObjectsEx(nCount, pHandles, dwMilliseconds, dwWakeMask,
                                       fWaitAll ? MWMO_WAITALL : 0);
}

BOOL WINAPI TranslateMessage(const MSG *lpMsg) {
    if (lpMsg == nullptr)
        return FALSE;
    // Every key message counts as translated, whether it types a character
    // or not, as Windows reports it.
    if (lpMsg->message == WM_KEYUP || lpMsg->message == WM_SYSKEYUP)
        return TRUE;
    if (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN)
        return FALSE;
    // Keys that type a character get the character message next, as the
    // keyboard layout of a US keyboard gives it.
    const WPARAM vk = lpMsg->wParam;
    int ch = -1;
    if ((vk >= '0' && vk <= '9') || vk == VK_SPACE)
        ch = static_cast<int>(vk);
    else if (vk >= 'A' && vk <= 'Z')
        ch = static_cast<int>(vk - 'A' + 'a');
    else if (vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_BACK || vk == VK_TAB)
        ch = static_cast<int>(vk);
    if (ch >= 0) {
        const UINT charMessage = lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        portable::Queue().posted.push_front(
            portable::MakeMsg(lpMsg->hwnd, charMessage, static_cast<WPARAM>(ch), lpMsg->lParam));
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG *lpMsg) {
    if (lpMsg == nullptr || lpMsg->hwnd == nullptr)
        return 0;
    return SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}
