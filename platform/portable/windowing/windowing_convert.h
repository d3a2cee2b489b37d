// Turning an 8-bit palettized frame into 32-bit pixels for the screen.
#pragma once

#include "platform/portable/include/win_gdi.h"

#include <cstdint>

namespace portable {

// The 32-bit ARGB (0xAARRGGBB, opaque) colour of every palette index.
void BuildArgbTable(const PALETTEENTRY palette[256], uint32_t table[256]);

// The colour of every palette index as the bytes R, G, B, A (opaque) in
// memory, the order of a canvas's ImageData, read as one 32-bit value.
void BuildRgbaTable(const PALETTEENTRY palette[256], uint32_t table[256]);

// Converts width x height indices (rows srcPitch bytes apart) into ARGB
// pixels (rows dstPitch bytes apart) through the table; with an RGBA table,
// into RGBA pixels.
void ConvertIndexedToArgb(const uint8_t *src, long srcPitch, int width, int height,
                          const uint32_t table[256], void *dst, long dstPitch);

} // namespace portable
