// The unit tests run on the headless windowing back end with no window
// system named, however they are started: no window reaches a screen, no
// message box waits for a person, and the demo processes they start inherit
// the same.
#include <cstdlib>

namespace {

const bool kHeadless = [] {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("ONDULIX_BACKEND", "headless", 1);
    return true;
}();

} // namespace
