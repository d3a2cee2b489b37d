// USER's windows as SDL windows, and the display on one of them: full
// screen on the desktop, or a resizable window, with the 8-bit frames
// converted to 32 bits and scaled to fit with black bars and sharp pixels.
#include "platform/portable/windowing/sdl/sdl_windowing.h"

#include "platform/portable/windowing/sdl/sdl_monitor.h"
#include "platform/portable/windowing/sdl/sdl_window_scale.h"
#include "platform/portable/windowing/sdl/sdl_x11.h"
#include "platform/portable/windowing/windowing_convert.h"

#include <cstdlib>
#include <cstring>

namespace portable {
namespace {

// Windowed at the mode's size instead of full screen, for people who prefer
// it (and for screenshots that must be 1:1).
bool WantWindowed() {
    const char *value = std::getenv("ONDULIX_WINDOWED");
    return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

int WindowScale(SDL_Window *window) {
    return ChooseWindowScale(std::getenv("ONDULIX_SCALE"), DesktopResources(window));
}

SDL_Renderer *RendererFor(SdlWindow *w) {
    if (w->renderer == nullptr) {
        w->renderer = SDL_CreateRenderer(w->window, -1, 0);
        SDL_RendererInfo info;
        w->rendersToSurface = w->renderer != nullptr &&
                              SDL_GetRendererInfo(w->renderer, &info) == 0 &&
                              (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    }
    return w->renderer;
}

// The window's own pixels, when a frame can be converted straight into them:
// SDL's software renderer draws there (any other renderer owns the window),
// they are the frame's size, and they are 32-bit with blue, green and red
// from the lowest byte up, as BuildArgbTable's colours are.
SDL_Surface *SurfaceTakingFrame(SdlWindow *w) {
    if (!w->rendersToSurface)
        return nullptr;
    SDL_Surface *surface = SDL_GetWindowSurface(w->window);
    if (surface == nullptr || surface->w != w->frameWidth || surface->h != w->frameHeight)
        return nullptr;
    const Uint32 format = surface->format->format;
    return format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888 ? surface
                                                                                  : nullptr;
}

// SDL gives a window a new surface when its size changes, and says so with
// this event at that moment, also inside its own calls, before we see it in
// the queue: the new surface holds nothing of the frame.
int ForgetSurfaceOnResize(void *, SDL_Event *event) {
    if (event->type != SDL_WINDOWEVENT || event->window.event != SDL_WINDOWEVENT_SIZE_CHANGED)
        return 0;
    SDL_Window *window = SDL_GetWindowFromID(event->window.windowID);
    if (auto *w = window != nullptr ? static_cast<SdlWindow *>(SDL_GetWindowData(window, "state"))
                                    : nullptr)
        w->surfaceHoldsShown = false;
    return 0;
}

} // namespace

SdlWindow *SdlBackEnd::Find(HWND hwnd) {
    quietSinceWait_ = false;
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : it->second.get();
}

bool SdlBackEnd::Create(HWND hwnd, const char *title, int width, int height) {
    if (!Available())
        return false;
    // High-DPI desktops that count windows in points (Wayland, macOS) keep
    // the window's apparent size; the renderer draws at the pixels' density.
    // On the chosen monitor from the start: a window manager fills the
    // monitor its window is on.
    const int monitor = ChosenMonitor();
    SDL_Window *window =
        SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED_DISPLAY(monitor),
                         SDL_WINDOWPOS_CENTERED_DISPLAY(monitor), width > 0 ? width : 1,
                         height > 0 ? height : 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window == nullptr)
        return false;
    auto w = std::make_unique<SdlWindow>();
    w->window = window;
    SDL_GetWindowSize(window, &w->windowWidth, &w->windowHeight);
    SDL_SetWindowData(window, "hwnd", hwnd);
    SDL_SetWindowData(window, "state", w.get());
    static const bool watching = (SDL_AddEventWatch(ForgetSurfaceOnResize, nullptr), true);
    (void)watching;
    windows_[hwnd] = std::move(w);
    return true;
}

void SdlBackEnd::Destroy(HWND hwnd) {
    SdlWindow *w = Find(hwnd);
    if (w == nullptr)
        return;
    if (w->frame != nullptr)
        SDL_DestroyTexture(w->frame);
    if (w->renderer != nullptr)
        SDL_DestroyRenderer(w->renderer);
    SDL_DestroyWindow(w->window);
    if (exclusive_ == hwnd)
        exclusive_ = nullptr;
    windows_.erase(hwnd);
}

void SdlBackEnd::Show(HWND hwnd, bool show) {
    if (SdlWindow *w = Find(hwnd)) {
        if (show)
            SDL_ShowWindow(w->window);
        else
            SDL_HideWindow(w->window);
    }
}

void SdlBackEnd::Fill(HWND hwnd, COLORREF colour) {
    SdlWindow *w = Find(hwnd);
    if (w == nullptr)
        return;
    w->hasBackground = true;
    w->background = colour;
    // While the window holds the display, the frames are what it shows.
    if (w->frame == nullptr)
        PaintBackground(w);
}

void SdlBackEnd::PaintBackground(SdlWindow *w) {
    if (!w->hasBackground || RendererFor(w) == nullptr)
        return;
    w->surfaceHoldsShown = false;
    const COLORREF c = w->background;
    SDL_SetRenderDrawColor(w->renderer, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, 0xFF);
    SDL_RenderClear(w->renderer);
    SDL_RenderPresent(w->renderer);
}

void SdlBackEnd::ApplyFullscreen(SdlWindow *w, bool fullscreen) {
    if (fullscreen && !FullScreenByWindowManager(w->window)) {
        // Nobody would carry out SDL's request: the window itself covers
        // the monitor, and the renderer scales the frame to it as full
        // screen would.
        w->coversMonitor = true;
        CoverMonitor(w->window);
        SDL_RaiseWindow(w->window);
    } else if (!fullscreen && w->coversMonitor) {
        w->coversMonitor = false;
    } else {
        // Full screen on the desktop, not a real mode change: the picture
        // is scaled, and leaving it can never strand the desktop in 640x480.
        if (SDL_SetWindowFullscreen(w->window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
            return;
    }
    w->fullscreen = fullscreen;
    // Back in a window, its size is set again: where no window manager
    // answers (Xvfb, SDL's dummy driver) SDL keeps the desktop's size, and
    // the frame would be drawn for a window much larger than the real one.
    // Showing frames, it opens centred at its own size, not grown from
    // wherever a smaller window was put.
    if (!fullscreen) {
        if (w->frame != nullptr) {
            const int scale = WindowScale(w->window);
            ResizeTo(w->window, w->frameWidth * scale, w->frameHeight * scale);
            CentreOnMonitor(w->window);
        } else {
            ResizeTo(w->window, w->windowWidth, w->windowHeight);
        }
    }
}

void SdlBackEnd::EnterExclusive(HWND hwnd, int width, int height) {
    SdlWindow *w = Find(hwnd);
    if (w == nullptr || RendererFor(w) == nullptr)
        return;
    exclusive_ = hwnd;
    if (w->frame != nullptr && (w->frameWidth != width || w->frameHeight != height)) {
        SDL_DestroyTexture(w->frame);
        w->frame = nullptr;
    }
    if (w->frame == nullptr) {
        // Opaque pixels in the window's own format: copied to it, not blended.
        w->frame = SDL_CreateTexture(w->renderer, SDL_PIXELFORMAT_RGB888,
                                     SDL_TEXTUREACCESS_STREAMING, width, height);
        w->frameInTexture = true;
    }
    w->frameWidth = width;
    w->frameHeight = height;
    w->shown.assign(static_cast<size_t>(width) * height, 0);
    w->surfaceHoldsShown = false;
    // The frame keeps its shape, with black bars where the window's differs.
    SDL_RenderSetLogicalSize(w->renderer, width, height);
    // In a window the user may resize it; the picture follows.
    SDL_SetWindowResizable(w->window, SDL_TRUE);
    ApplyFullscreen(w, !WantWindowed());
    SDL_RaiseWindow(w->window);
    std::memset(w->palette, 0, sizeof(w->palette));
    BuildArgbTable(w->palette, w->argb);
}

void SdlBackEnd::Present(HWND hwnd, const ScreenFrame &frame) {
    SdlWindow *w = Find(hwnd);
    if (w == nullptr || w->frame == nullptr || frame.width != w->frameWidth ||
        frame.height != w->frameHeight)
        return;
    // The colour table is rebuilt only when the palette changed, which is
    // once or twice a run.
    if (std::memcmp(w->palette, frame.palette, sizeof(w->palette)) != 0) {
        std::memcpy(w->palette, frame.palette, sizeof(w->palette));
        BuildArgbTable(w->palette, w->argb);
        w->surfaceHoldsShown = false; // every pixel has a new colour
    }
    ShowFrame(w, frame.pixels, frame.pitch);
}

void SdlBackEnd::ShowFrame(SdlWindow *w, const uint8_t *pixels, long pitch) {
    // Shown 1:1: converted straight into the window's own pixels, which SDL
    // hands to the windowing system, instead of into the texture and then
    // copied there by the renderer. Its indices are kept, to show it again
    // when the window loses it; rows equal to the frame before's (the black
    // ones below the wave) are not converted again.
    SDL_Surface *surface = SurfaceTakingFrame(w);
    if (surface != nullptr && SDL_LockSurface(surface) == 0) {
        const size_t width = static_cast<size_t>(w->frameWidth);
        for (int y = 0; y < w->frameHeight; ++y) {
            const uint8_t *row = pixels + y * pitch;
            uint8_t *kept = &w->shown[y * width];
            const bool same = std::memcmp(kept, row, width) == 0; // always when shown again
            if (same && w->surfaceHoldsShown)
                continue;
            if (!same)
                std::memcpy(kept, row, width);
            ConvertIndexedToArgb(kept, static_cast<long>(width), w->frameWidth, 1, w->argb,
                                 static_cast<uint8_t *>(surface->pixels) + y * surface->pitch,
                                 surface->pitch);
        }
        SDL_UnlockSurface(surface);
        SDL_UpdateWindowSurface(w->window);
        w->surfaceHoldsShown = true;
        w->frameInTexture = false;
        return;
    }
    // Scaled: converted straight into the texture's memory, and drawn to fit.
    void *texels = nullptr;
    int texelPitch = 0;
    if (SDL_LockTexture(w->frame, nullptr, &texels, &texelPitch) != 0)
        return; // the window keeps what it showed
    ConvertIndexedToArgb(pixels, pitch, w->frameWidth, w->frameHeight, w->argb, texels, texelPitch);
    SDL_UnlockTexture(w->frame);
    w->frameInTexture = true;
    DrawTexture(w);
}

void SdlBackEnd::LeaveExclusive(HWND hwnd) {
    SdlWindow *w = Find(hwnd);
    if (exclusive_ == hwnd)
        exclusive_ = nullptr;
    if (w == nullptr)
        return;
    if (w->frame != nullptr) {
        SDL_DestroyTexture(w->frame);
        w->frame = nullptr;
    }
    std::vector<uint8_t>().swap(w->shown);
    SDL_SetWindowResizable(w->window, SDL_FALSE);
    ApplyFullscreen(w, false);
    if (w->renderer != nullptr)
        SDL_RenderSetLogicalSize(w->renderer, 0, 0);
    PaintBackground(w);
}

void SdlBackEnd::ToggleFullscreen(HWND hwnd) {
    SdlWindow *w = Find(hwnd);
    if (w != nullptr && w->frame != nullptr)
        ApplyFullscreen(w, !w->fullscreen);
}

void SdlBackEnd::Repaint(HWND hwnd) {
    SdlWindow *w = Find(hwnd);
    if (w == nullptr)
        return;
    if (w->frame == nullptr)
        PaintBackground(w);
    else if (w->frameInTexture)
        DrawTexture(w);
    else // the window's surface may have lost it, or no longer be its size
        ShowFrame(w, w->shown.data(), w->frameWidth);
}

void SdlBackEnd::DrawTexture(SdlWindow *w) {
    w->surfaceHoldsShown = false; // the renderer draws on the same surface
    // Black bars where the window's shape is not the frame's; a window of
    // the frame's shape is covered by the frame and needs no clearing.
    int outWidth = 0, outHeight = 0;
    SDL_GetRendererOutputSize(w->renderer, &outWidth, &outHeight);
    if (static_cast<long>(outWidth) * w->frameHeight !=
        static_cast<long>(outHeight) * w->frameWidth) {
        SDL_SetRenderDrawColor(w->renderer, 0, 0, 0, 0xFF);
        SDL_RenderClear(w->renderer);
    }
    SDL_RenderCopy(w->renderer, w->frame, nullptr, nullptr);
    SDL_RenderPresent(w->renderer);
}

} // namespace portable
