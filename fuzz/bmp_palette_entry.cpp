#include "fuzz/bmp_palette_entry.h"

#include "display/display.h"
#include "fuzz/input_file.h"
#include "image/image.h"

#include <cstring>

namespace fuzzsupport {
namespace {

constexpr size_t kTableOffset = 54;

BYTE ByteOrEnd(const uint8_t *data, size_t size, size_t at) {
    return at < size ? data[at] : 255;
}

bool TableMatchesFile(const PALETTEENTRY table[256], const uint8_t *data, size_t size) {
    for (size_t i = 0; i < 256; ++i) {
        const size_t at = kTableOffset + 4 * i;
        const PALETTEENTRY &e = table[i];
        if (e.peBlue != ByteOrEnd(data, size, at) || e.peGreen != ByteOrEnd(data, size, at + 1) ||
            e.peRed != ByteOrEnd(data, size, at + 2) || e.peFlags != PC_RESERVED)
            return false;
    }
    return true;
}

bool SameColours(const PALETTEENTRY a[256], const PALETTEENTRY b[256]) {
    for (int i = 0; i < 256; ++i)
        if (a[i].peRed != b[i].peRed || a[i].peGreen != b[i].peGreen || a[i].peBlue != b[i].peBlue)
            return false;
    return true;
}

} // namespace

bool RunBmpPaletteCase(FuzzDisplay &display, const uint8_t *data, size_t size) {
    const char *path = WriteInputFile(data, size);
    if (path == nullptr || !display.ok())
        return false;
    PALETTEENTRY savedTable[256];
    std::memcpy(savedTable, g_PalEntries, sizeof(savedTable));
    LPDIRECTDRAWPALETTE savedPalette = g_pDDPal;
    g_pDDPal = display.palette;

    const HRESULT result = LoadBmpPalette(path);
    PALETTEENTRY inPalette[256];
    const bool read = display.palette->GetEntries(0, 0, 256, inPalette) == DD_OK;
    const bool ok = result == DD_OK && TableMatchesFile(g_PalEntries, data, size) && read &&
                    SameColours(inPalette, g_PalEntries);

    g_pDDPal = savedPalette;
    std::memcpy(g_PalEntries, savedTable, sizeof(savedTable));
    return ok;
}

} // namespace fuzzsupport
