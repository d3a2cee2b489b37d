#include "tests/support/child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
namespace {
bool g_inForkedChild = false;
} // namespace

// The leak check at a forked child's exit would report the parent's
// objects as they were at the fork, and what the demo, ending by exit as
// a Windows program does, has no reason to free. The parent's own check
// covers the parent.
extern "C" int __lsan_is_turned_off() {
    return g_inForkedChild ? 1 : 0;
}
#endif

namespace testsupport {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Reads the pipe until the child closes it (by ending) or time runs out.
bool ReadUntilClosed(int fd, std::string *out, Clock::time_point deadline) {
    char buffer[4096];
    for (;;) {
        pollfd p = {fd, POLLIN, 0};
        const int ready = poll(&p, 1, MillisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = read(fd, buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;
        out->append(buffer, static_cast<size_t>(n));
    }
}

// Waits for the child, polling, until the deadline; false if it is still
// running then.
bool WaitUntil(pid_t pid, int *status, Clock::time_point deadline) {
    for (;;) {
        const pid_t done = waitpid(pid, status, WNOHANG);
        if (done == pid)
            return true;
        if (done < 0 && errno != EINTR)
            return false;
        if (MillisecondsLeft(deadline) == 0)
            return false;
        pollfd none = {-1, 0, 0};
        poll(&none, 0, 5); // a short pause between polls of the child's state
    }
}

} // namespace

std::ostream &operator<<(std::ostream &os, const ChildOutcome &outcome) {
    os << (outcome.finished ? "" : "killed after the time allowed; ");
    if (outcome.exited)
        os << "exit code " << outcome.exitCode;
    else
        os << "signal " << outcome.signal;
    return os << ", stderr \"" << outcome.err << "\"";
}

ChildOutcome RunInChild(const std::function<void()> &body, int timeoutMs) {
    ChildOutcome outcome;
    int fds[2];
    if (pipe(fds) != 0)
        return outcome;
    // Whatever sits in our buffers would otherwise be written twice.
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return outcome;
    }
    if (pid == 0) {
#if defined(__SANITIZE_ADDRESS__)
        g_inForkedChild = true;
#endif
        close(fds[0]);
        dup2(fds[1], STDERR_FILENO);
        close(fds[1]);
        body();
        std::fflush(stderr);
        _exit(kChildBodyReturned);
    }
    close(fds[1]);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    ReadUntilClosed(fds[0], &outcome.err, deadline);
    close(fds[0]);
    int status = 0;
    outcome.finished = WaitUntil(pid, &status, deadline);
    if (!outcome.finished) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    outcome.exited = WIFEXITED(status);
    outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}

} // namespace testsupport
