// The windowing back ends this build has, for the choice of one.
#pragma once

#include "platform/portable/windowing/windowing.h"

namespace portable {

// Windows on a real screen through SDL2.
WindowingSystem &SdlWindowing();
// Windows and frames in memory only (headless.h).
WindowingSystem &HeadlessWindowing();
// The page's canvas, in the browser build (canvas.h).
WindowingSystem &CanvasWindowing();

} // namespace portable
