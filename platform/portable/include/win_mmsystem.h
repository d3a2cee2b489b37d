// The multimedia timer for the portable platform.
#pragma once

#include "platform/portable/include/win_types.h"

// Milliseconds since an arbitrary start, as an unsigned 32-bit count that
// wraps after about 49.7 days.
DWORD WINAPI timeGetTime(void);
