#include "platform/portable/windowing/windowing_convert.h"

#include <cstring>

namespace portable {

void BuildArgbTable(const PALETTEENTRY palette[256], uint32_t table[256]) {
    for (int i = 0; i < 256; ++i)
        table[i] = 0xFF000000u | (uint32_t{palette[i].peRed} << 16) |
                   (uint32_t{palette[i].peGreen} << 8) | uint32_t{palette[i].peBlue};
}

void BuildRgbaTable(const PALETTEENTRY palette[256], uint32_t table[256]) {
    for (int i = 0; i < 256; ++i) {
        const uint8_t bytes[4] = {palette[i].peRed, palette[i].peGreen, palette[i].peBlue, 0xFF};
        std::memcpy(&table[i], bytes, sizeof(bytes)); // whatever the machine's byte order
    }
}

void ConvertIndexedToArgb(const uint8_t *src, long srcPitch, int width, int height,
                          const uint32_t table[256], void *dst, long dstPitch) {
    auto *out = static_cast<uint8_t *>(dst);
    for (int y = 0; y < height; ++y) {
        const uint8_t *from = src + y * srcPitch;
        auto *to = reinterpret_cast<uint32_t *>(out + y * dstPitch);
        for (int x = 0; x < width; ++x)
            to[x] = table[from[x]];
    }
}

} // namespace portable
