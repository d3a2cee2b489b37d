// What a child process that ran the demo's code leaves behind when it
// exits: taken by an exit-time handler (the demo ends through exit, which
// runs them), into memory the test can read after the child has ended.
#pragma once

#include "platform/platform.h"

#include <cstddef>

namespace testsupport {

struct ExitReport {
    bool taken = false;     // the exit-time handler ran
    size_t liveObjects = 0; // DirectDraw objects still alive
    bool displayGlobalsNull = false;
    bool screenHeld = false;           // the display still taken
    unsigned timerPeriods = 0;         // timeBeginPeriod requests not given back
    PALETTEENTRY palEntries[256] = {}; // g_PalEntries
    char msgBuf[256] = {};             // g_MsgBuf
};

// In the child: has the exit-time handler fill *report. Once per process.
void ReportAtExit(ExitReport *report);

} // namespace testsupport
