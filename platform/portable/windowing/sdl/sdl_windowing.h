// The SDL2 back end's own declarations, shared by its files: one SDL window
// per USER window, a renderer for its background and, while it holds the
// display, a streaming texture that shows the 8-bit frames scaled to fit.
// A frame shown 1:1 by SDL's software renderer skips the texture and goes
// straight into the window's own pixels.
#pragma once

#include "platform/portable/windowing/windowing.h"

#include <SDL.h>

#include <map>
#include <memory>
#include <vector>

namespace portable {

struct SdlWindow {
    SDL_Window *window = nullptr;
    SDL_Renderer *renderer = nullptr;
    SDL_Texture *frame = nullptr; // while it holds the display
    // Whether the renderer draws into the window's surface (SDL's software
    // one), so that a frame may be written there itself.
    bool rendersToSurface = false;
    // Whether the texture holds the last frame; when not, it went straight
    // to the window's surface and `shown` keeps its indices, to show it
    // again after the window lost it or changed size.
    bool frameInTexture = true;
    std::vector<uint8_t> shown;
    // Whether the window's surface holds `shown` in the current colours, so
    // that rows a new frame leaves as they were need no converting.
    bool surfaceHoldsShown = false;
    int frameWidth = 0;
    int frameHeight = 0;
    int windowWidth = 0; // as created, for when it is a plain window again
    int windowHeight = 0;
    bool fullscreen = false;
    bool coversMonitor = false; // full screen done by hand, without a window manager
    bool hasBackground = false;
    COLORREF background = 0;
    PALETTEENTRY palette[256] = {};
    uint32_t argb[256] = {};
};

class SdlBackEnd final : public WindowingSystem {
  public:
    bool Available() override;
    bool Create(HWND hwnd, const char *title, int width, int height) override;
    void Destroy(HWND hwnd) override;
    void Show(HWND hwnd, bool show) override;
    void Fill(HWND hwnd, COLORREF colour) override;
    void ShowCursor(bool show) override;
    void EnterExclusive(HWND hwnd, int width, int height) override;
    void Present(HWND hwnd, const ScreenFrame &frame) override;
    void LeaveExclusive(HWND hwnd) override;
    void ToggleFullscreen(HWND hwnd) override;
    void Repaint(HWND hwnd) override;
    void PumpEvents() override;
    bool WaitEvents(uint64_t deadlineNs) override;
    bool ShowMessageBox(HWND owner, const char *caption, const char *text) override;

  private:
    // Every call that reaches SDL goes through one of these two first, and
    // may read the X connection: the next pump must look (quietSinceWait_).
    SdlWindow *Find(HWND hwnd);
    // The USER window an event is for: its own window's, else the one
    // holding the display.
    HWND OwnerOf(Uint32 windowID);
    void OnKey(const SDL_KeyboardEvent &key);
    void OnWindowEvent(const SDL_WindowEvent &event);
    void ApplyFullscreen(SdlWindow *w, bool fullscreen);
    void PaintBackground(SdlWindow *w);
    // Shows the frame's indices (rows `pitch` bytes apart) in the window's
    // palette colours: 1:1 into the window's surface where it can, else
    // through the texture, scaled to fit.
    void ShowFrame(SdlWindow *w, const uint8_t *pixels, long pitch);
    // Draws the texture to fit the window, with black bars where its shape differs.
    void DrawTexture(SdlWindow *w);
    // The X server's connection, to wait on; -1 on other video drivers.
    int EventFd();

    // A wait on the X connection found nothing, and nothing has reached SDL
    // since: a pump would find nothing either, and is skipped.
    bool quietSinceWait_ = false;
    bool videoTried_ = false;
    bool videoUp_ = false;
    int eventFd_ = -2; // -2: not looked up yet
    std::map<HWND, std::unique_ptr<SdlWindow>> windows_;
    HWND exclusive_ = nullptr;
};

} // namespace portable
