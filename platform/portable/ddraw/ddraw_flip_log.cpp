#include "platform/portable/ddraw/ddraw_flip_log.h"

#include <cstdio>
#include <cstdlib>
#include <time.h>

namespace portable {
namespace {

struct FlipLog {
    std::FILE *file = nullptr;
    unsigned lastFlip = 0;
};

// Opened at the first frame shown: a run without the variable pays one
// getenv for the whole of its life.
FlipLog &Log() {
    static FlipLog log = [] {
        FlipLog opened;
        const char *path = std::getenv("ONDULIX_FLIP_LOG");
        if (path != nullptr && path[0] != '\0')
            opened.file = std::fopen(path, "w");
        return opened;
    }();
    return log;
}

} // namespace

void FlipLogRecord(unsigned flips) {
    FlipLog &log = Log();
    if (log.file == nullptr || flips == log.lastFlip)
        return;
    log.lastFlip = flips;
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const unsigned long long ns = static_cast<unsigned long long>(now.tv_sec) * 1000000000ull +
                                  static_cast<unsigned long long>(now.tv_nsec);
    std::fprintf(log.file, "%u %llu\n", flips, ns);
    std::fflush(log.file);
}

} // namespace portable
