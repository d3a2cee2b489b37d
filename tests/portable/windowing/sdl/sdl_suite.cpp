// The SDL back end's tests run on SDL's dummy video driver, however they are
// started: SDL windows, renderers and events exist, nothing reaches a screen,
// and no message box can open on one.
#include <cstdlib>

namespace {

const bool kDummyVideo = [] {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("ONDULIX_BACKEND", "sdl", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    unsetenv("ONDULIX_WINDOWED");
    unsetenv("ONDULIX_SCALE");
    return true;
}();

} // namespace
