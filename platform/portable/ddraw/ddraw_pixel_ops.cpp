#include "platform/portable/ddraw/ddraw_pixel_ops.h"

#include <cstring>

namespace portable {

namespace {

// Sixteen 8-bit pixels, one SSE2 or NEON register.
typedef uint8_t Pixels16 __attribute__((vector_size(16)));

} // namespace

void CopyRow(uint8_t *dst, const uint8_t *src, size_t n) {
    std::memmove(dst, src, n);
}

void CopyRowSrcKeyed(uint8_t *dst, const uint8_t *src, size_t n, uint8_t keyLow, uint8_t keyHigh) {
    if (keyHigh < keyLow)
        return CopyRow(dst, src, n); // an empty range keys nothing
    // A key of one value (the usual case) is a compare with zero span; the
    // unsigned-difference form covers any range with one compare per pixel.
    // Sixteen pixels at a time as a blend of source and destination under
    // the key mask: the compiler does not vectorise the plain loop at -O2.
    const uint8_t span = static_cast<uint8_t>(keyHigh - keyLow);
    size_t i = 0;
    for (; i + sizeof(Pixels16) <= n; i += sizeof(Pixels16)) {
        Pixels16 s, d;
        std::memcpy(&s, src + i, sizeof(s));
        std::memcpy(&d, dst + i, sizeof(d));
        const Pixels16 keyed =
            reinterpret_cast<Pixels16>(static_cast<Pixels16>(s - keyLow) <= span);
        const Pixels16 out = (d & keyed) | (s & ~keyed);
        std::memcpy(dst + i, &out, sizeof(out));
    }
    for (; i < n; ++i) {
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
