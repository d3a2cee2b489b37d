// The choice of the windowing back end: SDL2 unless the user names another
// in ONDULIX_BACKEND, or the program chooses one itself before its first
// window.
#include "platform/portable/windowing/windowing_backends.h"

#include "platform/portable/user/user_close_signals.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace portable {
namespace {

WindowingSystem *g_chosen = nullptr;

WindowingSystem *Named(const char *name) {
    if (std::strcmp(name, "sdl") == 0)
        return &SdlWindowing();
    if (std::strcmp(name, "headless") == 0)
        return &HeadlessWindowing();
    return nullptr;
}

// A back end for a name that is none: it has no display, so the program
// says so and ends as it would without one.
class NoWindowing final : public WindowingSystem {
  public:
    bool Available() override { return false; }
    bool Create(HWND, const char *, int, int) override { return false; }
    void Destroy(HWND) override {}
    void Show(HWND, bool) override {}
    void Fill(HWND, COLORREF) override {}
    void ShowCursor(bool) override {}
    void EnterExclusive(HWND, int, int) override {}
    void Present(HWND, const ScreenFrame &) override {}
    void LeaveExclusive(HWND) override {}
    void ToggleFullscreen(HWND) override {}
    void Repaint(HWND) override {}
    void PumpEvents() override {}
    bool WaitEvents(uint64_t deadlineNs) override {
        return WaitForInputOrCloseSignal(-1, deadlineNs); // nothing comes but signals
    }
    bool ShowMessageBox(HWND, const char *, const char *) override { return false; }
};

WindowingSystem *FromEnvironment() {
    const char *name = std::getenv("ONDULIX_BACKEND");
    if (name == nullptr || name[0] == '\0')
        return &SdlWindowing();
    if (WindowingSystem *named = Named(name))
        return named;
    std::fprintf(stderr, "no display for windows: ONDULIX_BACKEND=%s is none of sdl, headless\n",
                 name);
    static NoWindowing none;
    return &none;
}

} // namespace

WindowingSystem &Windowing() {
    if (g_chosen == nullptr)
        g_chosen = FromEnvironment();
    return *g_chosen;
}

bool UseWindowing(const char *name) {
    WindowingSystem *named = name != nullptr ? Named(name) : nullptr;
    if (named == nullptr)
        return false;
    g_chosen = named;
    return true;
}

} // namespace portable
