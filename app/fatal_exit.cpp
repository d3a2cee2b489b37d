#include "app/app.h"
#include "display/display.h"

#include <cstdlib>

void FatalExit(const char *text) {
    // The display goes back first, so the desktop is there for the box.
    ReleaseDirectDraw();
    if (g_uTimerPeriod != 0) {
        timeEndPeriod(g_uTimerPeriod);
        g_uTimerPeriod = 0;
    }
    // While the box is open, a close request can enter here again: then
    // nothing is left to release, no box is shown, and the exit below ends
    // the process with the box.
    if (text != nullptr)
        MessageBoxA(g_hWnd, text, "Message", MB_OK);
    std::exit(1);
}
