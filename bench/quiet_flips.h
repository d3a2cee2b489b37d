// On the portable platform the benchmarks of the drawing run on the headless
// windowing back end (ONDULIX_BACKEND=headless, as tools/bench.sh and the
// CTest checks run them); with its keeping of frames turned off, a flip
// presents nowhere and the drawing is timed alone. Windows' DirectDraw has
// no such switch: there every flip presents. In the browser the canvas back
// end has the same switch as the headless one.
#pragma once

#if defined(__EMSCRIPTEN__)
#include "platform/portable/windowing/canvas/canvas.h"
#elif !defined(_WIN32)
#include "platform/portable/windowing/headless/headless.h"
#endif

inline void QuietFlips() {
#if defined(__EMSCRIPTEN__)
    portable::CanvasShowFrames(false);
#elif !defined(_WIN32)
    portable::HeadlessKeepFrames(false);
#endif
}
