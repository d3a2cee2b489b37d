#include "tests/support/thread_sleeps.h"

#include <cstdio>

namespace testsupport {

long ThreadSleeps() {
    std::FILE *status = std::fopen("/proc/thread-self/status", "r");
    if (status == nullptr)
        return -1;
    long sleeps = -1;
    char line[256];
    while (sleeps < 0 && std::fgets(line, sizeof(line), status) != nullptr)
        if (std::sscanf(line, "voluntary_ctxt_switches: %ld", &sleeps) != 1)
            sleeps = -1;
    std::fclose(status);
    return sleeps;
}

} // namespace testsupport
