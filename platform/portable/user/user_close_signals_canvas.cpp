// The browser build's close signals: a page has none (its close control
// reaches USER as a close request of its own), and no process to fork for a
// box.
#include "platform/portable/user/user_close_signals.h"

namespace portable {

void InstallCloseSignals() {}

bool TakeCloseSignal() {
    return false;
}

bool CloseSignalPending() {
    return false;
}

void BeginModalBox() {}

void EndModalBox() {}

} // namespace portable
