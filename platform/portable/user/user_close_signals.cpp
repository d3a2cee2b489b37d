#include "platform/portable/user/user_close_signals.h"

#include "platform/portable/winmm/winmm_clock.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <new>

namespace portable {
namespace {

const int kCloseSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t g_pending = 0;
// A pipe with a byte in it for every signal that no wait has seen yet.
int g_wake[2] = {-1, -1};

// A modal box's child process, in memory it shares with the process: its
// pid once it runs, and whether a signal asked it to end before that.
struct BoxChild {
    std::atomic<pid_t> pid{0};
    std::atomic<int> endAsked{0};
};
static_assert(std::atomic<pid_t>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "touched by signal handlers in two processes");
BoxChild *g_boxChild = nullptr;
volatile std::sig_atomic_t g_boxUp = 0;

// Ends the box's child, if it runs yet; if it does not, it sees the request
// as it starts (InForkedChild). One of the two always sees the other's
// write. Linux gives out pids in turn, so the pid cannot belong to another
// process in the moments between the child's end and EndModalBox.
void EndBoxChild() {
    g_boxChild->endAsked.store(1);
    const pid_t child = g_boxChild->pid.load();
    if (child > 0)
        kill(child, SIGTERM);
}

void OnCloseSignal(int sig) {
    if (g_pending) {
        // The first request was not taken up: the program is stuck, so the
        // second signal ends it the ordinary way.
        std::signal(sig, SIG_DFL);
        std::raise(sig);
        return;
    }
    g_pending = 1;
    const int savedErrno = errno;
    const char byte = 1;
    (void)!write(g_wake[1], &byte, 1);
    if (g_boxUp && g_boxChild != nullptr)
        EndBoxChild();
    errno = savedErrno;
}

// In a child forked while a box is up, the box's own process: the
// program's close requests mean nothing there, so a signal ends it as it
// ends any program.
void InForkedChild() {
    if (!g_boxUp || g_boxChild == nullptr)
        return;
    for (int sig : kCloseSignals)
        std::signal(sig, SIG_DFL);
    g_boxChild->pid.store(getpid());
    if (g_boxChild->endAsked.load())
        _exit(1);
}

void TakeWakeBytes() {
    char bytes[64];
    while (g_wake[0] >= 0 && read(g_wake[0], bytes, sizeof(bytes)) > 0) {
    }
}

} // namespace

void InstallCloseSignals() {
    static const bool prepared = [] {
        if (pipe2(g_wake, O_NONBLOCK | O_CLOEXEC) != 0)
            g_wake[0] = g_wake[1] = -1;
        void *shared = mmap(nullptr, sizeof(BoxChild), PROT_READ | PROT_WRITE,
                            MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (shared != MAP_FAILED)
            g_boxChild = new (shared) BoxChild;
        pthread_atfork(nullptr, nullptr, InForkedChild);
        return true;
    }();
    (void)prepared;
    for (int sig : kCloseSignals) {
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

bool WaitForInputOrCloseSignal(int fd, uint64_t deadlineNs) {
    // Negative descriptors are left out by ppoll.
    struct pollfd watched[2] = {{g_wake[0], POLLIN, 0}, {fd, POLLIN, 0}};
    struct timespec timeout = {};
    const struct timespec *limit = nullptr;
    if (deadlineNs != UINT64_MAX) {
        const uint64_t now = MonotonicNanoseconds();
        const uint64_t wait = deadlineNs > now ? deadlineNs - now : 0;
        timeout.tv_sec = static_cast<time_t>(wait / 1000000000u);
        timeout.tv_nsec = static_cast<long>(wait % 1000000000u);
        limit = &timeout;
    }
    const int ready = ppoll(watched, 2, limit, nullptr);
    if (ready == 0)
        return false;
    // A signal (its byte, or the wait cut short) is for the caller to take
    // up now; the next wait need not end for it again.
    if (ready < 0 || watched[0].revents != 0)
        TakeWakeBytes();
    return true;
}

void BeginModalBox() {
    if (g_boxChild != nullptr) {
        g_boxChild->pid.store(0);
        g_boxChild->endAsked.store(0);
    }
    g_boxUp = 1;
}

void EndModalBox() {
    g_boxUp = 0;
    if (g_boxChild != nullptr)
        g_boxChild->pid.store(0);
}

} // namespace portable
