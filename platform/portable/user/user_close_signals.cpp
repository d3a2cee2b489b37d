#include "platform/portable/user/user_close_signals.h"

#include <csignal>
#include <initializer_list>

namespace portable {
namespace {

volatile std::sig_atomic_t g_pending = 0;

void OnCloseSignal(int sig) {
    if (g_pending) {
        // The first request was not taken up: the program is stuck, so the
        // second signal ends it the ordinary way.
        std::signal(sig, SIG_DFL);
        std::raise(sig);
        return;
    }
    g_pending = 1;
}

} // namespace

void InstallCloseSignals() {
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action = {};
        action.sa_handler = OnCloseSignal;
        sigemptyset(&action.sa_mask);
        sigaction(sig, &action, nullptr);
    }
}

bool CloseSignalPending() {
    return g_pending != 0;
}

bool TakeCloseSignal() {
    if (!g_pending)
        return false;
    g_pending = 0;
    return true;
}

} // namespace portable
