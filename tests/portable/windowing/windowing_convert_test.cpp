// The presenter's conversion of an 8-bit palettized frame into the 32-bit
// pixels of the screen's texture: every index becomes its palette colour,
// opaque, whatever the palette's flags, and nothing outside the frame's
// rows is touched.
#include "platform/portable/windowing/windowing_convert.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using portable::BuildArgbTable;
using portable::BuildRgbaTable;
using portable::ConvertIndexedToArgb;

std::vector<PALETTEENTRY> SamplePalette() {
    std::vector<PALETTEENTRY> p(256);
    for (int i = 0; i < 256; ++i)
        p[i] = {BYTE(i), BYTE(255 - i), BYTE(i * 7), BYTE(i % 5)}; // flags vary on purpose
    return p;
}

TEST(BuildArgbTable, GivesEachIndexItsOpaqueColourWhateverItsFlags) {
    std::vector<PALETTEENTRY> palette(256, PALETTEENTRY{0, 0, 0, 0});
    palette[1] = {0xFF, 0x00, 0x00, PC_NOCOLLAPSE};
    palette[2] = {0x00, 0xFF, 0x00, 0};
    palette[3] = {0x00, 0x00, 0xFF, PC_RESERVED};
    palette[4] = {0x12, 0x34, 0x56, 0};
    uint32_t table[256];
    BuildArgbTable(palette.data(), table);
    EXPECT_EQ(table[0], 0xFF000000u);
    EXPECT_EQ(table[1], 0xFFFF0000u);
    EXPECT_EQ(table[2], 0xFF00FF00u);
    EXPECT_EQ(table[3], 0xFF0000FFu);
    EXPECT_EQ(table[4], 0xFF123456u);
}

// A canvas's ImageData takes the bytes red, green, blue, alpha in that order
// in memory, whatever the machine's byte order.
TEST(BuildRgbaTable, GivesEachIndexItsColourAsTheBytesOfImageData) {
    std::vector<PALETTEENTRY> palette(256, PALETTEENTRY{0, 0, 0, 0});
    palette[1] = {0x12, 0x34, 0x56, PC_RESERVED};
    palette[255] = {0xFF, 0xFE, 0xFD, 0};
    uint32_t table[256];
    BuildRgbaTable(palette.data(), table);
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(table);
    const uint8_t black[4] = {0, 0, 0, 0xFF};
    const uint8_t one[4] = {0x12, 0x34, 0x56, 0xFF};
    const uint8_t last[4] = {0xFF, 0xFE, 0xFD, 0xFF};
    EXPECT_EQ(0, std::memcmp(bytes, black, 4));
    EXPECT_EQ(0, std::memcmp(bytes + 4, one, 4));
    EXPECT_EQ(0, std::memcmp(bytes + 255 * 4, last, 4));
}

// Source rows wider than the frame and destination rows wider still, as
// surface and texture pitches are; the padding must stay as it was.
TEST(ConvertIndexedToArgb, ConvertsEveryPixelOfEveryRowAndNothingElse) {
    const int width = 5, height = 3;
    const long srcPitch = 8, dstPitch = 7 * 4;
    std::vector<uint8_t> src(srcPitch * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < srcPitch; ++x)
            src[y * srcPitch + x] = x < width ? static_cast<uint8_t>(y * 50 + x * 13) : 0xFF;
    uint32_t table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x010203);
    const uint32_t kPad = 0xDEADBEEF;
    std::vector<uint32_t> dst(dstPitch / 4 * height, kPad);
    ConvertIndexedToArgb(src.data(), srcPitch, width, height, table, dst.data(), dstPitch);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < dstPitch / 4; ++x) {
            const uint32_t got = dst[y * (dstPitch / 4) + x];
            if (x < width)
                EXPECT_EQ(got, table[src[y * srcPitch + x]]) << x << "," << y;
            else
                EXPECT_EQ(got, kPad) << "padding at " << x << "," << y;
        }
}

TEST(ConvertIndexedToArgb, AFullFrameUsesEveryTableEntry) {
    const int width = 640, height = 480;
    std::vector<uint8_t> src(width * height);
    for (size_t i = 0; i < src.size(); ++i)
        src[i] = static_cast<uint8_t>(i * 7 + i / width);
    uint32_t table[256];
    BuildArgbTable(SamplePalette().data(), table);
    std::vector<uint32_t> dst(width * height);
    ConvertIndexedToArgb(src.data(), width, width, height, table, dst.data(), width * 4);
    for (size_t i = 0; i < src.size(); ++i)
        ASSERT_EQ(dst[i], table[src[i]]) << "pixel " << i;
}

} // namespace
