// Times a key press to the end of the running demo on an X server: the demo
// is started, and once its flip log shows enough frames the probe gives its
// window the focus, presses and lets go of Space through XTest, and waits
// for the process to end. Prints one line of JSON; "flips_after_key_ms" is
// how long after the press the demo still flipped (the frame loop had not yet
// seen the key), -1 when it flipped no more.
//
// Usage: key_exit_probe [--frames N] [--timeout SECONDS] [--clock monotonic|raw]
//                       -- PROGRAM [ARGS...]
// ONDULIX_FLIP_LOG must name the demo's flip log (platform/portable/ddraw/ddraw_flip_log.h);
// --clock names the clock of its times, as for demo_probe.
#include "bench/pacing_stats.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace {

uint64_t NowNs(clockid_t clock = CLOCK_MONOTONIC) {
    struct timespec t;
    clock_gettime(clock, &t);
    return static_cast<uint64_t>(t.tv_sec) * 1000000000ull + static_cast<uint64_t>(t.tv_nsec);
}

// The demo's window: a mapped window named "Ondulix" anywhere in the tree.
Window FindDemoWindow(Display *display, Window under) {
    char *name = nullptr;
    if (XFetchName(display, under, &name) && name != nullptr) {
        const bool match = std::strcmp(name, "Ondulix") == 0;
        XFree(name);
        XWindowAttributes attributes;
        if (match && XGetWindowAttributes(display, under, &attributes) &&
            attributes.map_state == IsViewable)
            return under;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, under, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && found == 0; ++i)
            found = FindDemoWindow(display, children[i]);
        if (children != nullptr)
            XFree(children);
    }
    return found;
}

[[noreturn]] void Fail(const char *what, pid_t pid) {
    std::fprintf(stderr, "key_exit_probe: %s\n", what);
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::exit(1);
}

} // namespace

int main(int argc, char **argv) {
    unsigned frames = 60;
    double timeout = 30;
    clockid_t logClock = CLOCK_MONOTONIC;
    int i = 1;
    for (; i + 1 < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
        if (std::strcmp(argv[i], "--frames") == 0)
            frames = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        else if (std::strcmp(argv[i], "--timeout") == 0)
            timeout = std::strtod(argv[i + 1], nullptr);
        else if (std::strcmp(argv[i], "--clock") == 0)
            logClock = std::strcmp(argv[i + 1], "raw") == 0 ? CLOCK_MONOTONIC_RAW : CLOCK_MONOTONIC;
        else
            break;
    }
    const char *logPath = std::getenv("ONDULIX_FLIP_LOG");
    if (i + 1 >= argc || std::strcmp(argv[i], "--") != 0 || logPath == nullptr) {
        std::fprintf(stderr, "usage: ONDULIX_FLIP_LOG=FILE key_exit_probe [--frames N] "
                             "[--timeout SECONDS] [--clock monotonic|raw] -- PROGRAM [ARGS...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr)
        Fail("no X display", 0);
    std::remove(logPath);

    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[i + 1], argv + i + 1);
        std::perror(argv[i + 1]);
        _exit(127);
    }
    const uint64_t deadline = NowNs() + static_cast<uint64_t>(timeout * 1e9);
    while (ReadFlipLog(logPath).size() < frames) {
        if (waitpid(pid, nullptr, WNOHANG) == pid || NowNs() > deadline)
            Fail("the demo ended or timed out before its frames", -1);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const Window window = FindDemoWindow(display, DefaultRootWindow(display));
    if (window == 0)
        Fail("no window named Ondulix", pid);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    const KeyCode space = XKeysymToKeycode(display, XK_space);

    const uint64_t pressed = NowNs(), pressedOnLogClock = NowNs(logClock);
    XTestFakeKeyEvent(display, space, True, CurrentTime);
    XTestFakeKeyEvent(display, space, False, CurrentTime);
    XFlush(display);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        Fail("waitpid", pid);
    const uint64_t ended = NowNs();
    const std::vector<FlipTime> flips = ReadFlipLog(logPath);
    const double flipsAfterKeyMs =
        flips.empty() || flips.back().ns <= pressedOnLogClock
            ? -1.0
            : static_cast<double>(flips.back().ns - pressedOnLogClock) / 1e6;
    std::printf("{\"key_to_exit_ms\": %.3f, \"flips_after_key_ms\": %.3f, \"ended\": \"%s %d\"}\n",
                static_cast<double>(ended - pressed) / 1e6, flipsAfterKeyMs,
                WIFEXITED(status) ? "exit" : "signal",
                WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
    XCloseDisplay(display);
    return 0;
}
