#include "tests/support/bmp_files.h"

#include "tests/support/bmp_writer.h"

namespace testsupport {
namespace {

constexpr size_t kTableOffset = 54;
constexpr size_t kPixelOffset = kTableOffset + 256 * 4;

using le::Get16;
using le::Get32;

size_t RowBytes(int width) {
    return (static_cast<size_t>(width) + 3) & ~size_t{3};
}

} // namespace

std::vector<uint8_t> WriteBmp8(int width, int height, const std::array<Rgb, 256> &colours,
                               const std::function<uint8_t(int, int)> &index) {
    BmpForm form;
    form.width = width;
    form.height = height;
    form.colorsUsed = 256;
    for (const Rgb &c : colours)
        form.table.push_back(static_cast<uint32_t>(c.red) << 16 | c.green << 8 | c.blue);
    form.pixels = PackRows(width, height, 8, false, index);
    return WriteBmp(form);
}

bool ReadBmp8(const std::vector<uint8_t> &bytes, Bmp8 *out) {
    if (bytes.size() < kPixelOffset || bytes[0] != 'B' || bytes[1] != 'M' ||
        Get32(bytes, kOffBits) != kPixelOffset || Get32(bytes, kHeaderSize) != 40 ||
        Get16(bytes, kBitCount) != 8 || Get32(bytes, kCompression) != kRgb)
        return false;
    const int width = static_cast<int>(Get32(bytes, kWidth));
    const int height = static_cast<int>(Get32(bytes, kHeight));
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
