#include "platform/portable/winmm/winmm_clock.h"

#include "platform/portable/include/win_mmsystem.h"

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

bool ClockIsReal() {
    return g_source == nullptr;
}

uint64_t MonotonicNanoseconds() {
    // CLOCK_MONOTONIC never steps back when the wall clock is set, as the
    // multimedia timer never does.
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

DWORD RealClockMilliseconds() {
    const uint64_t ms = MonotonicNanoseconds() / 1000000u;
    return static_cast<DWORD>(ms) + g_offset; // unsigned: wraps like the real count
}

} // namespace portable

DWORD WINAPI timeGetTime(void) {
    if (portable::g_source != nullptr)
        return portable::g_source(portable::g_context);
    return portable::RealClockMilliseconds();
}
