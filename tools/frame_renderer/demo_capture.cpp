#include "demo_capture.h"

#include "platform/platform.h"
#include "platform/portable/windowing/headless/headless.h"
#include "platform/portable/winmm/winmm_clock.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// Every frame lasts exactly 16 ms of this clock, so the frame loop never
// waits and frame n always shows the same picture.
unsigned g_flips = 0;
DWORD FrameClock(void *) {
    return static_cast<DWORD>(g_flips) * 16u;
}

FrameSink *g_sink = nullptr;

void OnPresented(HWND, const portable::ScreenFrame &frame) {
    if (frame.flips == g_flips)
        return; // a palette change or the first showing, not a new frame
    g_flips = frame.flips;
    if (!g_sink->Frame(frame.flips, frame)) {
        std::fflush(stdout);
        std::exit(g_sink->Finish());
    }
}

} // namespace

void RunDemo(const char *directory, FrameSink *sink) {
    if (chdir(directory) != 0) {
        std::perror(directory);
        std::exit(2);
    }
    // No window may reach a real screen, whatever DISPLAY says.
    portable::UseWindowing("headless");
    portable::HeadlessKeepFrames(false); // each goes to the sink as it comes
    g_sink = sink;
    portable::HeadlessHooks hooks;
    hooks.presented = OnPresented;
    portable::SetHeadlessHooks(hooks);
    portable::SetClockSource(FrameClock, nullptr);
    static int instanceTag;
    char noArguments[] = "";
    const int result =
        WinMain(reinterpret_cast<HINSTANCE>(&instanceTag), nullptr, noArguments, SW_SHOWDEFAULT);
    std::exit(result);
}
