// SDL2's video, started once: the hints that make it a good screen for
// 8-bit frames, the refusal to run where no display answers, the pointer,
// and message boxes.
#include "platform/portable/windowing/sdl/sdl_windowing.h"

#include "platform/portable/windowing/windowing_backends.h"

#include <SDL_syswm.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace portable {
namespace {

// libwayland finds a compositor through WAYLAND_SOCKET, an absolute
// WAYLAND_DISPLAY or a socket in XDG_RUNTIME_DIR. Without any of them it can
// only fail, and says so on stderr in words that mean nothing to the person
// running the demo (the "XDG_RUNTIME_DIR is invalid" line).
bool WaylandMayAnswer() {
    const char *socket = std::getenv("WAYLAND_SOCKET");
    const char *display = std::getenv("WAYLAND_DISPLAY");
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    return (socket != nullptr && socket[0] != '\0') || (display != nullptr && display[0] == '/') ||
           (runtime != nullptr && runtime[0] == '/');
}

// Every video driver SDL has, in its own order, but Wayland's.
std::string DriversButWayland() {
    std::string list;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const char *name = SDL_GetVideoDriver(i);
        if (name == nullptr || std::strcmp(name, "wayland") == 0)
            continue;
        if (!list.empty())
            list += ',';
        list += name;
    }
    return list;
}

} // namespace

bool SdlBackEnd::Available() {
    quietSinceWait_ = false;
    if (videoTried_)
        return videoUp_;
    videoTried_ = true;
    // The platform turns signals into close requests itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0"); // sharp pixels
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // SDL's software renderer unless the user names another in
    // SDL_RENDER_DRIVER: one 640x480 picture needs no GPU, and where OpenGL
    // has none (llvmpipe) it costs about 300 ms of start-up and 85 MB of
    // memory. Its pixels go straight to the windowing system (X11 shared
    // memory), not through an OpenGL texture.
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The driver the user named (SDL_VIDEODRIVER), if any, before we name
    // any ourselves.
    const char *named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const bool userNamed = named != nullptr && *named != '\0';
    if (!userNamed && !WaylandMayAnswer())
        SDL_SetHint(SDL_HINT_VIDEODRIVER, DriversButWayland().c_str());
    videoUp_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    // When no X11 or Wayland display answers, SDL quietly falls back to its
    // offscreen driver: the program would run with nothing on any screen.
    // Only a driver the user named may be one without a screen.
    const char *driver = videoUp_ ? SDL_GetCurrentVideoDriver() : nullptr;
    if (videoUp_ && !userNamed && driver != nullptr &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_SetError("no X11 or Wayland display answered (DISPLAY=%s)",
                     std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "");
        videoUp_ = false;
    }
    // Said once, where a person running the program will see why no window
    // can open.
    if (!videoUp_)
        std::fprintf(stderr, "no display for windows: %s\n", SDL_GetError());
    return videoUp_;
}

void SdlBackEnd::ShowCursor(bool show) {
    if (Available())
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool SdlBackEnd::ShowMessageBox(HWND owner, const char *caption, const char *text) {
    if (!Available())
        return false;
    SdlWindow *parent = Find(owner);
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text,
                                    parent != nullptr ? parent->window : nullptr) == 0;
}

int SdlBackEnd::EventFd() {
    if (eventFd_ != -2 || windows_.empty())
        return eventFd_ == -2 ? -1 : eventFd_;
    eventFd_ = -1;
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(windows_.begin()->second->window, &info) &&
        info.subsystem == SDL_SYSWM_X11)
        eventFd_ = ConnectionNumber(info.info.x11.display);
#endif
    return eventFd_;
}

WindowingSystem &SdlWindowing() {
    static auto *sdl = new SdlBackEnd; // outlives exit(), as USER's windows do
    return *sdl;
}

} // namespace portable
