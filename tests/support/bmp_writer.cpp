#include "tests/support/bmp_writer.h"

namespace testsupport {

using le::Append16;
using le::Append32;

Bytes WriteBmp(const BmpForm &form) {
    const bool core = form.headerSize == 12;
    const bool masksAfter = form.compression == kBitfields && form.headerSize == 40;
    const size_t entrySize = core ? 3 : 4;
    const uint32_t offBits = static_cast<uint32_t>(14 + form.headerSize + (masksAfter ? 12 : 0) +
                                                   form.table.size() * entrySize);
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    Append32(b, static_cast<uint32_t>(offBits + form.pixels.size()));
    Append32(b, 0);
    Append32(b, offBits);
    Append32(b, form.headerSize);
    if (core) {
        Append16(b, static_cast<uint32_t>(form.width));
        Append16(b, static_cast<uint32_t>(form.height));
        Append16(b, form.planes);
        Append16(b, form.bitCount);
    } else {
        Append32(b, static_cast<uint32_t>(form.width));
        Append32(b, static_cast<uint32_t>(form.height));
        Append16(b, form.planes);
        Append16(b, form.bitCount);
        Append32(b, form.compression);
        Append32(b, static_cast<uint32_t>(form.pixels.size()));
        Append32(b, 2835); // 72 dpi
        Append32(b, 2835);
        Append32(b, form.colorsUsed);
        Append32(b, 0);
        if (form.headerSize > 40) {
            for (uint32_t mask : form.masks)
                Append32(b, mask);
            if (form.headerSize >= 56)
                Append32(b, form.alphaMask);
            b.resize(14 + form.headerSize, 0); // colour space and the rest: unused
            if (form.headerSize >= 108)
                Put32(b, 14 + 56, 0x73524742); // 'sRGB'
        }
        if (masksAfter)
            for (uint32_t mask : form.masks)
                Append32(b, mask);
    }
    for (uint32_t c : form.table) {
        b.push_back(static_cast<uint8_t>(c));
        b.push_back(static_cast<uint8_t>(c >> 8));
        b.push_back(static_cast<uint8_t>(c >> 16));
        if (!core)
            b.push_back(static_cast<uint8_t>(c >> 24));
    }
    b.insert(b.end(), form.pixels.begin(), form.pixels.end());
    return b;
}

Bytes PackRows(int width, int height, int bitCount, bool topDown,
               const std::function<uint32_t(int, int)> &value, uint8_t fill) {
    const size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    Bytes pixels(stride * static_cast<size_t>(height), fill);
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        uint8_t *row = &pixels[stride * static_cast<size_t>(fileRow)];
        for (int x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            if (bitCount < 8) { // several pixels a byte, the first in the high bits
                const int shift = 8 - bitCount - x * bitCount % 8;
                const uint32_t mask = ((1u << bitCount) - 1) << shift;
                uint8_t &byte = row[x * bitCount / 8];
                byte = static_cast<uint8_t>((byte & ~mask) | (v << shift & mask));
            } else {
                for (int i = 0; i < bitCount / 8; ++i)
                    row[x * (bitCount / 8) + i] = static_cast<uint8_t>(v >> (8 * i));
            }
        }
    }
    return pixels;
}

std::vector<uint32_t> SpreadTable(int n) {
    std::vector<uint32_t> table(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const uint32_t r = static_cast<uint32_t>(i * 97 % 256);
        const uint32_t g = static_cast<uint32_t>(i * 57 % 256);
        const uint32_t b = static_cast<uint32_t>(255 - i * 255 / (n > 1 ? n - 1 : 1));
        table[static_cast<size_t>(i)] = r << 16 | g << 8 | b;
    }
    return table;
}

} // namespace testsupport
