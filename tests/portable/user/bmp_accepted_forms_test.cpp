// Every BMP form the decoder accepts gives back the picture written in it:
// each header, depth, row order, table length and mask layout, and RLE;
// direct-colour channels scale to 8 bits; indices beyond the table show as
// index 0.
#include "tests/support/bmp_pictures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace bmpcases;
using namespace portable;

namespace {

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
    Sized(Form("InfoRle8", kInfo, 8, BI_RLE8, false, 40), 21),
    Sized(Form("V4Rle8", kV4, 8, BI_RLE8), 21),
    Sized(Form("V5Rle8", kV5, 8, BI_RLE8, false, 16), 21),
    Sized(Form("InfoRle4", kInfo, 4, BI_RLE4), 21),
    Sized(Form("V5Rle4", kV5, 4, BI_RLE4, false, 9), 21),
    Sized(Form("Info8Wide", kInfo, 8), 300, 2),
    Sized(Form("InfoRle8Wide", kInfo, 8, BI_RLE8), 600, 12),
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
} // namespace
