// The inner loops of the portable blitter: 8-bit pixel rows, colour fill and
// colour-keyed copies. They run hundreds of times a frame, so they take plain
// pointers, allocate nothing and are written for the vectoriser.
#pragma once

#include <cstddef>
#include <cstdint>

namespace portable {

// Copies n pixels; the rows may overlap.
void CopyRow(uint8_t *dst, const uint8_t *src, size_t n);

// Copies the pixels of src whose value lies outside [keyLow, keyHigh]; the
// others leave dst as it was. The rows must not overlap.
void CopyRowSrcKeyed(uint8_t *dst, const uint8_t *src, size_t n, uint8_t keyLow, uint8_t keyHigh);

// Copies src pixels onto the dst pixels whose value lies within
// [keyLow, keyHigh]. The rows must not overlap.
void CopyRowDestKeyed(uint8_t *dst, const uint8_t *src, size_t n, uint8_t keyLow, uint8_t keyHigh);

// Sets a rectangle of rows to one value.
void FillRows(uint8_t *first, ptrdiff_t pitch, size_t width, size_t rows, uint8_t value);

} // namespace portable
