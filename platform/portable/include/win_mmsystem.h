// The multimedia timer for the portable platform.
#pragma once

#include "platform/portable/include/win_types.h"

typedef UINT MMRESULT;

#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97

// Milliseconds since an arbitrary start, as an unsigned 32-bit count that
// wraps after about 49.7 days.
DWORD WINAPI timeGetTime(void);
// Asks for the timer to step every uPeriod milliseconds (1 to 1,000,000),
// and gives that request back; every begin needs its own end. Here the
// clock and the waits are as fine as they get whatever is asked, so the
// requests are only counted (winmm_clock.h).
MMRESULT WINAPI timeBeginPeriod(UINT uPeriod);
MMRESULT WINAPI timeEndPeriod(UINT uPeriod);
