// The one BMP form the demo's picture file has, written and read by the
// tests themselves: 8 bits per pixel, a 40-byte info header, a full
// 256-entry colour table at byte 54, pixels at byte 1078, rows bottom-up and
// padded to four bytes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace testsupport {

struct Rgb {
    uint8_t red, green, blue;
};

struct Bmp8 {
    int width = 0;
    int height = 0;
    std::array<Rgb, 256> colours{};
    std::vector<uint8_t> indices; // width x height, top row first
    uint8_t at(int x, int y) const { return indices[static_cast<size_t>(y) * width + x]; }
};

// The file's bytes, the picture's pixel (x, y) (y counted from the top)
// being index(x, y); written with tests/support/bmp_writer.h.
std::vector<uint8_t> WriteBmp8(int width, int height, const std::array<Rgb, 256> &colours,
                               const std::function<uint8_t(int, int)> &index);

// Reads a file of that form; false when the bytes are not one.
bool ReadBmp8(const std::vector<uint8_t> &bytes, Bmp8 *out);

} // namespace testsupport
