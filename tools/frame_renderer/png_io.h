// Reading screenshots and writing difference pictures.
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
// Frames themselves are written by the platform's own writer
// (platform/portable/windowing/headless/headless_png.h), as the headless back end saves them.
