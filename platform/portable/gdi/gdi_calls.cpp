// The GDI calls: stock objects, memory drawing contexts, selecting a bitmap
// into one, and copying it into a DirectDraw surface's context, where every
// pixel becomes the palette index of its colour.
#include "platform/portable/gdi/gdi_colour_match.h"
#include "platform/portable/gdi/gdi_objects.h"
#include "platform/portable/gdi/gdi_stock_objects.h"

#include <algorithm>
#include <cstdint>

using portable::GdiBitmap;
using portable::GdiDC;

HGDIOBJ WINAPI GetStockObject(int i) {
    return portable::StockObject(i);
}

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    // Every context here is compatible with the screen; a given context must
    // at least exist.
    if (hdc != nullptr && portable::LookupDC(hdc) == nullptr)
        return nullptr;
    return portable::CreateMemoryDC();
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    GdiDC *dc = portable::LookupDC(hdc);
    if (dc == nullptr || dc->kind != GdiDC::Kind::Memory)
        return nullptr;
    HBITMAP previous = dc->bitmap;
    HGDIOBJ previousHandle =
        previous != nullptr ? static_cast<HGDIOBJ>(previous) : portable::DefaultBitmap();
    if (h == portable::DefaultBitmap()) {
        if (GdiBitmap *old = portable::LookupBitmap(previous))
            old->selectedInto = nullptr;
        dc->bitmap = nullptr;
        return previousHandle;
    }
    GdiBitmap *bitmap = portable::LookupBitmap(h);
    if (bitmap == nullptr)
        return nullptr;
    // A bitmap is the drawing surface of one context at a time.
    if (bitmap->selectedInto != nullptr && bitmap->selectedInto != hdc)
        return nullptr;
    if (GdiBitmap *old = portable::LookupBitmap(previous))
        old->selectedInto = nullptr;
    bitmap->selectedInto = hdc;
    dc->bitmap = static_cast<HBITMAP>(h);
    return previousHandle;
}

BOOL WINAPI DeleteDC(HDC hdc) {
    GdiDC *dc = portable::LookupDC(hdc);
    // A surface's context goes back through the surface's ReleaseDC.
    if (dc == nullptr || dc->kind != GdiDC::Kind::Memory)
        return FALSE;
    if (GdiBitmap *bitmap = portable::LookupBitmap(dc->bitmap))
        bitmap->selectedInto = nullptr;
    portable::DestroyGdiObject(hdc);
    return TRUE;
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    if (portable::IsStockObject(ho))
        return TRUE; // stock objects are never destroyed, and deleting one is harmless
    GdiBitmap *bitmap = portable::LookupBitmap(ho);
    // A bitmap still selected into a context stays, as on Windows.
    if (bitmap == nullptr || bitmap->selectedInto != nullptr)
        return FALSE;
    portable::DestroyGdiObject(ho);
    return TRUE;
}

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    if (rop != SRCCOPY)
        return FALSE; // the one raster operation this platform draws
    GdiDC *dst = portable::LookupDC(hdc);
    GdiDC *src = portable::LookupDC(hdcSrc);
    if (dst == nullptr || src == nullptr || dst->kind != GdiDC::Kind::Surface ||
        src->kind != GdiDC::Kind::Memory)
        return FALSE;
    GdiBitmap *bitmap = portable::LookupBitmap(src->bitmap);
    if (bitmap == nullptr)
        return TRUE; // the default 1x1 bitmap draws nothing worth drawing
    if (cx <= 0 || cy <= 0)
        return TRUE;
    const portable::DibImage &image = bitmap->image;

    // Clip against both sides at once, in 64 bits so no sum overflows.
    int64_t sx = x1, sy = y1, dx = x, dy = y, w = cx, h = cy;
    auto clipStart = [&](int64_t &a, int64_t &b, int64_t &len) {
        const int64_t cut = std::max<int64_t>({0, -a, -b});
        a += cut;
        b += cut;
        len -= cut;
    };
    clipStart(sx, dx, w);
    clipStart(sy, dy, h);
    w = std::min({w, int64_t{image.width} - sx, int64_t{dst->width} - dx});
    h = std::min({h, int64_t{image.height} - sy, int64_t{dst->height} - dy});
    if (w <= 0 || h <= 0)
        return TRUE;

    if (!image.indices.empty()) {
        BYTE translate[256];
        portable::BuildIndexTranslation(image.colors.data(), image.colors.size(), dst->palette,
                                        translate);
        for (int64_t row = 0; row < h; ++row) {
            const BYTE *from = image.indices.data() + (sy + row) * image.width + sx;
            BYTE *to = dst->bits + (dy + row) * dst->pitch + dx;
            for (int64_t i = 0; i < w; ++i)
                to[i] = translate[from[i]];
        }
    } else {
        portable::PaletteMatcher matcher(dst->palette);
        for (int64_t row = 0; row < h; ++row) {
            const DWORD *from = image.pixels.data() + (sy + row) * image.width + sx;
            BYTE *to = dst->bits + (dy + row) * dst->pitch + dx;
            for (int64_t i = 0; i < w; ++i) {
                const DWORD c = from[i]; // 0x00RRGGBB
                to[i] = matcher.Nearest(BYTE(c >> 16), BYTE(c >> 8), BYTE(c));
            }
        }
    }
    return TRUE;
}
