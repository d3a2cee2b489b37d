// On the portable platform the benchmarks of the drawing run on the headless
// windowing back end (ONDULIX_BACKEND=headless, as tools/bench.sh and the
// CTest checks run them); with its keeping of frames turned off, a flip
// presents nowhere and the drawing is timed alone. Windows' DirectDraw has
// no such switch: there every flip presents.
#pragma once

#ifndef _WIN32
#include "platform/portable/headless.h"
#endif

inline void QuietFlips() {
#ifndef _WIN32
    portable::HeadlessKeepFrames(false);
#endif
}
