// The headless windowing back end (ONDULIX_BACKEND=headless): windows and
// frames exist in memory only, no display is needed, and nothing is drawn
// on any screen. What it shows can be watched, kept and saved:
// - it keeps the last frame presented;
// - it hands the taking of the display, every frame presented and the giving
//   back to the hooks a program installs;
// - with ONDULIX_SAVE_FRAMES=FOLDER it writes frame N as FOLDER/frame-NNNN.png
//   (8-bit palettized) for every N that is a multiple of ONDULIX_SAVE_EVERY
//   (default 1);
// - input comes only from its Press and Close calls, and from signals.
#pragma once

#include "platform/portable/windowing/windowing.h"

#include <functional>
#include <vector>

namespace portable {

struct HeadlessHooks {
    std::function<void(HWND, int width, int height)> entered;
    // Every frame presented: each flip, and the same frame again when its
    // palette changes (ScreenFrame::flips tells them apart).
    std::function<void(HWND, const ScreenFrame &)> presented;
    std::function<void(HWND)> left;
};

// Installs the hooks; returns those they replace.
HeadlessHooks SetHeadlessHooks(HeadlessHooks hooks);

struct HeadlessFrame {
    int width = 0; // 0 until a frame is presented
    int height = 0;
    std::vector<BYTE> pixels; // width x height indices, top row first
    PALETTEENTRY palette[256] = {};
    unsigned flips = 0;
};

// The last frame presented.
const HeadlessFrame &HeadlessLastFrame();
// Whether each frame is copied to be kept (the default); a benchmark of the
// drawing alone turns it off.
void HeadlessKeepFrames(bool keep);

// A key pressed and released on the window holding the display (else the
// newest window), as a keyboard would; safe to call from any thread.
void HeadlessPressKey(WPARAM vk);
// The close button of a window, pressed; safe to call from any thread.
void HeadlessClose(HWND hwnd);

} // namespace portable
