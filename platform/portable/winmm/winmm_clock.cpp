#include "platform/portable/winmm/winmm_clock.h"

#include "platform/portable/include/win_mmsystem.h"

#include <time.h>

#include <map>

namespace portable {
namespace {

ClockSource g_source = nullptr;
void *g_context = nullptr;
DWORD g_offset = 0;

// The timer periods asked for and not yet given back: how many of each.
// Never destroyed: exit-time handlers may still ask.
std::map<UINT, unsigned> &PeriodsAsked() {
    static auto *periods = new std::map<UINT, unsigned>;
    return *periods;
}

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

unsigned TimerPeriodsAsked() {
    unsigned count = 0;
    for (const auto &period : PeriodsAsked())
        count += period.second;
    return count;
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

MMRESULT WINAPI timeBeginPeriod(UINT uPeriod) {
    if (uPeriod < 1 || uPeriod > 1000000)
        return TIMERR_NOCANDO;
    ++portable::PeriodsAsked()[uPeriod];
    return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT uPeriod) {
    auto asked = portable::PeriodsAsked().find(uPeriod);
    if (asked == portable::PeriodsAsked().end())
        return TIMERR_NOCANDO; // never asked for, or already given back
    if (--asked->second == 0)
        portable::PeriodsAsked().erase(asked);
    return TIMERR_NOERROR;
}
