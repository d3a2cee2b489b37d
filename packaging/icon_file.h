// The .ico file of the Windows program's icon: square 32-bit RGBA images,
// the small ones as Windows' own bitmaps (with the 1-bit mask that older
// code paths draw by), the 256-pixel one as PNG, as Windows has it since
// Vista (a 256x256 bitmap would add a quarter of a megabyte).
#pragma once

#include <cstdint>
#include <vector>

struct IconImage {
    int side;                  // 1 to 256 pixels
    std::vector<uint8_t> rgba; // side x side, rows top-down
    std::vector<uint8_t> png;  // the same picture as a PNG file, for side 256
};

// The bytes of an .ico file holding the images in the order given.
std::vector<uint8_t> IcoFile(const std::vector<IconImage> &images);
