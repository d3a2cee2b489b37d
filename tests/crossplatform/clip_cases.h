// The clipped row copy's cases against the 640x480 screen, from a source
// 1,024 pixels wide: one table for what reaches BltFast (natively, where
// the call can be watched: tests/display/blit_clip_test.cpp) and for the
// pixels that arrive (on both platforms: clip_pixels_test.cpp here).
#pragma once

#include "platform/platform.h"

#include <ostream>

namespace crossplatform {

struct ClipCase {
    const char *name;
    int x, y, w, h, srcX, srcY;
    signed char keySel;
    bool called;    // false: BltFast is never asked, nothing may change
    DWORD toX, toY; // where BltFast is asked to copy
    RECT rect;      // the source rectangle it is given
    DWORD flags;
};

inline std::ostream &operator<<(std::ostream &os, const ClipCase &c) {
    return os << c.name;
}

inline constexpr int kClipSourceWidth = 1024;

inline const ClipCase kClipCases[] = {
    {"plain keyed row", 0, 200, 320, 1, 0, 5, 1, true, 0, 200, {0, 5, 320, 6}, 0x11},
    {"plain unkeyed row", 0, 200, 320, 1, 0, 5, 0, true, 0, 200, {0, 5, 320, 6}, 0x10},
    {"left edge cuts 10 columns", -10, 50, 320, 1, 0, 0, 1, true, 0, 50, {10, 0, 320, 1}, 0x11},
    {"wholly left of the screen", -320, 50, 320, 1, 0, 0, 1, false, 0, 0, {}, 0},
    {"one column left", -319, 50, 320, 1, 0, 0, 1, true, 0, 50, {319, 0, 320, 1}, 0x11},
    {"right edge leaves one column", 639, 50, 320, 1, 0, 0, 1, true, 639, 50, {0, 0, 1, 1}, 0x11},
    {"right of the screen", 640, 50, 320, 1, 0, 0, 1, false, 0, 0, {}, 0},
    {"right edge cuts to 240", 400, 50, 320, 1, 7, 0, 1, true, 400, 50, {7, 0, 247, 1}, 0x11},
    {"last row", 0, 479, 320, 1, 0, 3, 1, true, 0, 479, {0, 3, 320, 4}, 0x11},
    {"below the screen", 0, 480, 320, 1, 0, 3, 1, false, 0, 0, {}, 0},
    {"above the screen", 0, -1, 320, 1, 0, 3, 1, false, 0, 0, {}, 0},
    {"top edge cuts one row", 0, -1, 320, 2, 0, 3, 1, true, 0, 0, {0, 4, 320, 5}, 0x11},
    {"left edge first, then right", -5, 10, 700, 1, 0, 0, 1, true, 0, 10, {5, 0, 645, 1}, 0x11},
    {"zero width inside", 100, 100, 0, 1, 0, 0, 1, true, 100, 100, {0, 0, 0, 1}, 0x11},
    {"zero height inside", 100, 100, 320, 0, 0, 0, 1, true, 100, 100, {0, 0, 320, 0}, 0x11},
    {"source rectangle past the source",
     0,
     0,
     320,
     1,
     900,
     0,
     0,
     true,
     0,
     0,
     {900, 0, 1220, 1},
     0x10},
};

} // namespace crossplatform
