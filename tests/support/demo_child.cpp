#include "tests/support/demo_child.h"

#include "app/app.h"
#include "platform/portable/winmm/winmm_clock.h"
#include "tests/support/headless_screen.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace testsupport {

void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageA(g_hWnd, message, wParam, lParam);
}

ChildOutcome RunDemoInChild(const DemoRun &run, DemoReport *report) {
    return RunInChild(
        [&] {
            if (chdir(run.directory.c_str()) != 0)
                return;
            ReportAtExit(&report->exit);
            // Lives until the process ends, as the screen does.
            static HeadlessScreen *screen = new HeadlessScreen;
            screen->onEnter = [report](HWND, int width, int height) {
                report->displayTaken = true;
                report->modeWidth = width;
                report->modeHeight = height;
            };
            screen->onFlip = [&run, report](const portable::ScreenFrame &frame) {
                report->flips = screen->flips;
                report->timerPeriodsAtFlip = portable::TimerPeriodsAsked();
                if (run.onFlip)
                    run.onFlip(screen->flips, frame);
                if (screen->flips == run.frameLimit)
                    PostQuitMessage(0);
            };
            screen->onLeave = [report](HWND) {
                report->flipsWhenGivenBack = screen->flips;
                std::fputs(kReleaseMarkerLine, stderr);
                std::fflush(stderr);
            };
            if (run.beforeStart)
                run.beforeStart();
            static int instanceTag;
            char commandLine[] = "";
            std::exit(WinMain(reinterpret_cast<HINSTANCE>(&instanceTag), run.previousInstance,
                              commandLine, SW_SHOWDEFAULT));
        },
        run.timeoutMs);
}

} // namespace testsupport
