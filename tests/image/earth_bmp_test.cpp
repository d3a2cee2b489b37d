// Checks the committed picture, assets/earth.bmp, for the form the demo and
// every display path rely on: an uncompressed 8-bit 200x210 BMP with a full
// colour table whose entries 0 and 255 are black and white, and a globe on
// transparent (index 0) space. The earth_bmp_is_reproducible test already
// proves the file is what tools/make_earth writes; this one proves that what
// it writes is right.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#ifndef ONDULIX_SOURCE_DIR
#error "ONDULIX_SOURCE_DIR must name the source tree"
#endif

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 210;
constexpr std::size_t kPaletteOffset = 54;
constexpr std::size_t kPixelOffset = 1078;
constexpr std::size_t kFileSize = 43078;

std::vector<std::uint8_t> read_earth() {
    const std::string path = std::string(ONDULIX_SOURCE_DIR) + "/assets/earth.bmp";
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t u16(const std::vector<std::uint8_t> &b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}

std::uint32_t u32(const std::vector<std::uint8_t> &b, std::size_t at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}

class EarthBmp : public ::testing::Test {
  protected:
    void SetUp() override {
        bytes_ = read_earth();
        // Everything below indexes into the file; stop here if it is short.
        ASSERT_EQ(bytes_.size(), kFileSize);
    }

    // Palette index of the pixel at column x, row y counted from the top;
    // the file stores rows bottom-up.
    int pixel(int x, int y) const {
        return bytes_[kPixelOffset + static_cast<std::size_t>(kHeight - 1 - y) * kWidth +
                      static_cast<std::size_t>(x)];
    }

    std::tuple<int, int, int> colour(int index) const {
        const std::size_t at = kPaletteOffset + 4 * static_cast<std::size_t>(index);
        return {bytes_[at + 2], bytes_[at + 1], bytes_[at]}; // stored blue, green, red
    }

    std::vector<std::uint8_t> bytes_;
};

TEST_F(EarthBmp, FileHeaderPointsAtPixelsAfterFullColourTable) {
    EXPECT_EQ(bytes_[0], 'B');
    EXPECT_EQ(bytes_[1], 'M');
    EXPECT_EQ(u32(bytes_, 2), kFileSize);
    EXPECT_EQ(u16(bytes_, 6), 0u);
    EXPECT_EQ(u16(bytes_, 8), 0u);
    EXPECT_EQ(u32(bytes_, 10), kPixelOffset);
}

TEST_F(EarthBmp, InfoHeaderDescribesUncompressedBottomUp8Bit200x210) {
    EXPECT_EQ(u32(bytes_, 14), 40u);
    EXPECT_EQ(u32(bytes_, 18), static_cast<std::uint32_t>(kWidth));
    // Positive height: rows stored bottom-up.
    EXPECT_EQ(u32(bytes_, 22), static_cast<std::uint32_t>(kHeight));
    EXPECT_EQ(u16(bytes_, 26), 1u);
    EXPECT_EQ(u16(bytes_, 28), 8u);
    EXPECT_EQ(u32(bytes_, 30), 0u); // BI_RGB
    EXPECT_EQ(u32(bytes_, 34), static_cast<std::uint32_t>(kWidth * kHeight));
    EXPECT_EQ(u32(bytes_, 46), 256u);
    EXPECT_EQ(u32(bytes_, 50), 0u);
}

TEST_F(EarthBmp, ColourTableHas256DistinctEntriesWithBlackAndWhiteAtTheEnds) {
    EXPECT_EQ(colour(0), std::make_tuple(0, 0, 0));
    EXPECT_EQ(colour(255), std::make_tuple(255, 255, 255));
    std::set<std::tuple<int, int, int>> seen;
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(bytes_[kPaletteOffset + 4 * static_cast<std::size_t>(i) + 3], 0)
            << "reserved byte of entry " << i;
        EXPECT_TRUE(seen.insert(colour(i)).second) << "entry " << i << " repeats a colour";
        if (i != 0 && i != 255) {
            EXPECT_NE(colour(i), std::make_tuple(0, 0, 0)) << "entry " << i;
            EXPECT_NE(colour(i), std::make_tuple(255, 255, 255)) << "entry " << i;
        }
    }
    EXPECT_EQ(seen.size(), 256u);
}

TEST_F(EarthBmp, CornersAreTransparentSpaceAndTheCentreIsGlobe) {
    EXPECT_EQ(pixel(0, 0), 0);
    EXPECT_EQ(pixel(kWidth - 1, 0), 0);
    EXPECT_EQ(pixel(0, kHeight - 1), 0);
    EXPECT_EQ(pixel(kWidth - 1, kHeight - 1), 0);
    EXPECT_NE(pixel(kWidth / 2, kHeight / 2), 0);
}

// The globe must be opaque throughout (a 0 inside it would show a hole in the
// demo) and nearly fill the picture: its middle row and column span at least
// 180 pixels without a single 0.
TEST_F(EarthBmp, GlobeIsOpaqueAndNearlyFillsThePicture) {
    const int cx = kWidth / 2;
    const int cy = kHeight / 2;
    int holes = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int dx = x - cx;
            const int dy = y - cy;
            if (dx * dx + dy * dy < 90 * 90 && pixel(x, y) == 0) {
                ++holes;
            }
        }
    }
    EXPECT_EQ(holes, 0);

    int left = cx;
    while (left > 0 && pixel(left - 1, cy) != 0) {
        --left;
    }
    int right = cx;
    while (right < kWidth - 1 && pixel(right + 1, cy) != 0) {
        ++right;
    }
    int top = cy;
    while (top > 0 && pixel(cx, top - 1) != 0) {
        --top;
    }
    int bottom = cy;
    while (bottom < kHeight - 1 && pixel(cx, bottom + 1) != 0) {
        ++bottom;
    }
    EXPECT_GE(right - left + 1, 180);
    EXPECT_GE(bottom - top + 1, 180);
    // ... and still leaves a margin of space on every side.
    EXPECT_GT(left, 0);
    EXPECT_LT(right, kWidth - 1);
    EXPECT_GT(top, 0);
    EXPECT_LT(bottom, kHeight - 1);
}

// Space is black: outside the globe almost every pixel is index 0, the only
// exceptions being a sparse scattering of stars.
TEST_F(EarthBmp, SpaceAroundTheGlobeIsIndexZeroExceptForAFewStars) {
    int outside = 0;
    int lit = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int dx = x - kWidth / 2;
            const int dy = y - kHeight / 2;
            if (dx * dx + dy * dy > 102 * 102) {
                ++outside;
                lit += pixel(x, y) != 0 ? 1 : 0;
            }
        }
    }
    ASSERT_GT(outside, 5000);
    EXPECT_GT(lit, 0) << "no stars at all";
    EXPECT_LT(lit * 50, outside) << "more than 2% of space is not black";
}

TEST_F(EarthBmp, UsesMostOfThePalette) {
    std::set<int> used;
    for (std::size_t i = kPixelOffset; i < bytes_.size(); ++i) {
        used.insert(bytes_[i]);
    }
    EXPECT_GT(used.size(), 150u);
}

} // namespace
