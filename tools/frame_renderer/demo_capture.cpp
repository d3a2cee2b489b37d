#include "demo_capture.h"

#include "platform/platform.h"
#include "platform/portable/winmm_clock.h"

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

class CapturingPresenter final : public portable::ScreenPresenter {
  public:
    explicit CapturingPresenter(FrameSink *sink) : sink_(sink) {}
    void EnterExclusive(HWND, int, int) override {}
    void LeaveExclusive(HWND) override {}
    void Show(HWND, const portable::ScreenFrame &frame) override {
        if (frame.flips == g_flips)
            return; // a palette change or the first showing, not a new frame
        g_flips = frame.flips;
        if (!sink_->Frame(frame.flips, frame)) {
            std::fflush(stdout);
            std::exit(sink_->Finish());
        }
    }

  private:
    FrameSink *sink_;
};

} // namespace

void RunDemo(const char *directory, FrameSink *sink) {
    if (chdir(directory) != 0) {
        std::perror(directory);
        std::exit(2);
    }
    // No window may reach a real screen, whatever DISPLAY says.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    static CapturingPresenter presenter(sink);
    portable::ScreenSetPresenter(&presenter);
    portable::SetClockSource(FrameClock, nullptr);
    static int instanceTag;
    char noArguments[] = "";
    const int result =
        WinMain(reinterpret_cast<HINSTANCE>(&instanceTag), nullptr, noArguments, SW_SHOWDEFAULT);
    std::exit(result);
}
