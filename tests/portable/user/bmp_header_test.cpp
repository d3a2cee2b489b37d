// Headers the decoder must refuse, each an otherwise good file with one
// field damaged, leaving the image empty; the size cap on either side, and
// claims larger than the data; the few header liberties it takes.
#include "tests/support/bmp_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

using namespace bmpcases;
using namespace portable;

namespace {

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

const BmpForm kInfo4Form = Form("Info4", kInfo, 4);
const BmpForm kInfo1Form = Form("Info1", kInfo, 1);
const BmpForm kInfo32Form = Form("Info32", kInfo, 32);
const BmpForm kCore8Form = Form("Core8", kCore, 8);
const BmpForm kCore24Form = Form("Core24", kCore, 24);
const BmpForm kBitfields16Form =
    WithMasks(Form("Bitfields16", kInfo, 16, BI_BITFIELDS), 0xF800, 0x07E0, 0x001F);
const BmpForm kV5Bitfields16Form =
    WithMasks(Form("V5Bitfields16", kV5, 16, BI_BITFIELDS), 0xF800, 0x07E0, 0x001F);
const BmpForm kBitfields32Form =
    WithMasks(Form("Bitfields32", kInfo, 32, BI_BITFIELDS), 0xFF0000, 0xFF00, 0xFF);
// 16-bit pixels whose masks would also fit 8 bits, with data enough to hold a
// 256-colour table.
const BmpForm kByteMasks16Form =
    Sized(WithMasks(Form("ByteMasks16", kInfo, 16, BI_BITFIELDS), 0xE0, 0x1C, 0x03), 64, 16);
const BmpForm kSmallRle8Form = Sized(Form("SmallRle8", kInfo, 8, BI_RLE8, false, 16), 21);
const BmpForm kSmallRle4Form = Sized(Form("SmallRle4", kInfo, 4, BI_RLE4), 21);
// Pictures at the cap on one side, whose data would still cover one more
// pixel or row: refusing them past the cap is the cap's doing alone.
const BmpForm kWideAtCapForm = Sized(Form("WideAtCap", kInfo, 8, BI_RGB, false, 2), kMaxBmpSide, 1);
const BmpForm kTallAtCapForm = Sized(Form("TallAtCap", kInfo, 8, BI_RGB, false, 2), 1, kMaxBmpSide);
const BmpForm kTallTopDownAtCapForm =
    Sized(Form("TallTopDownAtCap", kInfo, 8, BI_RGB, true, 2), 1, kMaxBmpSide);
constexpr size_t kMasksAfterInfo = testsupport::kAfterInfo, kMasksInHeader = 54;

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
    {"ColorsUsed257", kInfo8Form, SetField32(kColorsUsed, 257)},
    {"ColorsUsedAbove4BitTable", kInfo4Form, SetField32(kColorsUsed, 17)},
    {"ColorsUsedAbove1BitTable", kInfo1Form, SetField32(kColorsUsed, 3)},
    {"ColorsUsed257OnDirectColour", kInfo24Form, SetField32(kColorsUsed, 257)},
    {"ColorsUsedHuge", kInfo8Form, SetField32(kColorsUsed, 0xFFFFFFFFu)},
    {"ColorTablePastEnd", kInfo8Form, SetField32(kColorsUsed, 256)},
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
} // namespace
