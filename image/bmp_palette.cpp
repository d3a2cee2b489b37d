// The palette from the picture file's colour table, read by position alone.
#include "app/app.h"
#include "display/display.h"
#include "image/image.h"

#include <cstdio>

namespace {

// The colour table of an 8-bit BMP with a 40-byte info header starts right
// after the two headers.
const long kColourTableOffset = 54;

} // namespace

HRESULT LoadBmpPalette(const char *fileName) {
    std::FILE *file = std::fopen(fileName, "rb");
    if (file == nullptr)
        FatalExit(FormatMsgBuf(g_szNotFoundFormat, fileName));
    std::fseek(file, kColourTableOffset, SEEK_SET);
    for (int i = 0; i < 256; ++i) {
        // RGBQUAD order: blue, green, red, reserved. A read past the end
        // gives EOF, whose low byte is 255.
        g_PalEntries[i].peBlue = static_cast<BYTE>(std::fgetc(file));
        g_PalEntries[i].peGreen = static_cast<BYTE>(std::fgetc(file));
        g_PalEntries[i].peRed = static_cast<BYTE>(std::fgetc(file));
        std::fgetc(file);
        g_PalEntries[i].peFlags = PC_RESERVED;
    }
    std::fclose(file);
    if (g_pDDPal == nullptr)
        return DDERR_INVALIDOBJECT; // no display to give the colours to
    return g_pDDPal->SetEntries(0, 0, 256, g_PalEntries);
}
