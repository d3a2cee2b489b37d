// The GDI objects of the portable platform and the handles that name them;
// also what GDI offers the other services: DIB sections for USER's
// LoadImageA, and device contexts over DirectDraw's surfaces.
// Handles are numbers looked up in a table, so a stale or made-up handle is
// refused instead of followed.
#pragma once

#include "platform/portable/gdi/gdi_dib.h"
#include "platform/portable/include/win_gdi.h"
#include "platform/portable/include/win_types.h"

namespace portable {

// A device-independent bitmap section, as LoadImageA makes it.
struct GdiBitmap {
    DibImage image;
    HDC selectedInto = nullptr;
};

struct GdiDC {
    enum class Kind { Memory, Surface } kind = Kind::Memory;
    // Memory contexts: the selected bitmap (null while the default one is in).
    HBITMAP bitmap = nullptr;
    // Surface contexts: the 8-bit surface memory and the palette its indices
    // refer to, taken when the context was made.
    BYTE *bits = nullptr;
    LONG pitch = 0;
    int width = 0;
    int height = 0;
    PALETTEENTRY palette[256] = {};
};

HBITMAP CreateDibSection(DibImage &&image);
GdiBitmap *LookupBitmap(HGDIOBJ handle);
GdiDC *LookupDC(HDC handle);

HDC CreateMemoryDC();
// Removes the object from the table; false for a handle it does not hold.
bool DestroyGdiObject(const void *handle);

// A drawing context on an 8-bit DirectDraw surface, for GetDC/ReleaseDC.
HDC CreateSurfaceDC(BYTE *bits, LONG pitch, int width, int height, const PALETTEENTRY *palette);
void DeleteSurfaceDC(HDC dc);

// How many GDI objects exist now, for the tests' leak checks, in the build
// they link (ONDULIX_TEST_HOOKS).
size_t LiveGdiObjects();

} // namespace portable
