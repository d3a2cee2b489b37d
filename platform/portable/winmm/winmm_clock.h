// The millisecond clock behind timeGetTime, the hook that lets tests and the
// frame renderer drive it, and the timer periods asked for.
#pragma once

#include "platform/portable/include/win_types.h"

#include <cstdint>

namespace portable {

// The monotonic clock in nanoseconds: timeGetTime's milliseconds are its
// whole milliseconds, and windowing waits are timed on it.
uint64_t MonotonicNanoseconds();

// A replacement clock: called for every timeGetTime; null restores the real
// one.
typedef DWORD (*ClockSource)(void *context);
void SetClockSource(ClockSource source, void *context);
// True while timeGetTime reads the real clock (no replacement installed).
bool ClockIsReal();

// How many timeBeginPeriod requests have not been given back by
// timeEndPeriod.
unsigned TimerPeriodsAsked();

// The monotonic clock in milliseconds, shifted by the offset (default 0),
// reduced to 32 bits.
DWORD RealClockMilliseconds();
void SetClockOffset(DWORD offset);

} // namespace portable
