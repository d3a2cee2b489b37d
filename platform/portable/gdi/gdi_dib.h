// A device-independent bitmap as GDI keeps it: what a DIB section holds, and
// what the picture loader decodes a .bmp file into.
#pragma once

#include "platform/portable/include/win_gdi.h"

#include <vector>

namespace portable {

// A device-independent bitmap of exactly the requested size, rows top-down.
struct DibImage {
    int width = 0, height = 0;
    int bitCount = 0; // the file's bit depth: 1, 4, 8 (indexed) or 16, 24, 32 (direct colour)
    std::vector<RGBQUAD> colors; // indexed images: the file's colour table (at most 2^bitCount and
                                 // at most 256 entries; rgbReserved as in the file)
    std::vector<BYTE> indices;   // indexed images: width*height colour-table indices, top-down
    std::vector<DWORD> pixels;   // direct-colour images: width*height 0x00RRGGBB, top-down
};

} // namespace portable
