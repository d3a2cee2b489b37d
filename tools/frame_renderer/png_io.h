// Reading and writing the PNG files of the frame renderer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // width * height * 3, rows top-down
};

// Reads any 8-bit PNG as RGB (alpha dropped, palettes expanded); false with
// a message on stderr when it cannot.
bool ReadPngRgb(const std::string &path, RgbImage *image);
bool WritePngRgb(const std::string &path, const RgbImage &image);
// An 8-bit palettized PNG: the screen exactly as the display holds it.
bool WritePngIndexed(const std::string &path, int width, int height, const uint8_t *indices,
                     const uint8_t palette[256][3]);
