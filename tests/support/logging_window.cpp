#include "tests/support/logging_window.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace testsupport {
namespace {

const char kClassName[] = "ondulix-logging";

// The procedure is one function for every window of the class: it finds its
// object here, and during creation (before the handle is known) through the
// one being created.
std::map<HWND, LoggingWindow *> &Windows() {
    static std::map<HWND, LoggingWindow *> windows;
    return windows;
}
LoggingWindow *g_creating = nullptr;

} // namespace

LoggingWindow::LoggingWindow(DWORD style, std::map<UINT, LRESULT> replies)
    : replies_(std::move(replies)) {
    static const ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Procedure;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = kClassName;
        return RegisterClassA(&wc);
    }();
    EXPECT_NE(atom, 0);
    g_creating = this;
    hwnd_ = CreateWindowExA(0, kClassName, "logging", style, 0, 0, 320, 240, nullptr, nullptr,
                            nullptr, nullptr);
    g_creating = nullptr;
}

LoggingWindow::~LoggingWindow() {
    if (IsWindow(hwnd_))
        DestroyWindow(hwnd_);
    for (auto it = Windows().begin(); it != Windows().end();)
        it = it->second == this ? Windows().erase(it) : std::next(it);
}

std::vector<UINT> LoggingWindow::Messages() const {
    std::vector<UINT> numbers;
    for (const LoggedMessage &m : log_)
        numbers.push_back(m.message);
    return numbers;
}

std::vector<UINT> LoggingWindow::MessagesAmong(const std::vector<UINT> &wanted) const {
    std::vector<UINT> numbers;
    for (const LoggedMessage &m : log_)
        if (std::find(wanted.begin(), wanted.end(), m.message) != wanted.end())
            numbers.push_back(m.message);
    return numbers;
}

LRESULT CALLBACK LoggingWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = Windows().find(hwnd);
    LoggingWindow *self = found != Windows().end() ? found->second : g_creating;
    if (self == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (found == Windows().end())
        Windows()[hwnd] = self;
    self->log_.push_back({hwnd, message, wParam, lParam});
    auto reply = self->replies_.find(message);
    if (reply != self->replies_.end())
        return reply->second;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void DiscardQueuedMessages() {
    MSG msg;
    // WM_PAINT stays queued until its window is painted, so it is bounded
    // rather than drained.
    for (int budget = 10000; budget > 0 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); --budget) {
        if (msg.message == WM_PAINT)
            UpdateWindow(msg.hwnd);
    }
}

} // namespace testsupport
