// The BMP decoder behind the portable LoadImageA: turns the bytes of a .bmp
// file into a device-independent bitmap of the size the caller asked for.
// It reads only memory, so it can be tested and fuzzed on its own.
#pragma once

#include "platform/portable/gdi/gdi_dib.h"

#include <cstddef>

namespace portable {

// The largest picture side accepted, in the file and in the request: it keeps
// what a forged header can make us allocate within reason.
constexpr int kMaxBmpSide = 16384;

// Decodes a BMP file held in memory into *out at width x height pixels (0 for
// either means the file's own size on that side), resizing by nearest
// neighbour so that every pixel keeps one of the file's colours. Returns
// false, leaving *out empty, for anything it does not accept.
bool DecodeBmp(const BYTE *data, size_t size, int width, int height, DibImage *out);

} // namespace portable
