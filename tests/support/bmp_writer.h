// The BMP writer that the tests and the fuzz corpus generator share, for
// every form the decoder reads: core, info (with or without masks after it),
// V4 and V5 headers; 1 to 32 bits per pixel; uncompressed, RLE8, RLE4 and bit
// fields. Fields are written as given, so a damaged file is a form with a
// wrong field.
#pragma once

#include "tests/support/little_endian.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace testsupport {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;

struct BmpForm {
    uint32_t headerSize = 40; // 12, 40, 52, 56, 108 or 124
    int32_t width = 0;
    int32_t height = 0; // negative: rows stored top-down
    uint16_t planes = 1;
    uint16_t bitCount = 8;
    uint32_t compression = kRgb;
    uint32_t colorsUsed = 0;     // biClrUsed as written
    std::vector<uint32_t> table; // 0xAARRGGBB; AA is the entry's fourth byte, none in a core table
    // Red, green and blue: after a 40-byte header with kBitfields, and in
    // every longer header whatever the compression.
    uint32_t masks[3] = {0, 0, 0};
    uint32_t alphaMask = 0; // in headers of 56 bytes or more
    Bytes pixels;           // the pixel data as stored
};

// The file: headers, masks after a 40-byte header when compressed with bit
// fields, colour table, pixels right after it (bfOffBits points there).
Bytes WriteBmp(const BmpForm &form);

// Uncompressed pixel data: rows in file order (bottom-up unless topDown),
// padded to four bytes; value(x, y) with y from the top. Every bit of a row
// that holds no pixel, in its last pixel byte or its padding, is the
// matching bit of `fill`.
Bytes PackRows(int width, int height, int bitCount, bool topDown,
               const std::function<uint32_t(int, int)> &value, uint8_t fill = 0);

// A colour table of n entries spread over the colour cube.
std::vector<uint32_t> SpreadTable(int n);

// Little-endian field writes into an existing file.
using le::Put16;
using le::Put32;

// Byte offsets of the fields of the file and info headers.
constexpr size_t kOffBits = 10, kHeaderSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26,
                 kBitCount = 28, kCompression = 30, kSizeImage = 34, kColorsUsed = 46,
                 kAfterInfo = 54;

} // namespace testsupport
