// Runs the real demo and measures it from outside: the time from process
// start to its first flip, the intervals between flips over a number of
// frames, the CPU time it used and how often its threads woke per second of
// them, and the peak resident memory of the process. The demo writes its
// flip times to the log that ONDULIX_FLIP_LOG names (the portable platform's
// flip log, or the Windows build's flip probe under Wine); when enough flips
// are logged the demo gets a close request (SIGTERM) and its resources are
// collected.
//
// Usage: demo_probe [--frames N] [--clock monotonic|raw] [--timeout SECONDS]
//                   [--server PID] -- PROGRAM [ARGS...]
// --clock names the clock the log's times are on: monotonic for the portable
// platform, raw (CLOCK_MONOTONIC_RAW) for Windows' performance counter under
// Wine. --server names a process that works for the demo (Wine's
// wineserver), whose CPU time and wake-ups over the same frames are given
// apart ("server_cpu_per_wall", "server_wakeups_per_wall"). A wake-up is a
// context switch of any of the process's threads, voluntary (it slept) or
// not (it was preempted), as /proc counts them: what keeps a CPU from its
// deep idle states. Prints one line of JSON, with the machine's load as the
// run ends.
#include "bench/pacing_stats.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <csignal>
#include <time.h>
#include <unistd.h>

namespace {

struct Options {
    unsigned frames = 600;
    clockid_t clock = CLOCK_MONOTONIC;
    double timeoutSeconds = 60;
    pid_t server = 0;
    char **command = nullptr;
};

[[noreturn]] void Usage() {
    std::fprintf(stderr, "usage: demo_probe [--frames N] [--clock monotonic|raw] "
                         "[--timeout SECONDS] [--server PID] -- PROGRAM [ARGS...]\n");
    std::exit(2);
}

Options ParseOptions(int argc, char **argv) {
    Options o;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (i + 1 >= argc)
            Usage();
        const std::string name = argv[i];
        const char *value = argv[++i];
        if (name == "--frames")
            o.frames = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
        else if (name == "--clock")
            o.clock = std::strcmp(value, "raw") == 0 ? CLOCK_MONOTONIC_RAW : CLOCK_MONOTONIC;
        else if (name == "--timeout")
            o.timeoutSeconds = std::strtod(value, nullptr);
        else if (name == "--server")
            o.server = static_cast<pid_t>(std::strtol(value, nullptr, 10));
        else
            Usage();
    }
    if (i + 1 >= argc || o.frames < 1)
        Usage();
    o.command = argv + i + 1;
    return o;
}

uint64_t Now(clockid_t clock) {
    struct timespec t;
    clock_gettime(clock, &t);
    return static_cast<uint64_t>(t.tv_sec) * 1000000000ull + static_cast<uint64_t>(t.tv_nsec);
}

struct Ended {
    bool ended = false;
    int status = 0;
    struct rusage usage = {};
};

Ended TryReap(pid_t pid) {
    Ended e;
    const pid_t got = wait4(pid, &e.status, WNOHANG, &e.usage);
    e.ended = got == pid;
    return e;
}

// Asks the demo to close, as a window manager or a terminal would; ends it
// for good when it has not gone within five seconds.
Ended Stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 500; ++i) {
        Ended e = TryReap(pid);
        if (e.ended)
            return e;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    Ended e;
    wait4(pid, &e.status, 0, &e.usage);
    e.ended = true;
    return e;
}

// The CPU time (user and system) a running process has used so far, in
// seconds; negative when it cannot be read.
double ProcessCpuSeconds(pid_t pid) {
    char path[64];
    std::snprintf(path, sizeof(path), "/proc/%d/stat", static_cast<int>(pid));
    std::FILE *f = std::fopen(path, "r");
    if (f == nullptr)
        return -1;
    char line[1024] = {};
    const bool read = std::fgets(line, sizeof(line), f) != nullptr;
    std::fclose(f);
    // After the name in parentheses: state, then fields 4 to 13, then utime
    // and stime (fields 14 and 15) in clock ticks.
    const char *after = read ? std::strrchr(line, ')') : nullptr;
    unsigned long long utime = 0, stime = 0;
    if (after == nullptr ||
        std::sscanf(after + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime,
                    &stime) != 2)
        return -1;
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The context switches of all the process's threads so far, and how many
// threads it has; -1 when they cannot be read. A thread that has ended is
// no longer counted: the demo's threads live as long as it does.
struct Wakeups {
    long long switches = -1;
    int threads = 0;
};

Wakeups ProcessWakeups(pid_t pid) {
    Wakeups w;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (dir == nullptr)
        return w;
    long long total = 0;
    while (const struct dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::FILE *f = std::fopen((tasks + "/" + entry->d_name + "/status").c_str(), "r");
        if (f == nullptr)
            continue; // ended meanwhile
        char line[256];
        while (std::fgets(line, sizeof(line), f) != nullptr) {
            long long n = 0;
            if (std::sscanf(line, "voluntary_ctxt_switches: %lld", &n) == 1 ||
                std::sscanf(line, "nonvoluntary_ctxt_switches: %lld", &n) == 1)
                total += n;
        }
        std::fclose(f);
        ++w.threads;
    }
    closedir(dir);
    w.switches = total;
    return w;
}

// The machine's load, the 1-minute average, as the run ends; -1 unknown.
double LoadAverage() {
    double load = -1;
    if (std::FILE *f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &load) != 1)
            load = -1;
        std::fclose(f);
    }
    return load;
}

std::string ExitDescription(int status) {
    if (WIFEXITED(status))
        return "exit " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return "signal " + std::to_string(WTERMSIG(status));
    return "unknown";
}

} // namespace

int main(int argc, char **argv) {
    const Options o = ParseOptions(argc, argv);
    const char *logPath = std::getenv("ONDULIX_FLIP_LOG");
    if (logPath == nullptr || logPath[0] == '\0') {
        std::fprintf(stderr, "demo_probe: set ONDULIX_FLIP_LOG to the log file's path\n");
        return 2;
    }
    std::remove(logPath);

    const uint64_t start = Now(o.clock);
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return 2;
    }
    if (pid == 0) {
        execvp(o.command[0], o.command);
        std::perror(o.command[0]);
        _exit(127);
    }

    // Frame N's flip ends its interval from frame N-1: N frames, N+1 flips
    // for N intervals.
    const size_t wanted = o.frames + 1;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(o.timeoutSeconds);
    std::vector<FlipTime> flips;
    Ended early;
    // CPU use is taken from the first flip seen to the last one wanted, so
    // that the start-up is not counted.
    double cpuAtFirst = -1, cpuAtLast = -1, serverAtFirst = -1, serverAtLast = -1;
    Wakeups wakeAtFirst, wakeAtLast, serverWakeAtFirst, serverWakeAtLast;
    uint64_t wallAtFirst = 0, wallAtLast = 0;
    while ((flips = ReadFlipLog(logPath)).size() < wanted) {
        if (!flips.empty() && cpuAtFirst < 0) {
            cpuAtFirst = ProcessCpuSeconds(pid);
            wakeAtFirst = ProcessWakeups(pid);
            if (o.server > 0) {
                serverAtFirst = ProcessCpuSeconds(o.server);
                serverWakeAtFirst = ProcessWakeups(o.server);
            }
            wallAtFirst = Now(CLOCK_MONOTONIC);
        }
        early = TryReap(pid);
        if (early.ended || std::chrono::steady_clock::now() > deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (flips.size() >= wanted) {
        cpuAtLast = ProcessCpuSeconds(pid);
        wakeAtLast = ProcessWakeups(pid);
        if (o.server > 0) {
            serverAtLast = ProcessCpuSeconds(o.server);
            serverWakeAtLast = ProcessWakeups(o.server);
        }
        wallAtLast = Now(CLOCK_MONOTONIC);
    }
    const Ended end = early.ended ? early : Stop(pid);
    if (flips.size() < wanted) {
        std::fprintf(stderr, "demo_probe: %zu of %zu flips logged before the demo %s\n",
                     flips.size(), wanted,
                     early.ended ? ("ended (" + ExitDescription(end.status) + ")").c_str()
                                 : "timed out");
        return 1;
    }
    flips.resize(wanted);
    for (size_t i = 0; i < flips.size(); ++i) {
        if (flips[i].flip != i + 1) {
            std::fprintf(stderr, "demo_probe: log line %zu is flip %u\n", i + 1, flips[i].flip);
            return 1;
        }
    }

    const PacingStats pacing = IntervalStats(flips);
    // CPU seconds per second of wall time; -1 when it could not be read.
    const auto perWall = [&](double first, double last) {
        if (first < 0 || last < 0 || wallAtLast <= wallAtFirst)
            return -1.0;
        return (last - first) / (static_cast<double>(wallAtLast - wallAtFirst) / 1e9);
    };
    const auto wakeupsPerWall = [&](const Wakeups &first, const Wakeups &last) {
        if (first.switches < 0 || last.switches < 0)
            return -1.0;
        return perWall(static_cast<double>(first.switches), static_cast<double>(last.switches));
    };
    std::printf("{\"startup_ms\": %.3f, \"intervals\": %zu, \"mean_ms\": %.4f, \"p50_ms\": %.4f, "
                "\"p99_ms\": %.4f, \"max_ms\": %.4f, \"cpu_per_wall\": %.4f, "
                "\"server_cpu_per_wall\": %.4f, \"wakeups_per_wall\": %.1f, \"threads\": %d, "
                "\"server_wakeups_per_wall\": %.1f, \"max_rss_kb\": %ld, \"load\": %.2f, "
                "\"ended\": \"%s\"}\n",
                static_cast<double>(static_cast<int64_t>(flips.front().ns - start)) / 1e6,
                pacing.intervals, pacing.meanMs, pacing.p50Ms, pacing.p99Ms, pacing.maxMs,
                perWall(cpuAtFirst, cpuAtLast), perWall(serverAtFirst, serverAtLast),
                wakeupsPerWall(wakeAtFirst, wakeAtLast), wakeAtLast.threads,
                wakeupsPerWall(serverWakeAtFirst, serverWakeAtLast), end.usage.ru_maxrss,
                LoadAverage(), ExitDescription(end.status).c_str());
    return 0;
}
