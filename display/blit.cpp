// The clipped fast row copy and the source colour key.
#include "display/display.h"

#include <cstdint>
#include <cstring>

// Every row copy is clipped against the whole 640x480 screen.
static const RECT g_ClipRect = {0, 0, 640, 480};
// Key selector of BltFastClip -> BltFast transfer flag.
static const DWORD ColorKeyFlags[2] = {DDBLTFAST_NOCOLORKEY, DDBLTFAST_SRCCOLORKEY};

namespace {

bool FitsLong(int64_t v) {
    return v >= INT32_MIN && v <= INT32_MAX;
}

} // namespace

HRESULT BltFastClip(LPDIRECTDRAWSURFACE dest, int x, int y, int w, int h, LPDIRECTDRAWSURFACE src,
                    int srcX, int srcY, signed char keySel) {
    // Only selectors 0 and 1 name a flag; any other value is refused rather
    // than read from beyond the table.
    if (keySel != 0 && keySel != 1)
        return DDERR_INVALIDPARAMS;
    // The clip is done in 64 bits so that no argument, however far off
    // screen, can overflow a sum; every value it hands on fits in 32.
    int64_t dx = x, dy = y, dw = w, dh = h, sx = srcX, sy = srcY;
    if (dx < g_ClipRect.left) {
        const int64_t d = g_ClipRect.left - dx;
        sx += d;
        dw -= d;
        dx = g_ClipRect.left;
        if (dw < 1)
            return DD_OK;
    }
    if (dy < g_ClipRect.top) {
        const int64_t d = g_ClipRect.top - dy;
        sy += d;
        dh -= d;
        dy = g_ClipRect.top;
        if (dh < 1)
            return DD_OK;
    }
    if (dx >= g_ClipRect.right || dy >= g_ClipRect.bottom)
        return DD_OK;
    if (dx + dw > g_ClipRect.right)
        dw = g_ClipRect.right - dx;
    if (dy + dh > g_ClipRect.bottom)
        dh = g_ClipRect.bottom - dy;

    RECT srcRect;
    if (!FitsLong(sx) || !FitsLong(sy) || !FitsLong(sx + dw) || !FitsLong(sy + dh))
        return DDERR_INVALIDRECT; // no surface reaches that far
    srcRect.left = static_cast<LONG>(sx);
    srcRect.top = static_cast<LONG>(sy);
    srcRect.right = static_cast<LONG>(sx + dw);
    srcRect.bottom = static_cast<LONG>(sy + dh);
    return dest->BltFast(static_cast<DWORD>(dx), static_cast<DWORD>(dy), src, &srcRect,
                         ColorKeyFlags[keySel] | DDBLTFAST_WAIT);
}

HRESULT SetSrcColorKey(LPDIRECTDRAWSURFACE surface, DWORD index) {
    DDCOLORKEY key;
    key.dwColorSpaceLowValue = index;
    key.dwColorSpaceHighValue = index;
    return surface->SetColorKey(DDCKEY_SRCBLT, &key);
}
