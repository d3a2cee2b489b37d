// USER's windows on a real screen through SDL2: one SDL window per window,
// a renderer for its background and, while it holds the display, a
// streaming texture that shows the 8-bit frames scaled to fit.
#include "native_window.h"

#include "windowing_convert.h"
#include "user_internal.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace portable {

struct NativeWindow {
    HWND owner = nullptr;
    SDL_Window *window = nullptr;
    SDL_Renderer *renderer = nullptr;
    SDL_Texture *frame = nullptr;
    int frameWidth = 0;
    int frameHeight = 0;
    int windowWidth = 0; // as created, for when it is a plain window again
    int windowHeight = 0;
    bool fullscreen = false;
    PALETTEENTRY palette[256] = {};
    uint32_t argb[256] = {};
};

namespace {

bool g_videoTried = false;
bool g_videoUp = false;

// Windowed at the mode's size instead of full screen, for people who prefer
// it (and for screenshots that must be 1:1).
bool WantWindowed() {
    const char *value = std::getenv("ONDULIX_WINDOWED");
    return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

SDL_Renderer *RendererFor(NativeWindow *w) {
    if (w->renderer == nullptr)
        w->renderer = SDL_CreateRenderer(w->window, -1, 0);
    return w->renderer;
}

// SDL waits up to 100 ms for a window manager to answer a resize, and no
// answer comes when the size does not change: only real changes are asked.
void ResizeTo(NativeWindow *w, int width, int height) {
    int current = 0, currentHeight = 0;
    SDL_GetWindowSize(w->window, &current, &currentHeight);
    if (current != width || currentHeight != height)
        SDL_SetWindowSize(w->window, width, height);
}

void ApplyFullscreen(NativeWindow *w, bool fullscreen) {
    // Full screen on the desktop, not a real mode change: the picture is
    // scaled, and leaving it can never strand the desktop in 640x480.
    if (SDL_SetWindowFullscreen(w->window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        return;
    w->fullscreen = fullscreen;
    // Back in a window, its size is set again: where no window manager
    // answers (Xvfb, SDL's dummy driver) SDL keeps the desktop's size, and
    // the frame would be drawn for a window much larger than the real one.
    if (!fullscreen) {
        const bool display = w->frame != nullptr;
        ResizeTo(w, display ? w->frameWidth : w->windowWidth,
                 display ? w->frameHeight : w->windowHeight);
    }
}

} // namespace

bool NativeVideoAvailable() {
    if (!g_videoTried) {
        g_videoTried = true;
        // The platform turns signals into close requests itself.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0"); // sharp pixels
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        // SDL's software renderer unless the user names another in
        // SDL_RENDER_DRIVER: one 640x480 picture needs no GPU, and where
        // OpenGL has none (llvmpipe) it costs about 300 ms of start-up and
        // 85 MB of memory. Its pixels go straight to the windowing system
        // (X11 shared memory), not through an OpenGL texture.
        SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        g_videoUp = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        // When no X11 or Wayland display answers, SDL quietly falls back to
        // its offscreen driver: the program would run with nothing on any
        // screen. Only a driver the user named may be one without a screen.
        const char *named = SDL_GetHint(SDL_HINT_VIDEODRIVER);
        const char *driver = g_videoUp ? SDL_GetCurrentVideoDriver() : nullptr;
        if (g_videoUp && (named == nullptr || *named == '\0') && driver != nullptr &&
            (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            SDL_SetError("no X11 or Wayland display answered (DISPLAY=%s)",
                         std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "");
            g_videoUp = false;
        }
        // Said once, where a person running the program will see why no
        // window can open.
        if (!g_videoUp)
            std::fprintf(stderr, "no display for windows: %s\n", SDL_GetError());
    }
    return g_videoUp;
}

NativeWindow *NativeWindowCreate(HWND owner, const char *title, int width, int height) {
    SDL_Window *window =
        SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                         width > 0 ? width : 1, height > 0 ? height : 1, SDL_WINDOW_HIDDEN);
    if (window == nullptr)
        return nullptr;
    auto *w = new NativeWindow;
    w->owner = owner;
    w->window = window;
    SDL_GetWindowSize(window, &w->windowWidth, &w->windowHeight);
    SDL_SetWindowData(window, "hwnd", owner);
    return w;
}

void NativeWindowDestroy(NativeWindow *w) {
    if (w == nullptr)
        return;
    if (w->frame != nullptr)
        SDL_DestroyTexture(w->frame);
    if (w->renderer != nullptr)
        SDL_DestroyRenderer(w->renderer);
    SDL_DestroyWindow(w->window);
    delete w;
}

void NativeWindowShow(NativeWindow *w, bool show) {
    if (w == nullptr)
        return;
    if (show)
        SDL_ShowWindow(w->window);
    else
        SDL_HideWindow(w->window);
}

void NativeWindowFill(NativeWindow *w, COLORREF colour) {
    if (w == nullptr || RendererFor(w) == nullptr)
        return;
    SDL_SetRenderDrawColor(w->renderer, colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF,
                           0xFF);
    SDL_RenderClear(w->renderer);
    SDL_RenderPresent(w->renderer);
}

uint32_t NativeWindowId(NativeWindow *w) {
    return w != nullptr ? SDL_GetWindowID(w->window) : 0;
}

void NativeWindowShowCursor(bool show) {
    if (NativeVideoAvailable())
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void NativeWindowEnterExclusive(NativeWindow *w, int width, int height) {
    if (w == nullptr || RendererFor(w) == nullptr)
        return;
    if (w->frame != nullptr && (w->frameWidth != width || w->frameHeight != height)) {
        SDL_DestroyTexture(w->frame);
        w->frame = nullptr;
    }
    if (w->frame == nullptr)
        // Opaque pixels in the window's own format: copied to it, not blended.
        w->frame = SDL_CreateTexture(w->renderer, SDL_PIXELFORMAT_RGB888,
                                     SDL_TEXTUREACCESS_STREAMING, width, height);
    w->frameWidth = width;
    w->frameHeight = height;
    // The frame keeps its shape, with black bars where the window's differs.
    SDL_RenderSetLogicalSize(w->renderer, width, height);
    if (WantWindowed())
        ResizeTo(w, width, height);
    ApplyFullscreen(w, !WantWindowed());
    SDL_RaiseWindow(w->window);
    std::memset(w->palette, 0, sizeof(w->palette));
    BuildArgbTable(w->palette, w->argb);
}

void NativeWindowPresent(NativeWindow *w, const ScreenFrame &frame) {
    if (w == nullptr || w->frame == nullptr || frame.width != w->frameWidth ||
        frame.height != w->frameHeight)
        return;
    // The colour table is rebuilt only when the palette changed, which is
    // once or twice a run.
    if (std::memcmp(w->palette, frame.palette, sizeof(w->palette)) != 0) {
        std::memcpy(w->palette, frame.palette, sizeof(w->palette));
        BuildArgbTable(w->palette, w->argb);
    }
    void *pixels = nullptr;
    int pitch = 0;
    // Converted straight into the texture's memory: one pass, no copy.
    if (SDL_LockTexture(w->frame, nullptr, &pixels, &pitch) != 0)
        return;
    ConvertIndexedToArgb(frame.pixels, frame.pitch, frame.width, frame.height, w->argb, pixels,
                         pitch);
    SDL_UnlockTexture(w->frame);
    SDL_SetRenderDrawColor(w->renderer, 0, 0, 0, 0xFF);
    NativeWindowRepaint(w);
}

void NativeWindowLeaveExclusive(NativeWindow *w) {
    if (w == nullptr)
        return;
    if (w->frame != nullptr) {
        SDL_DestroyTexture(w->frame);
        w->frame = nullptr;
    }
    ApplyFullscreen(w, false);
    if (w->renderer != nullptr)
        SDL_RenderSetLogicalSize(w->renderer, 0, 0);
    PaintWindow(w->owner);
}

void NativeToggleFullscreen(NativeWindow *w) {
    if (w != nullptr && w->frame != nullptr)
        ApplyFullscreen(w, !w->fullscreen);
}

void NativeWindowRepaint(NativeWindow *w) {
    if (w == nullptr || w->frame == nullptr)
        return;
    SDL_RenderClear(w->renderer);
    SDL_RenderCopy(w->renderer, w->frame, nullptr, nullptr);
    SDL_RenderPresent(w->renderer);
}

} // namespace portable
