#include "tests/support/peak_memory.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

#ifndef __has_feature
#define __has_feature(x) 0
#endif

namespace testsupport {
namespace {

// A "Name:   value kB" line of /proc/self/status, in bytes; 0 if absent.
size_t StatusBytes(const char *name) {
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (status == nullptr)
        return 0;
    char line[256];
    size_t bytes = 0;
    const size_t length = std::strlen(name);
    while (std::fgets(line, sizeof(line), status) != nullptr) {
        if (std::strncmp(line, name, length) == 0 && line[length] == ':') {
            unsigned long kb = 0;
            if (std::sscanf(line + length + 1, "%lu", &kb) == 1)
                bytes = static_cast<size_t>(kb) * 1024;
            break;
        }
    }
    std::fclose(status);
    return bytes;
}

} // namespace

bool UnderAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
}

size_t StartPeakMeasurement(size_t capBytes) {
    // "5" resets the peak resident size (VmHWM) to the current one.
    if (std::FILE *refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
    if (!UnderAddressSanitizer()) {
        const rlim_t cap = static_cast<rlim_t>(StatusBytes("VmSize") + capBytes);
        const struct rlimit limit = {cap, cap};
        setrlimit(RLIMIT_AS, &limit);
    }
    return StatusBytes("VmRSS");
}

size_t PeakResidentBytes() {
    return StatusBytes("VmHWM");
}

} // namespace testsupport
