// RLE8 and RLE4 command streams written by hand: every command decodes as
// it should, a stream that would write outside the picture or ends inside a
// command is refused, and indices beyond the table show as index 0.
#include "tests/support/bmp_pictures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace bmpcases;
using namespace portable;

namespace {

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
} // namespace
