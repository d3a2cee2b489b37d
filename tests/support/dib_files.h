// BMP files in the forms LoadImageA meets besides the demo's own: any
// colour-table length and any fourth byte in its entries, and 24-bit direct
// colour. Written by the tests (with tests/support/bmp_writer.h), so they
// depend on no shipped picture.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <vector>

namespace testsupport {

// An 8-bit BMP (40-byte info header, bottom-up rows as most files have
// them) of width x height, with the given colour table and the indices given
// top-down, row after row.
std::vector<uint8_t> IndexedBmpFile(int width, int height, const std::vector<RGBQUAD> &table,
                                    const std::vector<uint8_t> &indices);

// A 24-bit BMP of width x height with the colours (0x00RRGGBB) given
// top-down, row after row.
std::vector<uint8_t> TrueColourBmpFile(int width, int height, const std::vector<uint32_t> &colours);

RGBQUAD MakeRgbQuad(uint8_t red, uint8_t green, uint8_t blue, uint8_t reserved = 0);

// The entry as a BmpForm's table holds it: 0xAARRGGBB, AA its fourth byte.
uint32_t PackedQuad(const RGBQUAD &q);

} // namespace testsupport
