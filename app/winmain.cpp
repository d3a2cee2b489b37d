// The entry point: the window, the display, the picture, the wave, and then
// the frame loop for the rest of the process's life.
#include "app/app.h"

namespace {

const DWORD kFrameMilliseconds = 16;

// Without a window or a display nothing can be shown: say so and leave
// through the one exit, which releases whatever was created.
void ExitIfNoScreen(bool ok) {
    if (!ok)
        FatalExit(FormatMsgBuf("%s", g_szInitFailed));
}

// Hands every queued message to its window, and between its looks at the
// clock sleeps until a message comes or the frame's 16 milliseconds are
// over.
void PumpMessagesUntilFrameEnds(DWORD frameStart) {
    const DWORD frameEnd = frameStart + kFrameMilliseconds; // wraps as the clock does
    MSG msg;
    for (;;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&msg, nullptr, 0, 0) == 0)
                FatalExit(nullptr); // WM_QUIT
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD now = timeGetTime();
        if (!(now < frameEnd))
            return;
        // A frame that starts just before the clock wraps, with an end that
        // does not wrap, and first reads the clock after the wrap, would
        // otherwise wait for the clock to come round again: 49.7 days.
        const DWORD elapsed = now - frameStart;
        if (elapsed >= kFrameMilliseconds)
            return;
        // MWMO_INPUTAVAILABLE: a message already in the queue ends the wait
        // too, not only one that came after the last look at the queue.
        MsgWaitForMultipleObjectsEx(0, nullptr, kFrameMilliseconds - elapsed, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

} // namespace

UINT g_uTimerPeriod = 0;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    (void)lpCmdLine; // no arguments are taken
    if (hPrevInstance == nullptr && RegisterMainClass(hInstance, WndProc) == 0)
        return 0;
    // Windows' clock and the waits' timeouts step every 15.6 ms unless a
    // program asks for finer. From here on the only way out is FatalExit,
    // which gives the period back.
    if (timeBeginPeriod(1) == TIMERR_NOERROR)
        g_uTimerPeriod = 1;
    ExitIfNoScreen(CreateMainWindow(hInstance, nCmdShow));
    WaveState wave;
    ExitIfNoScreen(InitDemo(&wave));
    for (;;) {
        const DWORD frameStart = timeGetTime();
        DrawFrame(&wave);
        PumpMessagesUntilFrameEnds(frameStart);
    }
}
