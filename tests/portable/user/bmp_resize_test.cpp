// Decoding to a requested size, as LoadImageA asks: nearest-neighbour
// sampling by integer ratio, whole pixels only, and the file's own size on a
// side asked as 0.
#include "tests/support/bmp_pictures.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

using namespace bmpcases;
using namespace portable;

namespace {

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
