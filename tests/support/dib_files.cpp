#include "tests/support/dib_files.h"

#include "tests/support/little_endian.h"

namespace testsupport {
namespace {

using Bytes = std::vector<uint8_t>;

using le::Append16;
using le::Append32;

// File header and 40-byte info header; the pixel data starts right after
// the colour table.
Bytes Headers(int width, int height, int bitCount, size_t tableEntries, size_t rowBytes) {
    const uint32_t offBits = 14 + 40 + static_cast<uint32_t>(tableEntries * 4);
    const uint32_t imageSize = static_cast<uint32_t>(rowBytes * height);
    Bytes f;
    f.push_back('B');
    f.push_back('M');
    Append32(f, offBits + imageSize);
    Append32(f, 0);
    Append32(f, offBits);
    Append32(f, 40);
    Append32(f, static_cast<uint32_t>(width));
    Append32(f, static_cast<uint32_t>(height)); // positive: bottom-up rows
    Append16(f, 1);
    Append16(f, static_cast<unsigned>(bitCount));
    Append32(f, BI_RGB);
    Append32(f, imageSize);
    Append32(f, 2835); // 72 dots per inch
    Append32(f, 2835);
    Append32(f, static_cast<uint32_t>(tableEntries));
    Append32(f, 0);
    return f;
}

size_t PaddedRow(size_t bytes) {
    return (bytes + 3) & ~size_t{3};
}

} // namespace

RGBQUAD MakeRgbQuad(uint8_t red, uint8_t green, uint8_t blue, uint8_t reserved) {
    RGBQUAD q;
    q.rgbRed = red;
    q.rgbGreen = green;
    q.rgbBlue = blue;
    q.rgbReserved = reserved;
    return q;
}

std::vector<uint8_t> IndexedBmpFile(int width, int height, const std::vector<RGBQUAD> &table,
                                    const std::vector<uint8_t> &indices) {
    const size_t row = PaddedRow(static_cast<size_t>(width));
    Bytes f = Headers(width, height, 8, table.size(), row);
    for (const RGBQUAD &q : table) {
        f.push_back(q.rgbBlue);
        f.push_back(q.rgbGreen);
        f.push_back(q.rgbRed);
        f.push_back(q.rgbReserved);
    }
    for (int y = height - 1; y >= 0; --y) {
        const size_t start = f.size();
        for (int x = 0; x < width; ++x)
            f.push_back(indices.at(static_cast<size_t>(y) * width + x));
        f.resize(start + row, 0);
    }
    return f;
}

std::vector<uint8_t> TrueColourBmpFile(int width, int height,
                                       const std::vector<uint32_t> &colours) {
    const size_t row = PaddedRow(static_cast<size_t>(width) * 3);
    Bytes f = Headers(width, height, 24, 0, row);
    for (int y = height - 1; y >= 0; --y) {
        const size_t start = f.size();
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colours.at(static_cast<size_t>(y) * width + x);
            f.push_back(static_cast<uint8_t>(c));
            f.push_back(static_cast<uint8_t>(c >> 8));
            f.push_back(static_cast<uint8_t>(c >> 16));
        }
        f.resize(start + row, 0);
    }
    return f;
}

} // namespace testsupport
