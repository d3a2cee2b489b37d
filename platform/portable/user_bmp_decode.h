// The BMP decoder behind the portable LoadImageA: turns the bytes of a .bmp
// file into a device-independent bitmap of the size the caller asked for.
// It reads only memory, so it can be tested and fuzzed on its own.
#pragma once

#include "win_gdi.h"

#include <vector>

namespace portable {

// The largest picture side accepted, in the file and in the request: it keeps
// what a forged header can make us allocate within reason.
constexpr int kMaxBmpSide = 16384;

// A device-independent bitmap of exactly the requested size, rows top-down.
struct DibImage {
    int width = 0, height = 0;
    int bitCount = 0; // the file's bit depth: 1, 4, 8 (indexed) or 16, 24, 32 (direct colour)
    std::vector<RGBQUAD> colors; // indexed images: the file's colour table (at most 2^bitCount and
                                 // at most 256 entries; rgbReserved as in the file)
    std::vector<BYTE> indices;   // indexed images: width*height colour-table indices, top-down
    std::vector<DWORD> pixels;   // direct-colour images: width*height 0x00RRGGBB, top-down
};

// Decodes a BMP file held in memory into *out at width x height pixels (0 for
// either means the file's own size on that side), resizing by nearest
// neighbour so that every pixel keeps one of the file's colours. Returns
// false, leaving *out empty, for anything it does not accept.
bool DecodeBmp(const BYTE *data, size_t size, int width, int height, DibImage *out);

} // namespace portable
