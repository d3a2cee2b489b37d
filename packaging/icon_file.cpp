#include "icon_file.h"

#include <cstddef>

namespace {

void Put16(std::vector<uint8_t> &out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t> &out, uint32_t value) {
    Put16(out, value & 0xFFFFu);
    Put16(out, value >> 16);
}

// A BITMAPINFOHEADER of twice the height (colour bitmap, then mask), the
// BGRA rows bottom-up, then the mask rows bottom-up, each padded to 32
// bits: a set bit where the picture is fully transparent.
std::vector<uint8_t> IconBitmap(const IconImage &image) {
    const uint32_t side = static_cast<uint32_t>(image.side);
    const uint32_t maskStride = (side + 31) / 32 * 4;
    std::vector<uint8_t> out;
    Put32(out, 40);                                  // biSize
    Put32(out, side);                                // biWidth
    Put32(out, 2 * side);                            // biHeight: the colour bitmap and the mask
    Put16(out, 1);                                   // biPlanes
    Put16(out, 32);                                  // biBitCount
    Put32(out, 0);                                   // biCompression: BI_RGB
    Put32(out, side * side * 4 + maskStride * side); // biSizeImage
    for (int i = 0; i < 4; ++i)
        Put32(out, 0); // resolution and colour counts
    for (uint32_t y = side; y-- > 0;)
        for (uint32_t x = 0; x < side; ++x) {
            const uint8_t *p = &image.rgba[(y * side + x) * 4];
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    for (uint32_t y = side; y-- > 0;) {
        std::vector<uint8_t> row(maskStride, 0);
        for (uint32_t x = 0; x < side; ++x)
            if (image.rgba[(y * side + x) * 4 + 3] == 0)
                row[x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

std::vector<uint8_t> IcoFile(const std::vector<IconImage> &images) {
    std::vector<std::vector<uint8_t>> data;
    for (const IconImage &image : images)
        data.push_back(image.side == 256 ? image.png : IconBitmap(image));
    std::vector<uint8_t> out;
    Put16(out, 0); // reserved
    Put16(out, 1); // an icon, not a cursor
    Put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const uint8_t side = static_cast<uint8_t>(images[i].side); // 256 is written as 0
        out.insert(out.end(), {side, side, 0, 0});                 // no colour table; reserved
        Put16(out, 1);                                             // planes
        Put16(out, 32);                                            // bits per pixel
        Put32(out, static_cast<uint32_t>(data[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(data[i].size());
    }
    for (const std::vector<uint8_t> &bytes : data)
        out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}
