// Draws the packages' icon from earth.bmp: the picture centred on a square,
// its empty space (palette index 0) transparent, scaled to SIZE x SIZE by
// area averaging. Integer arithmetic throughout, so the same picture gives
// the same bytes on every build.
// Usage: make_icon EARTH.BMP SIZE OUT.PNG        one size, as a PNG (the .deb)
//        make_icon EARTH.BMP SIZE,... OUT.ico    the sizes in one Windows icon
#include "icon_file.h"
#include "platform/portable/user/user_bmp_decode.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <png.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The picture's background: black space around the Earth.
constexpr BYTE kEmptyIndex = 0;

struct Span {
    int source;
    int64_t weight;
};

// Which source pixels cover output pixel `out` along one axis, and by how
// much: source pixel i spans [i*outSize, (i+1)*outSize), output pixel o
// spans [o*inSize, (o+1)*inSize); the weights of one output pixel add up to
// inSize.
std::vector<Span> Coverage(int out, int inSize, int outSize) {
    std::vector<Span> spans;
    const int64_t begin = int64_t{out} * inSize, end = begin + inSize;
    for (int64_t i = begin / outSize; i * outSize < end; ++i) {
        const int64_t from = std::max(begin, i * outSize);
        const int64_t to = std::min(end, (i + 1) * outSize);
        if (to > from)
            spans.push_back({static_cast<int>(i), to - from});
    }
    return spans;
}

int64_t RoundedDivide(int64_t num, int64_t den) {
    return (2 * num + den) / (2 * den);
}

// RGBA of the square, side pixels a side: the picture centred, the rest and
// its empty space transparent (alpha 0); every other pixel opaque.
std::vector<BYTE> SquareRgba(const portable::DibImage &dib, int side) {
    std::vector<BYTE> rgba(static_cast<size_t>(side) * side * 4, 0);
    const int left = (side - dib.width) / 2, top = (side - dib.height) / 2;
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x) {
            const BYTE index = dib.indices[static_cast<size_t>(y) * dib.width + x];
            if (index == kEmptyIndex || index >= dib.colors.size())
                continue;
            const RGBQUAD &c = dib.colors[index];
            BYTE *p = &rgba[(static_cast<size_t>(top + y) * side + left + x) * 4];
            p[0] = c.rgbRed;
            p[1] = c.rgbGreen;
            p[2] = c.rgbBlue;
            p[3] = 255;
        }
    return rgba;
}

// Area-averaged scaling; colours are averaged over the opaque part only, so
// the transparent edge does not darken the rim.
std::vector<BYTE> Scale(const std::vector<BYTE> &in, int inSide, int outSide) {
    std::vector<BYTE> out(static_cast<size_t>(outSide) * outSide * 4, 0);
    const int64_t area = int64_t{inSide} * inSide;
    for (int oy = 0; oy < outSide; ++oy) {
        const std::vector<Span> rows = Coverage(oy, inSide, outSide);
        for (int ox = 0; ox < outSide; ++ox) {
            int64_t alpha = 0, colour[3] = {0, 0, 0};
            for (const Span &row : rows)
                for (const Span &col : Coverage(ox, inSide, outSide)) {
                    const BYTE *p =
                        &in[(static_cast<size_t>(row.source) * inSide + col.source) * 4];
                    const int64_t w = row.weight * col.weight * p[3];
                    alpha += w;
                    for (int k = 0; k < 3; ++k)
                        colour[k] += w * p[k];
                }
            BYTE *q = &out[(static_cast<size_t>(oy) * outSide + ox) * 4];
            q[3] = static_cast<BYTE>(RoundedDivide(alpha, area));
            if (alpha > 0)
                for (int k = 0; k < 3; ++k)
                    q[k] = static_cast<BYTE>(RoundedDivide(colour[k], alpha));
        }
    }
    return out;
}

// The PNG file of a square RGBA picture; empty when libpng fails.
std::vector<BYTE> PngBytes(const std::vector<BYTE> &rgba, int side) {
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(side);
    png.height = static_cast<png_uint_32>(side);
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, rgba.data(), 0, nullptr))
        return {};
    std::vector<BYTE> bytes(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, rgba.data(), 0, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

// "16,32,48,256": the sizes, each 1 to maxSize; empty when that is not it.
std::vector<int> IconSizes(const char *text, int maxSize) {
    std::vector<int> sizes;
    std::istringstream list(text);
    std::string item;
    while (std::getline(list, item, ',')) {
        const int size = std::atoi(item.c_str());
        if (size < 1 || size > maxSize || std::to_string(size) != item)
            return {};
        sizes.push_back(size);
    }
    return sizes;
}

bool EndsWith(const std::string &text, const std::string &end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: make_icon EARTH.BMP SIZE OUT.PNG | EARTH.BMP SIZE,... OUT.ico\n");
        return 2;
    }
    const bool ico = EndsWith(argv[3], ".ico");
    // An .ico entry counts its side in one byte (256 as 0).
    const std::vector<int> sizes = IconSizes(argv[2], ico ? 256 : 1024);
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<BYTE> bytes((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    portable::DibImage dib;
    if (sizes.empty() || (!ico && sizes.size() != 1) ||
        !portable::DecodeBmp(bytes.data(), bytes.size(), 0, 0, &dib) || dib.indices.empty()) {
        std::fprintf(stderr, "make_icon: %s is not a palettized BMP, or %s are no icon sizes\n",
                     argv[1], argv[2]);
        return 1;
    }
    const int side = std::max(dib.width, dib.height);
    const std::vector<BYTE> square = SquareRgba(dib, side);
    std::vector<IconImage> images;
    for (int size : sizes) {
        IconImage image{size, Scale(square, side, size), {}};
        image.png = PngBytes(image.rgba, size);
        if (image.png.empty()) {
            std::fprintf(stderr, "make_icon: cannot encode the %dx%d picture\n", size, size);
            return 1;
        }
        images.push_back(image);
    }
    const std::vector<BYTE> out = ico ? IcoFile(images) : images.front().png;
    std::ofstream written(argv[3], std::ios::binary);
    written.write(reinterpret_cast<const char *>(out.data()),
                  static_cast<std::streamsize>(out.size()));
    if (!written.flush()) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
