// A window whose procedure writes down every message it receives, in order,
// before it answers: with DefWindowProcA, or with a reply the test chose.
// Tests of the window services use it to see what reached the procedure.
#pragma once

#include "platform/platform.h"

#include <map>
#include <vector>

namespace testsupport {

struct LoggedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class LoggingWindow {
  public:
    // Creates the window (class "ondulix-logging") with the given style; the
    // messages sent while it is created are in the log too. Replies given
    // here are in force from the first message on.
    explicit LoggingWindow(DWORD style = WS_POPUP, std::map<UINT, LRESULT> replies = {});
    ~LoggingWindow();
    LoggingWindow(const LoggingWindow &) = delete;
    LoggingWindow &operator=(const LoggingWindow &) = delete;

    HWND hwnd() const { return hwnd_; }
    const std::vector<LoggedMessage> &log() const { return log_; }
    // The message numbers received, in order.
    std::vector<UINT> Messages() const;
    // The message numbers received, without those outside the given set.
    std::vector<UINT> MessagesAmong(const std::vector<UINT> &wanted) const;
    void ClearLog() { log_.clear(); }
    // From now on the procedure answers message with result, without the
    // default handling.
    void Reply(UINT message, LRESULT result) { replies_[message] = result; }

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    std::vector<LoggedMessage> log_;
    std::map<UINT, LRESULT> replies_;
};

// Takes every message waiting for the thread, WM_QUIT included, without
// dispatching any; so a test starts and leaves with an empty queue.
void DiscardQueuedMessages();

} // namespace testsupport
