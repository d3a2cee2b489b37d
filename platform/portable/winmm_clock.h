// The millisecond clock behind timeGetTime, and the hook that lets tests and
// the frame renderer drive it.
#pragma once

#include "win_types.h"

namespace portable {

// A replacement clock: called for every timeGetTime; null restores the real
// one.
typedef DWORD (*ClockSource)(void *context);
void SetClockSource(ClockSource source, void *context);

// The monotonic clock in milliseconds, shifted by the offset (default 0),
// reduced to 32 bits.
DWORD RealClockMilliseconds();
void SetClockOffset(DWORD offset);

} // namespace portable
