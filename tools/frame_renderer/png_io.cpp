#include "png_io.h"

#include <cstdio>
#include <memory>
#include <png.h>

namespace {

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool Write(const std::string &path, int width, int height, int colourType,
           const uint8_t palette[256][3], const uint8_t *rows, size_t rowBytes) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (palette != nullptr) {
        png_color colours[256];
        for (int i = 0; i < 256; ++i)
            colours[i] = {palette[i][0], palette[i][1], palette[i][2]};
        png_set_PLTE(png, info, colours, 256);
    }
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(rows + y * rowBytes));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WritePngRgb(const std::string &path, const RgbImage &image) {
    return Write(path, image.width, image.height, PNG_COLOR_TYPE_RGB, nullptr, image.rgb.data(),
                 static_cast<size_t>(image.width) * 3);
}

bool WritePngIndexed(const std::string &path, int width, int height, const uint8_t *indices,
                     const uint8_t palette[256][3]) {
    return Write(path, width, height, PNG_COLOR_TYPE_PALETTE, palette, indices,
                 static_cast<size_t>(width));
}

bool ReadPngRgb(const std::string &path, RgbImage *image) {
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        std::fprintf(stderr, "cannot read %s: %s\n", path.c_str(), png.message);
        return false;
    }
    png.format = PNG_FORMAT_RGB;
    image->width = static_cast<int>(png.width);
    image->height = static_cast<int>(png.height);
    image->rgb.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image->rgb.data(), 0, nullptr)) {
        std::fprintf(stderr, "cannot decode %s: %s\n", path.c_str(), png.message);
        png_image_free(&png);
        return false;
    }
    return true;
}
