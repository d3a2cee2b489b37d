#include "ddraw_display.h"

#include "ddraw_flip_log.h"
#include "user_internal.h"

namespace portable {
namespace {

struct ScreenState {
    HWND owner = nullptr;
    int width = 0;
    int height = 0;
    bool modeSet = false;
    ScreenPresenter *presenter = nullptr;
};

ScreenState &State() {
    static ScreenState state;
    return state;
}

// Without a presenter of its own choosing, the display is the window that
// holds it, on the real screen when there is one.
class WindowPresenter final : public ScreenPresenter {
  public:
    void EnterExclusive(HWND window, int width, int height) override {
        NativeWindowEnterExclusive(NativeOf(window), width, height);
    }
    void Show(HWND window, const ScreenFrame &frame) override {
        NativeWindowPresent(NativeOf(window), frame);
    }
    void LeaveExclusive(HWND window) override { NativeWindowLeaveExclusive(NativeOf(window)); }

  private:
    static NativeWindow *NativeOf(HWND window) {
        WindowRecord *w = FindWindowRecord(window);
        return w != nullptr ? w->native : nullptr;
    }
};

ScreenPresenter *Presenter() {
    static WindowPresenter windowPresenter;
    ScreenPresenter *chosen = State().presenter;
    return chosen != nullptr ? chosen : &windowPresenter;
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
    Presenter()->EnterExclusive(s.owner, width, height);
}

void ScreenShow(const ScreenFrame &frame) {
    ScreenState &s = State();
    if (s.owner == nullptr || !s.modeSet)
        return;
    FlipLogRecord(frame.flips); // off unless ONDULIX_FLIP_LOG names a file
    Presenter()->Show(s.owner, frame);
}

void ScreenRelease() {
    ScreenState &s = State();
    const ScreenState before = s;
    s = ScreenState{nullptr, 0, 0, false, s.presenter};
    // The window stops being the display before it is told, so that it can
    // paint itself as a window again.
    if (before.modeSet)
        Presenter()->LeaveExclusive(before.owner);
}

bool ScreenHeld() {
    return State().owner != nullptr;
}

HWND ScreenOwner() {
    return State().owner;
}

ScreenPresenter *ScreenSetPresenter(ScreenPresenter *presenter) {
    ScreenPresenter *previous = State().presenter;
    State().presenter = presenter;
    return previous;
}

} // namespace portable
