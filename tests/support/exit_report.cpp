#include "tests/support/exit_report.h"

#include "app/app.h"
#include "display/display.h"
#include "platform/portable/ddraw/ddraw_objects.h"
#include "platform/portable/ddraw/ddraw_display.h"
#include "platform/portable/winmm/winmm_clock.h"

#include <cstdlib>
#include <cstring>

namespace testsupport {
namespace {

ExitReport *g_report = nullptr;

void TakeReport() {
    ExitReport &r = *g_report;
    r.liveObjects = portable::LiveDirectDrawObjects();
    r.displayGlobalsNull = g_pDD == nullptr && g_pDDSPrimary == nullptr && g_pDDSBack == nullptr &&
                           g_pDDSWork == nullptr && g_pDDPal == nullptr;
    r.screenHeld = portable::ScreenHeld();
    r.timerPeriods = portable::TimerPeriodsAsked();
    std::memcpy(r.palEntries, g_PalEntries, sizeof(r.palEntries));
    std::memcpy(r.msgBuf, g_MsgBuf, sizeof(r.msgBuf));
    r.taken = true;
}

} // namespace

void ReportAtExit(ExitReport *report) {
    g_report = report;
    std::atexit(TakeReport);
}

} // namespace testsupport
