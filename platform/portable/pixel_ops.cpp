#include "pixel_ops.h"

#include <cstring>

namespace portable {

void CopyRow(uint8_t *dst, const uint8_t *src, size_t n) {
    std::memmove(dst, src, n);
}

void CopyRowSrcKeyed(uint8_t *dst, const uint8_t *src, size_t n, uint8_t keyLow, uint8_t keyHigh) {
    // A key of one value (the usual case) is a compare with zero span; the
    // unsigned-difference form covers any range with one compare per pixel
    // and no branch, so the loop becomes a vector blend.
    const uint8_t span = static_cast<uint8_t>(keyHigh - keyLow);
    if (keyHigh < keyLow)
        return CopyRow(dst, src, n); // an empty range keys nothing
    for (size_t i = 0; i < n; ++i) {
        const uint8_t s = src[i];
        const bool keyed = static_cast<uint8_t>(s - keyLow) <= span;
        dst[i] = keyed ? dst[i] : s;
    }
}

void CopyRowDestKeyed(uint8_t *dst, const uint8_t *src, size_t n, uint8_t keyLow, uint8_t keyHigh) {
    const uint8_t span = static_cast<uint8_t>(keyHigh - keyLow);
    if (keyHigh < keyLow)
        return;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t d = dst[i];
        const bool keyed = static_cast<uint8_t>(d - keyLow) <= span;
        dst[i] = keyed ? src[i] : d;
    }
}

void FillRows(uint8_t *first, ptrdiff_t pitch, size_t width, size_t rows, uint8_t value) {
    if (rows == 0 || width == 0)
        return;
    if (static_cast<size_t>(pitch) == width) {
        std::memset(first, value, width * rows); // one contiguous block
        return;
    }
    for (size_t y = 0; y < rows; ++y)
        std::memset(first + static_cast<ptrdiff_t>(y) * pitch, value, width);
}

} // namespace portable
