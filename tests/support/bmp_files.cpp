#include "tests/support/bmp_files.h"

#include "tests/support/little_endian.h"

namespace testsupport {
namespace {

constexpr size_t kTableOffset = 54;
constexpr size_t kPixelOffset = kTableOffset + 256 * 4;

using le::Get16;
using le::Get32;
using le::Put16;
using le::Put32;

size_t RowBytes(int width) {
    return (static_cast<size_t>(width) + 3) & ~size_t{3};
}

} // namespace

std::vector<uint8_t> WriteBmp8(int width, int height, const std::array<Rgb, 256> &colours,
                               const std::function<uint8_t(int, int)> &index) {
    const size_t stride = RowBytes(width);
    std::vector<uint8_t> b(kPixelOffset + stride * static_cast<size_t>(height), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, kPixelOffset);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height)); // positive: bottom-up
    Put16(b, 26, 1);
    Put16(b, 28, 8);
    Put32(b, 34, static_cast<uint32_t>(stride * static_cast<size_t>(height)));
    Put32(b, 46, 256);
    for (size_t i = 0; i < 256; ++i) {
        b[kTableOffset + 4 * i] = colours[i].blue;
        b[kTableOffset + 4 * i + 1] = colours[i].green;
        b[kTableOffset + 4 * i + 2] = colours[i].red;
    }
    for (int y = 0; y < height; ++y) {
        const size_t row = kPixelOffset + stride * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x)
            b[row + static_cast<size_t>(x)] = index(x, y);
    }
    return b;
}

bool ReadBmp8(const std::vector<uint8_t> &bytes, Bmp8 *out) {
    if (bytes.size() < kPixelOffset || bytes[0] != 'B' || bytes[1] != 'M' ||
        Get32(bytes, 10) != kPixelOffset || Get32(bytes, 14) != 40 || Get16(bytes, 28) != 8 ||
        Get32(bytes, 30) != 0)
        return false;
    const int width = static_cast<int>(Get32(bytes, 18));
    const int height = static_cast<int>(Get32(bytes, 22));
    const size_t stride = RowBytes(width);
    if (width <= 0 || height <= 0 ||
        bytes.size() < kPixelOffset + stride * static_cast<size_t>(height))
        return false;
    out->width = width;
    out->height = height;
    for (size_t i = 0; i < 256; ++i)
        out->colours[i] = Rgb{bytes[kTableOffset + 4 * i + 2], bytes[kTableOffset + 4 * i + 1],
                              bytes[kTableOffset + 4 * i]};
    out->indices.assign(static_cast<size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        const size_t row = kPixelOffset + stride * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x)
            out->indices[static_cast<size_t>(y) * width + x] = bytes[row + static_cast<size_t>(x)];
    }
    return true;
}

} // namespace testsupport
