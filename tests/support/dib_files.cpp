#include "tests/support/dib_files.h"

#include "tests/support/bmp_writer.h"

namespace testsupport {

RGBQUAD MakeRgbQuad(uint8_t red, uint8_t green, uint8_t blue, uint8_t reserved) {
    RGBQUAD q;
    q.rgbRed = red;
    q.rgbGreen = green;
    q.rgbBlue = blue;
    q.rgbReserved = reserved;
    return q;
}

uint32_t PackedQuad(const RGBQUAD &q) {
    return static_cast<uint32_t>(q.rgbReserved) << 24 | q.rgbRed << 16 | q.rgbGreen << 8 |
           q.rgbBlue;
}

std::vector<uint8_t> IndexedBmpFile(int width, int height, const std::vector<RGBQUAD> &table,
                                    const std::vector<uint8_t> &indices) {
    BmpForm form;
    form.width = width;
    form.height = height;
    form.colorsUsed = static_cast<uint32_t>(table.size());
    for (const RGBQUAD &q : table)
        form.table.push_back(PackedQuad(q));
    form.pixels = PackRows(width, height, 8, false, [&](int x, int y) {
        return indices.at(static_cast<size_t>(y) * width + x);
    });
    return WriteBmp(form);
}

std::vector<uint8_t> TrueColourBmpFile(int width, int height,
                                       const std::vector<uint32_t> &colours) {
    BmpForm form;
    form.width = width;
    form.height = height;
    form.bitCount = 24;
    form.pixels = PackRows(width, height, 24, false, [&](int x, int y) {
        return colours.at(static_cast<size_t>(y) * width + x);
    });
    return WriteBmp(form);
}

} // namespace testsupport
