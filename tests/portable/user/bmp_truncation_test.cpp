// Files cut at every length, each decoded from a buffer of exactly that
// size so the address sanitizer sees any read past it: uncompressed files
// are refused until their last pixel, RLE files with biSizeImage always, and
// without it decode to no pixel the whole file does not give.
#include "tests/support/bmp_pictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace bmpcases;
using namespace portable;

namespace {

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
} // namespace
