// The real demo (WinMain and all) on the headless windowing back end, with
// hooks that report on stdout: "frame shown" once the first frame is up, and
// "display given back after N frames" when the demo lets the display go,
// before it exits. Signals are close requests, as in the demo's own start-up.
//   demo_watch            the real clock; runs until it is closed
//   demo_watch FRAMES     a clock that moves 16 ms per frame, so frames come
//                         as fast as they can be drawn; after FRAMES frames a
//                         key press is posted, which ends the demo
#include "app/app.h"
#include "platform/platform.h"
#include "platform/portable/windowing/headless/headless.h"
#include "platform/portable/user/user_close_signals.h"
#include "platform/portable/winmm/winmm_clock.h"

#include <cstdio>
#include <cstdlib>

namespace {

unsigned g_frames = 0;
unsigned g_frameLimit = 0; // 0: no limit, the real clock
unsigned g_lastFlips = 0;

DWORD FrameClock(void *) {
    return static_cast<DWORD>(g_frames) * 16u;
}

void OnPresented(HWND, const portable::ScreenFrame &frame) {
    if (frame.flips == g_lastFlips)
        return; // a palette change, not a new frame
    g_lastFlips = frame.flips;
    if (++g_frames == 1) {
        std::puts("frame shown");
        std::fflush(stdout);
    }
    if (g_frames == g_frameLimit)
        PostMessageA(g_hWnd, WM_KEYDOWN, VK_SPACE, 0x00390001);
}

void OnLeft(HWND) {
    std::printf("display given back after %u frames\n", g_frames);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    portable::InstallCloseSignals();
    portable::UseWindowing("headless");
    portable::HeadlessKeepFrames(false); // nothing here looks at them
    portable::HeadlessHooks hooks;
    hooks.presented = OnPresented;
    hooks.left = OnLeft;
    portable::SetHeadlessHooks(hooks);
    if (argc > 1) {
        g_frameLimit = static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));
        portable::SetClockSource(FrameClock, nullptr);
    }
    static int instanceTag;
    char noArguments[] = "";
    return WinMain(reinterpret_cast<HINSTANCE>(&instanceTag), nullptr, noArguments, SW_SHOWDEFAULT);
}
