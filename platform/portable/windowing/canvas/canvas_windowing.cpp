// The canvas back end: every USER window is drawn on the page's one canvas
// (a page has one screen, and the demo one window); the one holding the
// display shows its frames there: as they are, 8-bit indices with the
// palette's colours, where the page draws with WebGL2, else converted to the
// RGBA bytes of ImageData.
// Input does not wait for a pump: the page's events reach USER while the
// program is suspended in a wait, because the browser grants full screen
// only inside the key's own event, and Alt+Enter must get there.
#include "platform/portable/windowing/canvas/canvas.h"
#include "platform/portable/windowing/canvas/canvas_keymap.h"
#include "platform/portable/user/user_input.h"
#include "platform/portable/windowing/windowing_backends.h"
#include "platform/portable/windowing/windowing_convert.h"
#include "platform/portable/winmm/winmm_clock.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace portable {
namespace {

struct CanvasWindow {
    unsigned order = 0; // the later made, the higher
    int width = 0;
    int height = 0;
    bool visible = false;
    bool hasBackground = false;
    COLORREF background = 0;
};

class CanvasBackEnd final : public WindowingSystem {
  public:
    bool Available() override {
        if (!canvas_available()) {
            std::fprintf(stderr, "no display for windows: the page has no canvas\n");
            return false;
        }
        return true;
    }
    bool Create(HWND hwnd, const char *, int width, int height) override {
        if (!canvas_available())
            return false;
        windows_[hwnd] = CanvasWindow{++made_, width, height};
        newest_ = hwnd;
        return true;
    }
    void Destroy(HWND hwnd) override {
        windows_.erase(hwnd);
        if (exclusive_ == hwnd)
            exclusive_ = nullptr;
        if (newest_ == hwnd) {
            newest_ = nullptr;
            for (const auto &[other, w] : windows_)
                if (newest_ == nullptr || w.order > windows_[newest_].order)
                    newest_ = other;
        }
        Redraw();
    }
    void Show(HWND hwnd, bool show) override {
        if (CanvasWindow *w = Find(hwnd)) {
            w->visible = show;
            Redraw();
        }
    }
    void Fill(HWND hwnd, COLORREF colour) override {
        if (CanvasWindow *w = Find(hwnd)) {
            w->hasBackground = true;
            w->background = colour;
            Redraw();
        }
    }
    void ShowCursor(bool show) override { canvas_cursor(show); }
    void EnterExclusive(HWND hwnd, int width, int height) override {
        exclusive_ = hwnd;
        frameWidth_ = width;
        frameHeight_ = height;
        indexed_ = canvas_takes_indices() != 0;
        // Black, opaque: index 0 of an all-black table, and black RGBA.
        indices_.assign(static_cast<size_t>(width) * height, 0);
        rgba_.assign(indexed_ ? 0 : static_cast<size_t>(width) * height, 0xFF000000u);
        std::memset(palette_, 0, sizeof(palette_));
        BuildRgbaTable(palette_, table_);
        lastFlip_ = 0;
        Redraw();
    }
    void Present(HWND hwnd, const ScreenFrame &frame) override;
    void LeaveExclusive(HWND hwnd) override {
        if (exclusive_ != hwnd)
            return;
        exclusive_ = nullptr;
        canvas_fullscreen(0); // the display is given back in the page, as in a window
        Redraw();
    }
    void ToggleFullscreen(HWND hwnd) override {
        if (hwnd == exclusive_)
            canvas_fullscreen(1);
    }
    void Repaint(HWND) override { Redraw(); }
    void PumpEvents() override {} // input is already in USER's queue (above)
    bool WaitEvents(uint64_t deadlineNs) override {
        if (deadlineNs == kNoDeadline)
            return canvas_wait(-1) != 0;
        const uint64_t now = MonotonicNanoseconds();
        if (deadlineNs <= now)
            return false;
        return canvas_wait(static_cast<double>(deadlineNs - now) / 1e6) != 0;
    }
    bool ShowMessageBox(HWND, const char *caption, const char *text) override {
        return canvas_message_box(caption, text) != 0;
    }

    void ShowFrames(bool show) { showFrames_ = show; }
    // Where the page's input goes: the window holding the display, else the
    // newest window.
    HWND InputTarget() const { return exclusive_ != nullptr ? exclusive_ : newest_; }

  private:
    CanvasWindow *Find(HWND hwnd) {
        auto it = windows_.find(hwnd);
        return it == windows_.end() ? nullptr : &it->second;
    }
    // What the canvas shows: the display's frame while a window holds it,
    // else the background of the newest visible window, else nothing.
    void Redraw();
    // The last frame to the canvas, as flip `flip` (0: shown again), of
    // which rows [top, top + rows) changed.
    void PutFrame(unsigned flip, int top, int rows) {
        const void *pixels = indexed_ ? static_cast<const void *>(indices_.data()) : rgba_.data();
        canvas_frame(static_cast<const uint8_t *>(pixels), frameWidth_, frameHeight_,
                     reinterpret_cast<const uint8_t *>(table_), flip, top, rows);
    }

    std::map<HWND, CanvasWindow> windows_;
    unsigned made_ = 0;
    HWND newest_ = nullptr;
    HWND exclusive_ = nullptr;
    bool showFrames_ = true;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    unsigned lastFlip_ = 0;
    bool indexed_ = false;         // the canvas takes indices and the table
    std::vector<uint8_t> indices_; // the last frame
    std::vector<uint32_t> rgba_;   // the same as ImageData's bytes, when the canvas takes those
    PALETTEENTRY palette_[256] = {};
    uint32_t table_[256] = {};
};

void CanvasBackEnd::Present(HWND hwnd, const ScreenFrame &frame) {
    if (hwnd != exclusive_ || !showFrames_ || frame.width != frameWidth_ ||
        frame.height != frameHeight_)
        return;
    // The colour table is rebuilt only when the palette changed, which is
    // once or twice a run; then every row has new colours.
    const bool newColours = std::memcmp(palette_, frame.palette, sizeof(palette_)) != 0;
    if (newColours) {
        std::memcpy(palette_, frame.palette, sizeof(palette_));
        BuildRgbaTable(palette_, table_);
    }
    // The frame is kept: the canvas may draw it later, at the browser's next
    // rendering, when the program is already drawing the next one. Rows
    // equal to the last frame's (the demo's black ones below the wave) are
    // neither converted nor drawn again: the RGBA copy always holds the
    // table's colours of the kept indices.
    int top = frame.height;
    int bottom = 0;
    for (int y = 0; y < frame.height; ++y) {
        uint8_t *kept = &indices_[static_cast<size_t>(y) * frame.width];
        const BYTE *row = frame.pixels + static_cast<long>(y) * frame.pitch;
        if (!newColours && std::memcmp(kept, row, frame.width) == 0)
            continue;
        std::memcpy(kept, row, frame.width);
        if (!indexed_)
            ConvertIndexedToArgb(row, frame.pitch, frame.width, 1, table_,
                                 &rgba_[static_cast<size_t>(y) * frame.width], frame.width * 4L);
        top = std::min(top, y);
        bottom = y + 1;
    }
    // A palette change shows the same flip again: only a new one counts as a frame.
    const unsigned flip = frame.flips != lastFlip_ ? frame.flips : 0;
    lastFlip_ = frame.flips;
    PutFrame(flip, top, std::max(0, bottom - top));
}

void CanvasBackEnd::Redraw() {
    if (exclusive_ != nullptr) {
        canvas_resize(frameWidth_, frameHeight_);
        canvas_show(1);
        PutFrame(0, 0, frameHeight_); // all of it: the canvas may have lost it
        return;
    }
    const CanvasWindow *shown = nullptr;
    for (const auto &entry : windows_)
        if (entry.second.visible && (shown == nullptr || entry.second.order > shown->order))
            shown = &entry.second;
    if (shown == nullptr) {
        canvas_show(0);
        return;
    }
    canvas_resize(shown->width, shown->height);
    canvas_show(1);
    const COLORREF c = shown->hasBackground ? shown->background : 0;
    canvas_fill(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

CanvasBackEnd &TheCanvas() {
    static CanvasBackEnd *canvas = new CanvasBackEnd; // outlives exit(), as USER's windows do
    return *canvas;
}

} // namespace

WindowingSystem &CanvasWindowing() {
    return TheCanvas();
}

void CanvasShowFrames(bool show) {
    TheCanvas().ShowFrames(show);
}

} // namespace portable

// The page's events, from canvas_library.js.
extern "C" {

EMSCRIPTEN_KEEPALIVE void canvas_key(const char *code, int down, int repeat, int alt) {
    HWND target = portable::TheCanvas().InputTarget();
    if (target == nullptr)
        return;
    portable::KeyInput key;
    key.vk = portable::VirtualKeyForCode(code);
    key.down = down != 0;
    key.repeat = repeat != 0;
    key.alt = alt != 0;
    key.extended = portable::IsExtendedCode(code);
    portable::QueueKey(target, key);
}

EMSCRIPTEN_KEEPALIVE void canvas_pointer_entered(void) {
    if (HWND target = portable::TheCanvas().InputTarget())
        portable::PointerEntered(target);
}

EMSCRIPTEN_KEEPALIVE void canvas_pointer(int button, int down, int x, int y) {
    HWND target = portable::TheCanvas().InputTarget();
    if (target == nullptr)
        return;
    UINT message = WM_MOUSEMOVE;
    if (button == 0)
        message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    else if (button == 1)
        message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    else if (button == 2)
        message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    portable::QueuePointer(target, message, x, y);
}

EMSCRIPTEN_KEEPALIVE void canvas_close(void) {
    if (HWND target = portable::TheCanvas().InputTarget())
        portable::RequestClose(target);
}
}
