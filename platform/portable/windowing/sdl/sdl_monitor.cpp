#include "platform/portable/windowing/sdl/sdl_monitor.h"

#include <cstdio>
#include <cstdlib>

namespace portable {
namespace {

// SDL waits up to 100 ms for a window manager to answer a move or a resize,
// and no answer comes when nothing changes: only real changes are asked.
void MoveTo(SDL_Window *window, int x, int y) {
    int currentX = 0, currentY = 0;
    SDL_GetWindowPosition(window, &currentX, &currentY);
    if (currentX != x || currentY != y)
        SDL_SetWindowPosition(window, x, y);
}

} // namespace

int ChosenMonitor() {
    const char *setting = std::getenv("ONDULIX_DISPLAY");
    if (setting == nullptr || setting[0] == '\0')
        return 0;
    const int count = SDL_GetNumVideoDisplays();
    char *end = nullptr;
    const long n = std::strtol(setting, &end, 10);
    if (*end == '\0' && n >= 0 && n < count)
        return static_cast<int>(n);
    static bool said = false;
    if (!said) {
        said = true;
        std::fprintf(stderr,
                     "ONDULIX_DISPLAY=%s names no monitor (%d here, counted from 0); using "
                     "monitor 0\n",
                     setting, count);
    }
    return 0;
}

void ResizeTo(SDL_Window *window, int width, int height) {
    int currentWidth = 0, currentHeight = 0;
    SDL_GetWindowSize(window, &currentWidth, &currentHeight);
    if (currentWidth != width || currentHeight != height)
        SDL_SetWindowSize(window, width, height);
}

void CentreOnMonitor(SDL_Window *window) {
    SDL_Rect area;
    if (SDL_GetDisplayUsableBounds(ChosenMonitor(), &area) != 0)
        return;
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    MoveTo(window, area.x + (width < area.w ? (area.w - width) / 2 : 0),
           area.y + (height < area.h ? (area.h - height) / 2 : 0));
}

void CoverMonitor(SDL_Window *window) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(ChosenMonitor(), &bounds) != 0)
        return;
    MoveTo(window, bounds.x, bounds.y);
    ResizeTo(window, bounds.w, bounds.h);
}

} // namespace portable
