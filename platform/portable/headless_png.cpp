#include "headless_png.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <png.h>

namespace portable {
namespace {

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};

} // namespace

bool WritePngIndexed(const std::string &path, int width, int height, const BYTE *indices,
                     long pitch, const PALETTEENTRY palette[256]) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = {palette[i].peRed, palette[i].peGreen, palette[i].peBlue};
    png_set_PLTE(png, info, colours, 256);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(indices + static_cast<ptrdiff_t>(y) * pitch));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    // A full disk shows at the close, not before.
    return std::fclose(file.release()) == 0;
}

} // namespace portable
