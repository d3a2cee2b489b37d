#include "fuzz/sample_forms.h"

namespace bmpsamples {
namespace {

uint32_t Pattern(int x, int y) {
    return static_cast<uint32_t>(x * 7 + y * 13 + (x ^ y));
}

BmpForm Indexed(uint32_t headerSize, int width, int height, int bitCount, bool topDown = false) {
    BmpForm f;
    f.headerSize = headerSize;
    f.width = width;
    f.height = topDown ? -height : height;
    f.bitCount = static_cast<uint16_t>(bitCount);
    f.table = SpreadTable(1 << bitCount);
    f.pixels = PackRows(width, height, bitCount, topDown,
                        [&](int x, int y) { return Pattern(x, y) % (1u << bitCount); });
    return f;
}

BmpForm Direct(uint32_t headerSize, int width, int height, int bitCount, bool topDown = false) {
    BmpForm f;
    f.headerSize = headerSize;
    f.width = width;
    f.height = topDown ? -height : height;
    f.bitCount = static_cast<uint16_t>(bitCount);
    f.pixels = PackRows(width, height, bitCount, topDown,
                        [](int x, int y) { return Pattern(x, y) * 0x010203u + 0x402010u; });
    return f;
}

BmpForm Bitfields(uint32_t headerSize, int bitCount, uint32_t r, uint32_t g, uint32_t b) {
    BmpForm f = Direct(headerSize, 10, 6, bitCount);
    f.compression = kBitfields;
    f.masks[0] = r;
    f.masks[1] = g;
    f.masks[2] = b;
    return f;
}

BmpForm Rle(int width, int height, bool fourBit, bool delta) {
    BmpForm f;
    f.width = width;
    f.height = height;
    f.bitCount = fourBit ? 4 : 8;
    f.compression = fourBit ? kRle4 : kRle8;
    f.table = SpreadTable(fourBit ? 16 : 256);
    f.pixels = RleStream(width, height, fourBit, delta);
    return f;
}

} // namespace

Bytes RleStream(int width, int height, bool fourBit, bool delta) {
    Bytes s;
    int startRow = 0, startX = 0;
    if (delta) {
        s.insert(s.end(), {0, 2, 4, 2});
        startRow = 2;
        startX = 4;
    }
    for (int y = startRow; y < height; ++y) {
        const int x0 = y == startRow ? startX : 0;
        const int run = (width - x0) / 2;
        const int literal = width - x0 - run; // at least 3 for the widths used
        s.push_back(static_cast<uint8_t>(run));
        s.push_back(static_cast<uint8_t>(fourBit ? 0x10 * (y % 16) + (15 - y % 16) : y * 9));
        s.push_back(0);
        s.push_back(static_cast<uint8_t>(literal));
        const int bytes = fourBit ? (literal + 1) / 2 : literal;
        for (int i = 0; i < bytes; ++i)
            s.push_back(static_cast<uint8_t>(Pattern(i, y)));
        if (bytes % 2)
            s.push_back(0);
        s.insert(s.end(), {0, 0});
    }
    s.insert(s.end(), {0, 1});
    return s;
}

std::vector<NamedFile> SeedForms() {
    BmpForm shortTable = Indexed(40, 12, 5, 8);
    shortTable.colorsUsed = 20;
    shortTable.table.resize(20);
    BmpForm tableOn24 = Direct(40, 7, 3, 24);
    tableOn24.colorsUsed = 4;
    tableOn24.table = SpreadTable(4);

    const std::vector<std::pair<std::string, BmpForm>> forms = {
        {"info_1bpp", Indexed(40, 19, 6, 1)},
        {"info_4bpp", Indexed(40, 13, 7, 4)},
        {"info_8bpp", Indexed(40, 24, 20, 8)},
        {"info_8bpp_top_down", Indexed(40, 9, 11, 8, true)},
        {"info_8bpp_short_table", shortTable},
        {"core_1bpp", Indexed(12, 9, 4, 1)},
        {"core_4bpp", Indexed(12, 6, 5, 4)},
        {"core_8bpp", Indexed(12, 10, 6, 8)},
        {"core_24bpp", Direct(12, 5, 4, 24)},
        {"info_16bpp", Direct(40, 9, 5, 16)},
        {"info_24bpp", Direct(40, 11, 9, 24)},
        {"info_24bpp_top_down", Direct(40, 6, 7, 24, true)},
        {"info_24bpp_with_table", tableOn24},
        {"info_32bpp", Direct(40, 8, 4, 32)},
        {"info_bitfields_16bpp_565", Bitfields(40, 16, 0xF800, 0x07E0, 0x001F)},
        {"info_bitfields_32bpp", Bitfields(40, 32, 0x3FF00000, 0x000FFC00, 0x000003FF)},
        {"info52_bitfields_16bpp", Bitfields(52, 16, 0x7C00, 0x03E0, 0x001F)},
        {"info56_bitfields_32bpp", Bitfields(56, 32, 0xFF0000, 0xFF00, 0xFF)},
        {"v4_8bpp", Indexed(108, 14, 6, 8)},
        {"v4_bitfields_32bpp", Bitfields(108, 32, 0xFF000000, 0xFF0000, 0xFF00)},
        {"v5_4bpp", Indexed(124, 7, 9, 4)},
        {"v5_bitfields_16bpp", Bitfields(124, 16, 0xF000, 0x0F00, 0x00F0)},
        {"v5_24bpp_top_down", Direct(124, 5, 5, 24, true)},
        {"rle8", Rle(16, 8, false, false)},
        {"rle8_delta", Rle(20, 9, false, true)},
        {"rle4", Rle(15, 6, true, false)},
        {"rle4_delta", Rle(17, 7, true, true)},
    };
    std::vector<NamedFile> files;
    for (const auto &form : forms)
        files.push_back({form.first, WriteBmp(form.second)});
    return files;
}

} // namespace bmpsamples
