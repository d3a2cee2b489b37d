#include "platform/portable/ddraw/ddraw_display.h"

#include "platform/portable/ddraw/ddraw_flip_log.h"

namespace portable {
namespace {

struct ScreenState {
    HWND owner = nullptr;
    int width = 0;
    int height = 0;
    bool modeSet = false;
};

ScreenState &State() {
    static ScreenState state;
    return state;
}

} // namespace

bool ScreenAcquire(HWND window) {
    ScreenState &s = State();
    if (s.owner != nullptr && s.owner != window)
        return false;
    s.owner = window;
    return true;
}

void ScreenSetMode(int width, int height) {
    ScreenState &s = State();
    s.width = width;
    s.height = height;
    s.modeSet = true;
    Windowing().EnterExclusive(s.owner, width, height);
}

void ScreenShow(const ScreenFrame &frame) {
    ScreenState &s = State();
    if (s.owner == nullptr || !s.modeSet)
        return;
    FlipLogRecord(frame.flips); // off unless ONDULIX_FLIP_LOG names a file
    Windowing().Present(s.owner, frame);
}

void ScreenRelease() {
    ScreenState &s = State();
    const ScreenState before = s;
    s = ScreenState{};
    // The window stops being the display before it is told, so that it can
    // paint itself as a window again.
    if (before.modeSet)
        Windowing().LeaveExclusive(before.owner);
}

#ifdef ONDULIX_TEST_HOOKS
bool ScreenHeld() {
    return State().owner != nullptr;
}
#endif

} // namespace portable
