// The BMP decoder against files written here from known pictures, in every
// form it accepts, and against damaged files it must refuse without reading
// past the data it was given.
#include "platform/portable/user/user_bmp_decode.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/dib_files.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace portable;

namespace {

using Bytes = std::vector<BYTE>;

// ---- Writing BMP files ---------------------------------------------------

using testsupport::Put16;
using testsupport::Put32;

// Field offsets in a file with an info (or longer) header.
constexpr size_t kOffBits = 10, kHeaderSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26,
                 kBitCount = 28, kCompression = 30, kSizeImage = 34, kClrUsed = 46;
// In a file with a core header.
constexpr size_t kCoreWidth = 18, kCoreHeight = 20, kCorePlanes = 22, kCoreBitCount = 24;

enum Header : DWORD {
    kCore = 12,
    kInfo = 40,
    kInfo52 = 52,
    kInfo56 = 56,
    kV4 = 108,
    kV5 = 124,
};

struct BmpForm {
    const char *name;
    Header header;
    int bitCount;
    DWORD compression = BI_RGB;
    bool topDown = false;
    DWORD colorsUsed = 0;       // biClrUsed; for indexed pictures also the table's length
    DWORD masks[3] = {0, 0, 0}; // red, green, blue; 0 for the depth's default
    int width = 13;             // odd, so rows need padding at every depth
    int height = 9;
};

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

// The known picture a test writes and expects back.
struct Picture {
    int width = 0, height = 0;
    std::vector<RGBQUAD> colors; // indexed: the table written
    std::vector<BYTE> indices;   // indexed: top-down
    std::vector<DWORD> raw;      // direct colour: the pixel values as stored, top-down
    std::vector<DWORD> expected; // direct colour: 0x00RRGGBB the decoder must give
};

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

bool Decode(const Bytes &file, DibImage *out, int width = 0, int height = 0) {
    return DecodeBmp(file.data(), file.size(), width, height, out);
}

// ---- Every accepted form gives back its picture ---------------------------

class BmpRoundTrip : public testing::TestWithParam<BmpForm> {};

TEST_P(BmpRoundTrip, DecodesTheKnownPicture) {
    const BmpForm &form = GetParam();
    const Picture pic = MakePicture(form);
    const Bytes file = WriteBmp(form, pic);
    DibImage img;
    ASSERT_TRUE(Decode(file, &img));
    EXPECT_EQ(img.width, pic.width);
    EXPECT_EQ(img.height, pic.height);
    EXPECT_EQ(img.bitCount, form.bitCount);
    EXPECT_EQ(Quads(img.colors), Quads(pic.colors));
    EXPECT_EQ(img.indices, pic.indices);
    EXPECT_EQ(img.pixels, pic.expected);
}

BmpForm Form(const char *name, Header header, int bitCount, DWORD compression = BI_RGB,
             bool topDown = false, DWORD colorsUsed = 0) {
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

const BmpForm kAcceptedForms[] = {
    Form("Core1", kCore, 1),
    Form("Core4", kCore, 4),
    Form("Core8", kCore, 8),
    Form("Core24", kCore, 24),
    Form("Info1", kInfo, 1),
    Form("Info1TopDown", kInfo, 1, BI_RGB, true),
    Form("Info4", kInfo, 4),
    Form("Info4TopDown", kInfo, 4, BI_RGB, true),
    Form("Info4ShortTable", kInfo, 4, BI_RGB, false, 5),
    Form("Info8", kInfo, 8),
    Form("Info8TopDown", kInfo, 8, BI_RGB, true),
    Form("Info8ShortTable", kInfo, 8, BI_RGB, false, 20),
    Form("Info52Indexed8", kInfo52, 8, BI_RGB, false, 31),
    Form("Info56Indexed4", kInfo56, 4, BI_RGB, true),
    Form("V4Indexed1", kV4, 1),
    Form("V4Indexed8", kV4, 8, BI_RGB, true),
    Form("V5Indexed4", kV5, 4),
    Form("V5Indexed8", kV5, 8, BI_RGB, false, 100),
    Form("Info16", kInfo, 16),
    Form("Info16TopDown", kInfo, 16, BI_RGB, true),
    Form("V4Rgb16", kV4, 16),
    Form("Info24", kInfo, 24),
    Form("Info24TopDown", kInfo, 24, BI_RGB, true),
    Form("V5Rgb24", kV5, 24, BI_RGB, true),
    Form("Info32", kInfo, 32),
    Form("Info32TopDown", kInfo, 32, BI_RGB, true),
    Form("V5Rgb32", kV5, 32),
    WithMasks(Form("Info16Bitfields565", kInfo, 16, BI_BITFIELDS), 0xF800, 0x07E0, 0x001F),
    WithMasks(Form("Info16Bitfields555", kInfo, 16, BI_BITFIELDS, true), 0x7C00, 0x03E0, 0x1F),
    WithMasks(Form("Info16Bitfields444", kInfo, 16, BI_BITFIELDS), 0x0F00, 0x00F0, 0x000F),
    WithMasks(Form("Info52Bitfields565", kInfo52, 16, BI_BITFIELDS), 0xF800, 0x07E0, 0x001F),
    WithMasks(Form("Info56Bitfields32", kInfo56, 32, BI_BITFIELDS), 0xFF0000, 0xFF00, 0xFF),
    WithMasks(Form("V4Bitfields565", kV4, 16, BI_BITFIELDS, true), 0xF800, 0x07E0, 0x001F),
    WithMasks(Form("V5Bitfields16Odd", kV5, 16, BI_BITFIELDS), 0x000F, 0x7FF0, 0x8000),
    WithMasks(Form("Info32Bitfields", kInfo, 32, BI_BITFIELDS), 0xFF0000, 0xFF00, 0xFF),
    WithMasks(Form("Info32BitfieldsBgr", kInfo, 32, BI_BITFIELDS, true), 0xFF, 0xFF00, 0xFF0000),
    WithMasks(Form("V4Bitfields32Ten", kV4, 32, BI_BITFIELDS), 0x3FF00000, 0xFFC00, 0x3FF),
    WithMasks(Form("V5Bitfields32Wide", kV5, 32, BI_BITFIELDS), 0xFFF00000, 0xFFF00, 0xFF),
    [] {
        BmpForm f = Form("InfoRle8", kInfo, 8, BI_RLE8, false, 40);
        f.width = 21;
        return f;
    }(),
    [] {
        BmpForm f = Form("V4Rle8", kV4, 8, BI_RLE8);
        f.width = 21;
        return f;
    }(),
    [] {
        BmpForm f = Form("V5Rle8", kV5, 8, BI_RLE8, false, 16);
        f.width = 21;
        return f;
    }(),
    [] {
        BmpForm f = Form("InfoRle4", kInfo, 4, BI_RLE4);
        f.width = 21;
        return f;
    }(),
    [] {
        BmpForm f = Form("V5Rle4", kV5, 4, BI_RLE4, false, 9);
        f.width = 21;
        return f;
    }(),
    [] {
        BmpForm f = Form("Info8Wide", kInfo, 8);
        f.width = 300;
        f.height = 2;
        return f;
    }(),
    [] {
        BmpForm f = Form("InfoRle8Wide", kInfo, 8, BI_RLE8);
        f.width = 600;
        f.height = 12;
        return f;
    }(),
};

INSTANTIATE_TEST_SUITE_P(AcceptedForms, BmpRoundTrip, testing::ValuesIn(kAcceptedForms),
                         [](const testing::TestParamInfo<BmpForm> &info) {
                             return std::string(info.param.name);
                         });

// The test's own RLE encoder must use every command, or the round trips
// above would prove less than they seem to.
TEST(BmpTestWriter, RleFilesUseEveryCommand) {
    BmpForm form = Form("InfoRle8", kInfo, 8, BI_RLE8, false, 40);
    form.width = 21;
    const Bytes rle = EncodeRle(MakePicture(form), false);
    bool run = false, absolute = false, endOfLine = false, deltaRight = false, deltaUp = false;
    for (size_t i = 0; i + 1 < rle.size();) {
        const BYTE count = rle[i], second = rle[i + 1];
        i += 2;
        if (count != 0) {
            run = true;
        } else if (second == 0) {
            endOfLine = true;
        } else if (second == 2) {
            deltaRight = deltaRight || rle[i] != 0;
            deltaUp = deltaUp || rle[i + 1] != 0;
            i += 2;
        } else if (second >= 3) {
            absolute = true;
            i += second + (second & 1);
        }
    }
    EXPECT_TRUE(run && absolute && endOfLine && deltaRight && deltaUp);
    EXPECT_EQ(rle[rle.size() - 2], 0);
    EXPECT_EQ(rle.back(), 1);
}

// ---- Direct colour channels scale to 8 bits -------------------------------

Bytes DirectFile(int bitCount, DWORD compression, const std::vector<DWORD> &raw,
                 std::vector<DWORD> masks = {}) {
    BmpForm form = Form("direct", kInfo, bitCount, compression);
    if (!masks.empty())
        form = WithMasks(form, masks[0], masks[1], masks[2]);
    form.width = static_cast<int>(raw.size());
    form.height = 1;
    Picture pic;
    pic.width = form.width;
    pic.height = 1;
    pic.raw = raw;
    return WriteBmp(form, pic);
}

TEST(BmpDecode, Scales555ChannelsRatherThanShifting) {
    const Bytes file = DirectFile(16, BI_RGB, {0x7FFF, 0x0001, 0x8010, 0x4210, 0x0000});
    DibImage img;
    ASSERT_TRUE(Decode(file, &img));
    // 1/31 -> 8, 16/31 -> 132; the top bit of a 5-5-5 pixel is unused.
    EXPECT_EQ(img.pixels, (std::vector<DWORD>{0xFFFFFF, 0x000008, 0x000084, 0x848484, 0}));
}

TEST(BmpDecode, Scales565AndTenBitChannels) {
    DibImage img;
    ASSERT_TRUE(Decode(
        DirectFile(16, BI_BITFIELDS, {0xFFFF, 0x07E0, 0x0020, 0x0800}, {0xF800, 0x07E0, 0x001F}),
        &img));
    // Green 1/63 -> 4; red 1/31 -> 8.
    EXPECT_EQ(img.pixels, (std::vector<DWORD>{0xFFFFFF, 0x00FF00, 0x000400, 0x080000}));
    ASSERT_TRUE(Decode(DirectFile(32, BI_BITFIELDS, {0x3FFFFFFF, 0x20000000, 0x00000001},
                                  {0x3FF00000, 0xFFC00, 0x3FF}),
                       &img));
    // 512/1023 -> 128; 1/1023 rounds to 0.
    EXPECT_EQ(img.pixels, (std::vector<DWORD>{0xFFFFFF, 0x800000, 0x000000}));
}

TEST(BmpDecode, Ignores32BitRgbTopByte) {
    DibImage img;
    ASSERT_TRUE(Decode(DirectFile(32, BI_RGB, {0xFF123456, 0x00ABCDEF}), &img));
    EXPECT_EQ(img.pixels, (std::vector<DWORD>{0x123456, 0xABCDEF}));
}

// ---- Out-of-table indices -------------------------------------------------

TEST(BmpDecode, ShowsIndicesBeyondTheTableAsIndexZero) {
    BmpForm form = Form("short", kInfo, 8, BI_RGB, false, 4);
    form.width = 6;
    form.height = 1;
    Picture pic = MakePicture(form);
    pic.indices = {1, 3, 4, 255, 2, 9};
    DibImage img;
    ASSERT_TRUE(Decode(WriteBmp(form, pic), &img));
    EXPECT_EQ(img.indices, (std::vector<BYTE>{1, 3, 0, 0, 2, 0}));
    EXPECT_EQ(img.colors.size(), 4u);
}

// ---- RLE commands written by hand -----------------------------------------

Bytes RleFile(int width, int height, bool fourBit, const Bytes &stream, DWORD colorsUsed = 0,
              bool sizeImage = true) {
    BmpForm form = Form("rle", kInfo, fourBit ? 4 : 8, fourBit ? BI_RLE4 : BI_RLE8);
    form.width = width;
    form.height = height;
    form.colorsUsed = colorsUsed;
    Bytes file = WriteBmpFile(form, MakeColorTable(TableLength(form)), stream);
    if (!sizeImage)
        Put32(file, kSizeImage, 0);
    return file;
}

TEST(BmpDecodeRle8, RunsAbsoluteDeltaEndOfLineAndEnd) {
    const Bytes stream = {
        3, 5, 0, 3, 1,  2,  3,  0,  // bottom row: run, odd absolute run and its pad
        0, 0,                       // end of line
        0, 2, 2, 1,                 // delta right 2, up 1: the second row stays blank
        2, 7, 0, 0,                 // third row from x=2, end of line
        1, 9, 0, 4, 10, 11, 12, 13, // top row: even absolute run needs no pad
        0, 1,                       // end of bitmap
    };
    DibImage img;
    ASSERT_TRUE(Decode(RleFile(6, 4, false, stream), &img));
    EXPECT_EQ(img.indices, (std::vector<BYTE>{9, 10, 11, 12, 13, 0, //
                                              0, 0,  7,  7,  0,  0, //
                                              0, 0,  0,  0,  0,  0, //
                                              5, 5,  5,  1,  2,  3}));
}

TEST(BmpDecodeRle4, AlternatingRunsAndNibbleAbsoluteRuns) {
    const Bytes stream = {
        0, 5,    0x12, 0x34, 0x50, 0, // 5 nibbles in 3 bytes, padded to 4
        2, 0x67, 0,    0,             // run of 2 alternating nibbles, end of line
        3, 0x89, 0,    2,    1,    0, // alternating run of 3, delta right 1
        3, 0xAB, 0,    0,             //
        0, 4,    0xCD, 0xEF,          // 4 nibbles in 2 bytes, no pad
        0, 3,    0x12, 0x30,          // 3 nibbles in 2 bytes, no pad
        0, 1,
    };
    DibImage img;
    ASSERT_TRUE(Decode(RleFile(7, 3, true, stream), &img));
    EXPECT_EQ(img.indices, (std::vector<BYTE>{12, 13, 14, 15, 1,  2,  3,  //
                                              8,  9,  8,  0,  10, 11, 10, //
                                              1,  2,  3,  4,  5,  6,  7}));
}

TEST(BmpDecodeRle8, DeltaUpAndRightInOneCommand) {
    DibImage img;
    ASSERT_TRUE(Decode(RleFile(4, 3, false, {1, 1, 0, 2, 2, 2, 1, 3, 0, 1}), &img));
    EXPECT_EQ(img.indices, (std::vector<BYTE>{0, 0, 0, 3, 0, 0, 0, 0, 1, 0, 0, 0}));
}

TEST(BmpDecodeRle8, MissingEndOfBitmapEndsThePicture) {
    const Bytes stream = {4, 2, 0, 0, 2, 6};
    for (bool sizeImage : {true, false}) {
        DibImage img;
        ASSERT_TRUE(Decode(RleFile(4, 3, false, stream, 0, sizeImage), &img)) << sizeImage;
        EXPECT_EQ(img.indices, (std::vector<BYTE>{0, 0, 0, 0, 6, 6, 0, 0, 2, 2, 2, 2}));
    }
}

TEST(BmpDecodeRle8, EmptyDataIsABlankPicture) {
    DibImage img;
    ASSERT_TRUE(Decode(RleFile(3, 2, false, {}, 0, false), &img));
    EXPECT_EQ(img.indices, std::vector<BYTE>(6, 0));
}

TEST(BmpDecodeRle8, StopsAtEndOfBitmapEvenWithDataAfter) {
    DibImage img;
    ASSERT_TRUE(Decode(RleFile(2, 2, false, {2, 1, 0, 1, 2, 5}), &img));
    EXPECT_EQ(img.indices, (std::vector<BYTE>{0, 0, 1, 1}));
}

TEST(BmpDecodeRle8, AcceptsRunsThatEndExactlyAtTheEdges) {
    DibImage img;
    // Full rows, a delta to x == width, and to the row past the top.
    EXPECT_TRUE(Decode(RleFile(6, 2, false, {6, 1, 0, 0, 6, 2, 0, 1}), &img));
    EXPECT_TRUE(Decode(RleFile(6, 2, false, {0, 2, 6, 0, 0, 0, 0, 1}), &img));
    EXPECT_TRUE(Decode(RleFile(6, 2, false, {0, 2, 0, 2, 0, 1}), &img));
    EXPECT_TRUE(Decode(RleFile(6, 2, false, {0, 0, 0, 0, 0, 1}), &img));
}

struct RleDamage {
    const char *name;
    bool fourBit;
    Bytes stream;
};

class RleRefusal : public testing::TestWithParam<RleDamage> {};

TEST_P(RleRefusal, IsRefused) {
    const RleDamage &damage = GetParam();
    DibImage img;
    img.width = 99;
    img.indices.assign(5, 1);
    EXPECT_FALSE(Decode(RleFile(6, 2, damage.fourBit, damage.stream), &img));
    EXPECT_EQ(img.width, 0);
    EXPECT_TRUE(img.indices.empty());
    EXPECT_TRUE(img.colors.empty());
}

const RleDamage kRleDamage[] = {
    {"RunPastRowEnd", false, {7, 1, 0, 1}},
    {"SecondRunPastRowEnd", false, {4, 1, 3, 1, 0, 1}},
    {"AbsolutePastRowEnd", false, {4, 1, 0, 3, 1, 2, 3, 0, 0, 1}},
    {"Rle4RunPastRowEnd", true, {7, 0x11, 0, 1}},
    {"Rle4AbsolutePastRowEnd", true, {0, 7, 0x12, 0x34, 0x56, 0x70, 0, 1}},
    {"DeltaPastRightEdge", false, {0, 2, 7, 0, 0, 1}},
    {"DeltaPastTop", false, {0, 2, 0, 3, 0, 1}},
    {"RunAfterDeltaToRightEdge", false, {0, 2, 6, 0, 1, 1, 0, 1}},
    {"RunAbovePicture", false, {0, 0, 0, 0, 1, 1, 0, 1}},
    {"EndOfLineAbovePicture", false, {0, 0, 0, 0, 0, 0, 0, 1}},
    {"LoneByte", false, {2, 1, 5}},
    {"DeltaCutShort", false, {0, 2, 1}},
    {"AbsoluteCutShort", false, {0, 5, 1, 2, 3}},
    {"AbsolutePadMissing", false, {0, 3, 1, 2, 3}},
    {"Rle4AbsoluteCutShort", true, {0, 6, 0x12, 0x34}},
};

INSTANTIATE_TEST_SUITE_P(Damaged, RleRefusal, testing::ValuesIn(kRleDamage),
                         [](const testing::TestParamInfo<RleDamage> &info) {
                             return std::string(info.param.name);
                         });

TEST(BmpDecodeRle, ShowsIndicesBeyondTheTableAsIndexZero) {
    DibImage img;
    ASSERT_TRUE(Decode(RleFile(6, 1, false, {2, 3, 1, 4, 0, 3, 2, 7, 1, 0, 0, 1}, 4), &img));
    EXPECT_EQ(img.indices, (std::vector<BYTE>{3, 3, 0, 2, 0, 1}));
    ASSERT_TRUE(Decode(RleFile(6, 1, true, {2, 0x21, 1, 0x35, 0, 3, 0x14, 0x20, 0, 1}, 3), &img));
    EXPECT_EQ(img.indices, (std::vector<BYTE>{2, 1, 0, 1, 0, 2}));
}

// ---- Damaged headers ------------------------------------------------------

struct HeaderDamage {
    const char *name;
    BmpForm form;
    std::function<void(Bytes &)> damage;
};

class HeaderRefusal : public testing::TestWithParam<HeaderDamage> {};

TEST_P(HeaderRefusal, IsRefusedLeavingTheImageEmpty) {
    const HeaderDamage &param = GetParam();
    Bytes file = WriteBmp(param.form);
    DibImage img;
    ASSERT_TRUE(Decode(file, &img)) << "the undamaged file must decode";
    param.damage(file);
    EXPECT_FALSE(Decode(file, &img));
    EXPECT_EQ(img.width, 0);
    EXPECT_EQ(img.height, 0);
    EXPECT_EQ(img.bitCount, 0);
    EXPECT_TRUE(img.colors.empty() && img.indices.empty() && img.pixels.empty());
}

std::function<void(Bytes &)> SetField32(size_t offset, DWORD value) {
    return [=](Bytes &f) { Put32(f, offset, value); };
}

std::function<void(Bytes &)> SetField16(size_t offset, unsigned value) {
    return [=](Bytes &f) { Put16(f, offset, value); };
}

const BmpForm kInfo8Form = Form("Info8", kInfo, 8, BI_RGB, false, 20);
const BmpForm kInfo4Form = Form("Info4", kInfo, 4);
const BmpForm kInfo1Form = Form("Info1", kInfo, 1);
const BmpForm kInfo24Form = Form("Info24", kInfo, 24);
const BmpForm kInfo32Form = Form("Info32", kInfo, 32);
const BmpForm kCore8Form = Form("Core8", kCore, 8);
const BmpForm kCore24Form = Form("Core24", kCore, 24);
const BmpForm kRle8Form = [] {
    BmpForm f = Form("Rle8", kInfo, 8, BI_RLE8);
    f.width = 21;
    return f;
}();
const BmpForm kBitfields16Form =
    WithMasks(Form("Bitfields16", kInfo, 16, BI_BITFIELDS), 0xF800, 0x07E0, 0x001F);
const BmpForm kV5Bitfields16Form =
    WithMasks(Form("V5Bitfields16", kV5, 16, BI_BITFIELDS), 0xF800, 0x07E0, 0x001F);
const BmpForm kBitfields32Form =
    WithMasks(Form("Bitfields32", kInfo, 32, BI_BITFIELDS), 0xFF0000, 0xFF00, 0xFF);
// 16-bit pixels whose masks would also fit 8 bits, with data enough to hold a
// 256-colour table.
const BmpForm kByteMasks16Form = [] {
    BmpForm f = WithMasks(Form("ByteMasks16", kInfo, 16, BI_BITFIELDS), 0xE0, 0x1C, 0x03);
    f.width = 64;
    f.height = 16;
    return f;
}();
const BmpForm kSmallRle8Form = [] {
    BmpForm f = Form("SmallRle8", kInfo, 8, BI_RLE8, false, 16);
    f.width = 21;
    return f;
}();
const BmpForm kSmallRle4Form = [] {
    BmpForm f = Form("SmallRle4", kInfo, 4, BI_RLE4);
    f.width = 21;
    return f;
}();
// Pictures at the cap on one side, whose data would still cover one more
// pixel or row: refusing them past the cap is the cap's doing alone.
const BmpForm kWideAtCapForm = [] {
    BmpForm f = Form("WideAtCap", kInfo, 8, BI_RGB, false, 2);
    f.width = kMaxBmpSide;
    f.height = 1;
    return f;
}();
const BmpForm kTallAtCapForm = [] {
    BmpForm f = Form("TallAtCap", kInfo, 8, BI_RGB, false, 2);
    f.width = 1;
    f.height = kMaxBmpSide;
    return f;
}();
const BmpForm kTallTopDownAtCapForm = [] {
    BmpForm f = kTallAtCapForm;
    f.topDown = true;
    return f;
}();
constexpr size_t kMasksAfterInfo = 54, kMasksInHeader = 54;

std::function<void(Bytes &)> GrowToCap(size_t offset, DWORD value) {
    return [=](Bytes &f) {
        Put32(f, offset, value);
        f.resize(f.size() + 4, 0);
    };
}

const HeaderDamage kHeaderDamage[] = {
    {"NoBmSignature", kInfo8Form, [](Bytes &f) { f[1] = 'A'; }},
    {"LowerCaseSignature", kInfo8Form, [](Bytes &f) { f[0] = 'b'; }},
    {"HeaderSize64", kInfo8Form, SetField32(kHeaderSize, 64)},
    {"HeaderSize0", kInfo8Form, SetField32(kHeaderSize, 0)},
    {"HeaderSize41", kInfo8Form, SetField32(kHeaderSize, 41)},
    {"HeaderSizeHuge", kInfo8Form, SetField32(kHeaderSize, 0xFFFFFFF0u)},
    {"WidthZero", kInfo8Form, SetField32(kWidth, 0)},
    {"WidthNegative", kInfo8Form, SetField32(kWidth, static_cast<DWORD>(-13))},
    {"WidthAboveCap", kWideAtCapForm, GrowToCap(kWidth, kMaxBmpSide + 1)},
    {"HeightZero", kInfo8Form, SetField32(kHeight, 0)},
    {"HeightIntMin", kInfo8Form, SetField32(kHeight, static_cast<DWORD>(INT_MIN))},
    {"HeightAboveCap", kTallAtCapForm, GrowToCap(kHeight, kMaxBmpSide + 1)},
    {"TopDownHeightAboveCap", kTallTopDownAtCapForm,
     GrowToCap(kHeight, static_cast<DWORD>(-(kMaxBmpSide + 1)))},
    {"Claims60000Square", kRle8Form,
     [](Bytes &f) {
         Put32(f, kWidth, 60000);
         Put32(f, kHeight, 60000);
     }},
    {"CoreWidthZero", kCore8Form, SetField16(kCoreWidth, 0)},
    {"CoreHeightZero", kCore8Form, SetField16(kCoreHeight, 0)},
    {"CoreWidthAboveCap", kCore8Form, SetField16(kCoreWidth, kMaxBmpSide + 1)},
    {"CorePlanesTwo", kCore8Form, SetField16(kCorePlanes, 2)},
    {"Core16Bit", kCore24Form, SetField16(kCoreBitCount, 16)},
    {"Core32Bit", kCore24Form, SetField16(kCoreBitCount, 32)},
    {"PlanesZero", kInfo8Form, SetField16(kPlanes, 0)},
    {"PlanesTwo", kInfo8Form, SetField16(kPlanes, 2)},
    {"BitCountZero", kInfo24Form, SetField16(kBitCount, 0)},
    {"BitCount2", kInfo8Form, SetField16(kBitCount, 2)},
    {"BitCount3", kInfo8Form, SetField16(kBitCount, 3)},
    {"BitCount64", kInfo32Form, SetField16(kBitCount, 64)},
    // Each file would decode as the other depth: only the pairing is wrong.
    {"Rle8On4Bit", kSmallRle8Form, SetField16(kBitCount, 4)},
    {"Rle8On24Bit", kSmallRle8Form, SetField16(kBitCount, 24)},
    {"Rle4On8Bit", kSmallRle4Form, SetField16(kBitCount, 8)},
    {"BitfieldsOn8Bit", kByteMasks16Form, SetField16(kBitCount, 8)},
    {"BitfieldsOn24Bit", kBitfields32Form, SetField16(kBitCount, 24)},
    {"RgbOnRle8File", kSmallRle8Form, SetField32(kCompression, BI_RGB)},
    {"Jpeg", kInfo24Form, SetField32(kCompression, 4)},
    {"Png", kInfo24Form, SetField32(kCompression, 5)},
    {"AlphaBitfields", kInfo32Form, SetField32(kCompression, 6)},
    {"TopDownRle", kRle8Form, SetField32(kHeight, static_cast<DWORD>(-9))},
    {"ColorsUsed257", kInfo8Form, SetField32(kClrUsed, 257)},
    {"ColorsUsedAbove4BitTable", kInfo4Form, SetField32(kClrUsed, 17)},
    {"ColorsUsedAbove1BitTable", kInfo1Form, SetField32(kClrUsed, 3)},
    {"ColorsUsed257OnDirectColour", kInfo24Form, SetField32(kClrUsed, 257)},
    {"ColorsUsedHuge", kInfo8Form, SetField32(kClrUsed, 0xFFFFFFFFu)},
    {"ColorTablePastEnd", kInfo8Form, SetField32(kClrUsed, 256)},
    {"PixelOffsetPastEnd", kInfo8Form,
     [](Bytes &f) { Put32(f, kOffBits, static_cast<DWORD>(f.size() + 1)); }},
    {"PixelOffsetHuge", kInfo24Form, SetField32(kOffBits, 0xFFFFFFFFu)},
    {"PixelOffsetInsideHeader", kInfo24Form, SetField32(kOffBits, 20)},
    {"PixelOffsetOverMasks", kBitfields16Form, SetField32(kOffBits, kMasksAfterInfo)},
    {"PixelDataPastEnd", kInfo24Form,
     [](Bytes &f) { Put32(f, kOffBits, 54 + 2); }}, // rows now overrun the file
    {"LastRowShortByOneByte", kInfo8Form,
     [](Bytes &f) { f.resize(f.size() - 3 - 1); }}, // 3 bytes of padding, then a pixel
    {"MasksZero", kBitfields16Form, SetField32(kMasksAfterInfo, 0)},
    {"MasksOverlap", kBitfields16Form, SetField32(kMasksAfterInfo + 4, 0x0FE0)},
    {"MaskWithGap", kBitfields16Form, SetField32(kMasksAfterInfo + 8, 0x0015)},
    {"MaskBeyond16Bits", kBitfields16Form, SetField32(kMasksAfterInfo, 0x1F800)},
    {"MasksMissing", kBitfields16Form, [](Bytes &f) { f.resize(kMasksAfterInfo + 8); }},
    {"V5MaskZero", kV5Bitfields16Form, SetField32(kMasksInHeader + 4, 0)},
    {"V5MasksOverlap", kV5Bitfields16Form, SetField32(kMasksInHeader + 8, 0x0FFF)},
    {"RleSizeImagePastEnd", kRle8Form,
     [](Bytes &f) { Put32(f, kSizeImage, static_cast<DWORD>(f.size())); }},
};

INSTANTIATE_TEST_SUITE_P(Damaged, HeaderRefusal, testing::ValuesIn(kHeaderDamage),
                         [](const testing::TestParamInfo<HeaderDamage> &info) {
                             return std::string(info.param.name);
                         });

TEST(BmpDecode, AcceptsTheLastRowWithoutItsPadding) {
    Bytes file = WriteBmp(kInfo8Form); // 13 pixels a row, padded to 16
    DibImage full, cut;
    ASSERT_TRUE(Decode(file, &full));
    file.resize(file.size() - 3);
    ASSERT_TRUE(Decode(file, &cut));
    EXPECT_EQ(cut.indices, full.indices);
}

TEST(BmpDecode, IgnoresTheFileSizeField) {
    Bytes file = WriteBmp(kInfo24Form);
    Put32(file, 2, 7);
    DibImage img;
    EXPECT_TRUE(Decode(file, &img));
}

TEST(BmpDecode, RefusesBadArguments) {
    const Bytes file = WriteBmp(kInfo8Form);
    DibImage img;
    EXPECT_FALSE(DecodeBmp(nullptr, 0, 0, 0, &img));
    EXPECT_FALSE(DecodeBmp(file.data(), file.size(), 0, 0, nullptr));
    EXPECT_FALSE(Decode(file, &img, -1, 5));
    EXPECT_FALSE(Decode(file, &img, 5, -1));
    EXPECT_FALSE(Decode(file, &img, kMaxBmpSide + 1, 5));
    EXPECT_FALSE(Decode(file, &img, 5, kMaxBmpSide + 1));
    EXPECT_TRUE(img.indices.empty());
    EXPECT_TRUE(Decode(file, &img, 5, 7));
}

// ---- Truncation at every length -------------------------------------------

// Decodes the first `length` bytes from a buffer of exactly that size, so the
// address sanitizer catches any read past it.
bool DecodePrefix(const Bytes &file, size_t length, DibImage *out) {
    std::unique_ptr<BYTE[]> copy(new BYTE[length == 0 ? 1 : length]);
    std::memcpy(copy.get(), file.data(), length);
    return DecodeBmp(copy.get(), length, 0, 0, out);
}

class Truncation : public testing::TestWithParam<BmpForm> {};

TEST_P(Truncation, UncompressedFilesAreRefusedUntilTheLastPixel) {
    const BmpForm &form = GetParam();
    const Bytes file = WriteBmp(form);
    const uint64_t bits = static_cast<uint64_t>(form.width) * form.bitCount;
    const size_t lastRowPadding = (bits + 31) / 32 * 4 - (bits + 7) / 8;
    DibImage full;
    ASSERT_TRUE(Decode(file, &full));
    for (size_t length = 0; length < file.size(); ++length) {
        DibImage img;
        const bool decoded = DecodePrefix(file, length, &img);
        EXPECT_EQ(decoded, length >= file.size() - lastRowPadding) << length;
        if (decoded) {
            EXPECT_EQ(img.indices, full.indices);
            EXPECT_EQ(img.pixels, full.pixels);
        }
    }
}

const BmpForm kTruncatedForms[] = {
    Form("Core1", kCore, 1),
    Form("Info4", kInfo, 4, BI_RGB, true),
    Form("Info8", kInfo, 8, BI_RGB, false, 20),
    WithMasks(Form("Info16Bitfields", kInfo, 16, BI_BITFIELDS), 0xF800, 0x07E0, 0x001F),
    Form("V5Rgb24", kV5, 24),
    WithMasks(Form("V4Bitfields32", kV4, 32, BI_BITFIELDS), 0xFF0000, 0xFF00, 0xFF),
};

INSTANTIATE_TEST_SUITE_P(EveryLength, Truncation, testing::ValuesIn(kTruncatedForms),
                         [](const testing::TestParamInfo<BmpForm> &info) {
                             return std::string(info.param.name);
                         });

TEST(BmpDecodeRleTruncation, WithSizeImageEveryCutIsRefused) {
    for (const BmpForm &form : {kRle8Form, Form("Rle4", kV5, 4, BI_RLE4)}) {
        const Bytes file = WriteBmp(form);
        for (size_t length = 0; length < file.size(); ++length) {
            DibImage img;
            EXPECT_FALSE(DecodePrefix(file, length, &img)) << form.name << " " << length;
        }
    }
}

// Without biSizeImage a cut between commands reads as an early end of the
// picture: every pixel is either what the whole file gives or index 0.
TEST(BmpDecodeRleTruncation, WithoutSizeImageCutsDecodeWithinBounds) {
    BmpForm rle4 = Form("Rle4", kInfo, 4, BI_RLE4);
    rle4.width = 21;
    for (const BmpForm &form : {kRle8Form, rle4}) {
        Bytes file = WriteBmp(form);
        Put32(file, kSizeImage, 0);
        DibImage full;
        ASSERT_TRUE(Decode(file, &full));
        const size_t pixelOffset = file[kOffBits] | file[kOffBits + 1] << 8;
        int decodedCount = 0;
        for (size_t length = 0; length < file.size(); ++length) {
            DibImage img;
            if (!DecodePrefix(file, length, &img))
                continue;
            ++decodedCount;
            EXPECT_GE(length, pixelOffset);
            ASSERT_EQ(img.indices.size(), full.indices.size()) << length;
            for (size_t i = 0; i < img.indices.size(); ++i)
                ASSERT_TRUE(img.indices[i] == full.indices[i] || img.indices[i] == 0)
                    << form.name << " length " << length << " pixel " << i;
        }
        EXPECT_GT(decodedCount, 1) << form.name;
    }
}

// ---- Huge claims ----------------------------------------------------------

TEST(BmpDecodeHugeClaims, UncompressedClaimsBeyondTheDataAreRefused) {
    for (int bitCount : {8, 32}) {
        BmpForm form = Form("claim", kInfo, bitCount);
        form.width = 4;
        form.height = 4;
        Bytes file = WriteBmp(form);
        file.resize(1024, 0);
        Put32(file, kWidth, kMaxBmpSide);
        Put32(file, kHeight, static_cast<DWORD>(bitCount == 8 ? kMaxBmpSide : -kMaxBmpSide));
        DibImage img;
        EXPECT_FALSE(Decode(file, &img)) << bitCount;
        EXPECT_FALSE(Decode(file, &img, 64, 64)) << bitCount;
    }
}

// A small RLE file may rightly claim the largest picture; asked for a small
// image it must decode into that alone, sampling the right source rows.
TEST(BmpDecodeHugeClaims, SmallRleFileClaimingTheCapDecodesToTheRequestedSize) {
    const int side = kMaxBmpSide;
    Bytes stream;
    auto climb = [&](int rows) {
        for (; rows > 0; rows -= std::min(rows, 255))
            stream.insert(stream.end(), {0, 2, 0, static_cast<BYTE>(std::min(rows, 255))});
    };
    auto fillRow = [&](BYTE index) {
        for (int x = 0; x < side; x += 255)
            stream.insert(stream.end(), {static_cast<BYTE>(std::min(255, side - x)), index});
    };
    // Source rows counted from the top: row 256 is sampled by destination row
    // 1 of 64, row 0 by destination row 0; RLE climbs from the bottom.
    climb(side - 1 - 256);
    fillRow(3);
    stream.insert(stream.end(), {0, 0});
    climb(255);
    fillRow(7);
    stream.insert(stream.end(), {0, 1});
    const Bytes file = RleFile(side, side, false, stream, 16);
    ASSERT_LT(file.size(), 1024u);
    DibImage img;
    ASSERT_TRUE(Decode(file, &img, 64, 64));
    ASSERT_EQ(img.indices.size(), 64u * 64u);
    std::vector<BYTE> expected(64 * 64, 0);
    std::fill(expected.begin(), expected.begin() + 64, 7);
    std::fill(expected.begin() + 64, expected.begin() + 128, 3);
    EXPECT_EQ(img.indices, expected);
}

TEST(BmpDecodeHugeClaims, ManyEndOfLinesOverTheCappedHeightAreCheap) {
    Bytes stream;
    for (int y = 0; y + 1 < kMaxBmpSide; ++y)
        stream.insert(stream.end(), {0, 0});
    stream.insert(stream.end(), {255, 5, 0, 1});
    DibImage img;
    ASSERT_TRUE(Decode(RleFile(kMaxBmpSide, kMaxBmpSide, false, stream), &img, 128, 2));
    std::vector<BYTE> expected(256, 0);
    // The run covers source columns 0..254 of the top row, sampled by x = 0
    // and x = 1 (column 128).
    expected[0] = expected[1] = 5;
    EXPECT_EQ(img.indices, expected);
}

TEST(BmpDecodeHugeClaims, TheCapItselfIsAccepted) {
    DibImage img;
    Bytes stream;
    for (int x = 0; x < kMaxBmpSide; x += 255)
        stream.insert(stream.end(), {static_cast<BYTE>(std::min(255, kMaxBmpSide - x)), 1});
    ASSERT_TRUE(Decode(RleFile(kMaxBmpSide, 1, false, stream), &img));
    EXPECT_EQ(img.indices, std::vector<BYTE>(kMaxBmpSide, 1));
}

// ---- Resizing -------------------------------------------------------------

TEST(BmpDecodeResize, HalvingTakesEveryOtherPixelFromTheTop) {
    for (BmpForm form : {Form("Info8", kInfo, 8), Form("Info24TopDown", kInfo, 24, BI_RGB, true),
                         Form("Rle8", kInfo, 8, BI_RLE8), Form("V5Indexed4", kV5, 4)}) {
        form.width = 400;
        form.height = 420;
        const Picture pic = MakePicture(form);
        DibImage img;
        ASSERT_TRUE(Decode(WriteBmp(form, pic), &img, 200, 210)) << form.name;
        ASSERT_EQ(img.width, 200);
        ASSERT_EQ(img.height, 210);
        for (int y = 0; y < 210; ++y) {
            for (int x = 0; x < 200; ++x) {
                const size_t src = static_cast<size_t>(2 * y) * 400 + 2 * x;
                const size_t dst = static_cast<size_t>(y) * 200 + x;
                if (!pic.indices.empty())
                    ASSERT_EQ(img.indices[dst], pic.indices[src]) << form.name << x << "," << y;
                else
                    ASSERT_EQ(img.pixels[dst], pic.expected[src]) << form.name << x << "," << y;
            }
        }
    }
}

TEST(BmpDecodeResize, DoublingRepeatsEachPixel) {
    BmpForm form = Form("Info8", kInfo, 8);
    form.width = 2;
    form.height = 2;
    Picture pic = MakePicture(form);
    pic.indices = {1, 2, 3, 4};
    DibImage img;
    ASSERT_TRUE(Decode(WriteBmp(form, pic), &img, 4, 4));
    EXPECT_EQ(img.indices, (std::vector<BYTE>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
}

TEST(BmpDecodeResize, UnevenEnlargingSamplesByIntegerRatio) {
    for (BmpForm form : {Form("Info1", kInfo, 1), Form("Rle4", kInfo, 4, BI_RLE4)}) {
        form.width = 21;
        form.height = 9;
        const Picture pic = MakePicture(form);
        DibImage img;
        ASSERT_TRUE(Decode(WriteBmp(form, pic), &img, 50, 31)) << form.name;
        for (int y = 0; y < 31; ++y)
            for (int x = 0; x < 50; ++x)
                ASSERT_EQ(img.indices[y * 50 + x], pic.indices[(y * 9 / 31) * 21 + x * 21 / 50])
                    << form.name << " " << x << "," << y;
    }
}

TEST(BmpDecodeResize, EveryOutputColourComesFromTheFile) {
    BmpForm form = Form("V4Bitfields565", kV4, 16, BI_BITFIELDS);
    form = WithMasks(form, 0xF800, 0x07E0, 0x001F);
    const Picture pic = MakePicture(form);
    const std::set<DWORD> colours(pic.expected.begin(), pic.expected.end());
    DibImage img;
    for (auto size : {std::pair<int, int>{37, 23}, {5, 3}, {1, 1}, {200, 210}}) {
        ASSERT_TRUE(Decode(WriteBmp(form, pic), &img, size.first, size.second));
        ASSERT_EQ(img.pixels.size(), static_cast<size_t>(size.first) * size.second);
        for (DWORD c : img.pixels)
            ASSERT_EQ(colours.count(c), 1u) << std::hex << c;
    }
}

TEST(BmpDecodeResize, ZeroKeepsTheFilesSizeOnThatSide) {
    const Bytes file = WriteBmp(kInfo8Form);
    DibImage img;
    ASSERT_TRUE(Decode(file, &img, 5, 0));
    EXPECT_EQ(img.width, 5);
    EXPECT_EQ(img.height, 9);
    EXPECT_EQ(img.indices.size(), 45u);
    ASSERT_TRUE(Decode(file, &img, 0, 4));
    EXPECT_EQ(img.width, 13);
    EXPECT_EQ(img.height, 4);
    EXPECT_EQ(img.colors.size(), 20u);
}

} // namespace
