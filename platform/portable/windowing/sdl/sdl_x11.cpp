// The X server's answers about a window's desktop: its resources, and the
// window manager named by the EWMH properties of its root window.
#include "platform/portable/windowing/sdl/sdl_x11.h"

#include <SDL_syswm.h>

namespace portable {

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

Display *DisplayOf(SDL_Window *window, Window *xwindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return nullptr;
    if (xwindow != nullptr)
        *xwindow = info.info.x11.window;
    return info.info.x11.display;
}

bool g_xError = false;
int NoteXError(Display *, XErrorEvent *) {
    g_xError = true;
    return 0;
}

// The 32-bit items of a property, up to `capacity`; how many it has, 0 when
// it has none or `owner` is gone.
unsigned long Items(Display *display, Window owner, const char *name, Atom type,
                    unsigned long *items, unsigned long capacity) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, owner, XInternAtom(display, name, False), 0,
                           static_cast<long>(capacity), False, type, &actualType, &format, &count,
                           &left, &data) != Success)
        return 0;
    if (actualType != type || format != 32)
        count = 0;
    for (unsigned long i = 0; i < count; ++i)
        items[i] = reinterpret_cast<const unsigned long *>(data)[i]; // format 32: longs
    if (data != nullptr)
        XFree(data);
    return count;
}

} // namespace

const char *DesktopResources(SDL_Window *window) {
    Display *display = DisplayOf(window, nullptr);
    return display != nullptr ? XResourceManagerString(display) : nullptr;
}

bool FullScreenByWindowManager(SDL_Window *window) {
    Window xwindow = None;
    Display *display = DisplayOf(window, &xwindow);
    if (display == nullptr)
        return true;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, xwindow, &attributes) == 0)
        return true;
    const Window root = attributes.root;
    // A window manager names its check window on the root, and the window
    // names itself. One that ended may leave the root's property behind,
    // naming a window that is gone: asking it is an X error, which would
    // otherwise end the program.
    unsigned long check = None, itself = None;
    if (Items(display, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, &check, 1) != 1)
        return false;
    XSync(display, False);
    g_xError = false;
    int (*previous)(Display *, XErrorEvent *) = XSetErrorHandler(NoteXError);
    const unsigned long found =
        Items(display, check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, &itself, 1);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (g_xError || found != 1 || itself != check)
        return false;
    unsigned long supported[512];
    const unsigned long count = Items(display, root, "_NET_SUPPORTED", XA_ATOM, supported, 512);
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    for (unsigned long i = 0; i < count; ++i)
        if (supported[i] == fullScreen)
            return true;
    return false;
}

#else

const char *DesktopResources(SDL_Window *) {
    return nullptr;
}

bool FullScreenByWindowManager(SDL_Window *) {
    return true;
}

#endif

} // namespace portable
