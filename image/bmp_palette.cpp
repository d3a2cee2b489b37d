// The palette from the picture file's colour table, read by position alone.
#include "app/app.h"
#include "display/display.h"
#include "image/image.h"

#include <cstdio>
#include <sys/stat.h>

namespace {

// The colour table of an 8-bit BMP with a 40-byte info header starts right
// after the two headers.
const long kColourTableOffset = 54;

// Whether the name is there but is no file to read a picture from: a
// directory, a FIFO, a device. Such a name cannot be opened as a picture,
// and opening a FIFO with no writer would not even return.
bool IsNotARegularFile(const char *fileName) {
    struct stat info;
    return stat(fileName, &info) == 0 && (info.st_mode & S_IFMT) != S_IFREG;
}

} // namespace

HRESULT LoadBmpPalette(const char *fileName) {
    std::FILE *file = IsNotARegularFile(fileName) ? nullptr : std::fopen(fileName, "rb");
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
