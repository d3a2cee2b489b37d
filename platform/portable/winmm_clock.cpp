#include "winmm_clock.h"

#include "win_mmsystem.h"

#include <time.h>

namespace portable {
namespace {

ClockSource g_source = nullptr;
void *g_context = nullptr;
DWORD g_offset = 0;

} // namespace

void SetClockSource(ClockSource source, void *context) {
    g_source = source;
    g_context = context;
}

void SetClockOffset(DWORD offset) {
    g_offset = offset;
}

DWORD RealClockMilliseconds() {
    // CLOCK_MONOTONIC never steps back when the wall clock is set, as the
    // multimedia timer never does.
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms) + g_offset; // unsigned: wraps like the real count
}

} // namespace portable

DWORD WINAPI timeGetTime(void) {
    if (portable::g_source != nullptr)
        return portable::g_source(portable::g_context);
    return portable::RealClockMilliseconds();
}
