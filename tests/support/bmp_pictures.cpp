#include "tests/support/bmp_pictures.h"

#include "tests/support/dib_files.h"

#include <cstring>

namespace bmpcases {
namespace {

int MaskShift(DWORD mask) {
    int shift = 0;
    while (mask != 0 && (mask >> shift & 1) == 0)
        ++shift;
    return shift;
}

DWORD MaskMax(DWORD mask) {
    return mask >> MaskShift(mask);
}

// A channel level scaled to 8 bits, rounding to nearest.
DWORD Scale(DWORD level, DWORD max) {
    return static_cast<DWORD>((static_cast<uint64_t>(level) * 255 + max / 2) / max);
}

bool IsIndexedDepth(int bitCount) {
    return bitCount <= 8;
}

// The masks a direct-colour form's pixels are laid out with.
void FormMasks(const BmpForm &form, DWORD masks[3]) {
    if (form.masks[0] != 0) {
        std::memcpy(masks, form.masks, sizeof(form.masks));
    } else if (form.bitCount == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else {
        masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
    }
}

// Indices with long runs, literal stretches, gaps of index 0 inside rows, a
// blank row and rows ending in index 0: every kind of RLE command.
BYTE RleFriendlyIndex(int x, int y, int colors) {
    const int span = colors - 1;
    if (y == 3)
        return 0;
    if (x < 5)
        return static_cast<BYTE>(1 + y % span);
    if (x >= 8 && x < 12 && y % 2 == 0)
        return 0;
    if (x >= 17 && y % 3 == 1)
        return 0;
    return static_cast<BYTE>(1 + (x * 7 + y * 3) % span);
}

// One row of RLE commands for a row of indices.
void EncodeRleRow(const BYTE *row, int width, bool fourBit, Bytes &f) {
    auto runLength = [&](int x) {
        int n = 1;
        while (x + n < width && n < 255 && row[x + n] == row[x])
            ++n;
        return n;
    };
    auto pairValue = [&](BYTE v) { return fourBit ? static_cast<BYTE>(v << 4 | v) : v; };
    int x = 0;
    while (x < width) {
        const int run = runLength(x);
        if (row[x] == 0 && x + run == width)
            return; // end of line leaves the rest index 0
        if (row[x] == 0 && run >= 3) {
            f.insert(f.end(), {0, 2, static_cast<BYTE>(run), 0}); // delta over the gap
            x += run;
            continue;
        }
        if (run >= 3) {
            f.insert(f.end(), {static_cast<BYTE>(run), pairValue(row[x])});
            x += run;
            continue;
        }
        int literal = 0;
        while (x + literal < width && literal < 255 && runLength(x + literal) < 3)
            ++literal;
        if (literal < 3) {
            for (int i = 0; i < literal; ++i)
                f.insert(f.end(), {1, pairValue(row[x + i])});
        } else {
            f.insert(f.end(), {0, static_cast<BYTE>(literal)});
            const size_t start = f.size();
            for (int i = 0; i < literal; ++i) {
                if (!fourBit)
                    f.push_back(row[x + i]);
                else if (i % 2 == 0)
                    f.push_back(static_cast<BYTE>(row[x + i] << 4));
                else
                    f.back() |= row[x + i];
            }
            if ((f.size() - start) % 2 != 0)
                f.push_back(0);
        }
        x += literal;
    }
}

} // namespace

std::vector<RGBQUAD> MakeColorTable(size_t count) {
    std::vector<RGBQUAD> colors(count);
    for (size_t i = 0; i < count; ++i)
        colors[i] = RGBQUAD{static_cast<BYTE>(i * 13 + 1), static_cast<BYTE>(255 - i),
                            static_cast<BYTE>(i * 7 + 3), static_cast<BYTE>(i ^ 0x5A)};
    return colors;
}

size_t TableLength(const BmpForm &form) {
    if (!IsIndexedDepth(form.bitCount))
        return 0;
    return form.colorsUsed != 0 ? form.colorsUsed : size_t{1} << form.bitCount;
}

Picture MakePicture(const BmpForm &form) {
    Picture pic;
    pic.width = form.width;
    pic.height = form.height;
    const size_t n = static_cast<size_t>(pic.width) * pic.height;
    const bool rle = form.compression == BI_RLE8 || form.compression == BI_RLE4;
    if (IsIndexedDepth(form.bitCount)) {
        const size_t colors = TableLength(form);
        pic.colors = MakeColorTable(colors);
        if (form.header == kCore)
            for (RGBQUAD &c : pic.colors)
                c.rgbReserved = 0; // core tables have no fourth byte
        pic.indices.resize(n);
        for (int y = 0; y < pic.height; ++y)
            for (int x = 0; x < pic.width; ++x)
                pic.indices[y * pic.width + x] =
                    rle ? RleFriendlyIndex(x, y, static_cast<int>(colors))
                        : static_cast<BYTE>((x * 3 + y * 5 + x * y) % colors);
        return pic;
    }
    DWORD masks[3];
    FormMasks(form, masks);
    pic.raw.resize(n);
    pic.expected.resize(n);
    for (int y = 0; y < pic.height; ++y) {
        for (int x = 0; x < pic.width; ++x) {
            DWORD levels[3] = {static_cast<DWORD>(x * 37 + y * 23),
                               static_cast<DWORD>(x * 11 + y * 71 + 3),
                               static_cast<DWORD>(x * 5 + y * 13 + 7)};
            DWORD raw = 0, expected = 0;
            for (int c = 0; c < 3; ++c) {
                const DWORD max = MaskMax(masks[c]);
                DWORD level = levels[c] % (max + 1);
                if (x == 0 && y == 0)
                    level = max;
                else if (x == 1 && y == 0)
                    level = 0;
                raw |= level << MaskShift(masks[c]);
                expected |= Scale(level, max) << (16 - 8 * c);
            }
            // Bits outside every mask must not show: fill them.
            DWORD unused = ~(masks[0] | masks[1] | masks[2]);
            if (form.bitCount == 16)
                unused &= 0xFFFF;
            if (form.bitCount == 24)
                unused = 0;
            pic.raw[y * pic.width + x] = raw | (unused & 0xA5A5A5A5);
            pic.expected[y * pic.width + x] = expected;
        }
    }
    return pic;
}

Bytes EncodeRle(const Picture &pic, bool fourBit) {
    Bytes f;
    for (int fileRow = 0; fileRow < pic.height; ++fileRow) {
        const BYTE *row = &pic.indices[(pic.height - 1 - fileRow) * pic.width];
        const bool last = fileRow == pic.height - 1;
        bool blank = true;
        for (int x = 0; x < pic.width; ++x)
            blank = blank && row[x] == 0;
        if (blank && !last) {
            f.insert(f.end(), {0, 2, 0, 1}); // delta straight up
            continue;
        }
        EncodeRleRow(row, pic.width, fourBit, f);
        if (!last)
            f.insert(f.end(), {0, 0});
    }
    f.insert(f.end(), {0, 1});
    return f;
}

std::vector<DWORD> Quads(const std::vector<RGBQUAD> &colors) {
    std::vector<DWORD> out;
    for (const RGBQUAD &c : colors)
        out.push_back(testsupport::PackedQuad(c));
    return out;
}

// A whole file around pixel data already encoded in the form's layout.
Bytes WriteBmpFile(const BmpForm &form, const std::vector<RGBQUAD> &colors, const Bytes &pixels) {
    DWORD masks[3] = {0, 0, 0};
    if (!IsIndexedDepth(form.bitCount) && form.bitCount != 24)
        FormMasks(form, masks);
    testsupport::BmpForm f;
    f.headerSize = form.header;
    f.width = form.width;
    f.height = form.topDown ? -form.height : form.height;
    f.bitCount = static_cast<uint16_t>(form.bitCount);
    f.compression = form.compression;
    f.colorsUsed = form.colorsUsed;
    f.table = Quads(colors);
    // Longer headers hold masks even for BI_RGB, where they must be
    // ignored: write nonsense there to show they are.
    for (int c = 0; c < 3; ++c)
        f.masks[c] = form.compression == BI_BITFIELDS ? masks[c] : 0x1;
    f.alphaMask = 0xFF000000u & ~(masks[0] | masks[1] | masks[2]);
    f.pixels = pixels;
    return testsupport::WriteBmp(f);
}

Bytes WriteBmp(const BmpForm &form, const Picture &pic) {
    if (form.compression == BI_RLE8 || form.compression == BI_RLE4)
        return WriteBmpFile(form, pic.colors, EncodeRle(pic, form.compression == BI_RLE4));
    const auto value = [&](int x, int y) -> uint32_t {
        const size_t i = static_cast<size_t>(y) * pic.width + x;
        return IsIndexedDepth(form.bitCount) ? pic.indices[i] : pic.raw[i];
    };
    // Row padding, and the bits past a row's last pixel, are never pixels:
    // filled with 0xEE, they would show if read as any.
    return WriteBmpFile(
        form, pic.colors,
        testsupport::PackRows(pic.width, pic.height, form.bitCount, form.topDown, value, 0xEE));
}

Bytes WriteBmp(const BmpForm &form) {
    return WriteBmp(form, MakePicture(form));
}

BmpForm Form(const char *name, Header header, int bitCount, DWORD compression, bool topDown,
             DWORD colorsUsed) {
    BmpForm form{name, header, bitCount};
    form.compression = compression;
    form.topDown = topDown;
    form.colorsUsed = colorsUsed;
    return form;
}

BmpForm WithMasks(BmpForm form, DWORD r, DWORD g, DWORD b) {
    form.masks[0] = r, form.masks[1] = g, form.masks[2] = b;
    return form;
}

BmpForm Sized(BmpForm form, int width, int height) {
    form.width = width;
    form.height = height;
    return form;
}

Bytes RleFile(int width, int height, bool fourBit, const Bytes &stream, DWORD colorsUsed,
              bool sizeImage) {
    BmpForm form = Form("rle", kInfo, fourBit ? 4 : 8, fourBit ? BI_RLE4 : BI_RLE8);
    form.width = width;
    form.height = height;
    form.colorsUsed = colorsUsed;
    Bytes file = WriteBmpFile(form, MakeColorTable(TableLength(form)), stream);
    if (!sizeImage)
        Put32(file, kSizeImage, 0);
    return file;
}

} // namespace bmpcases
