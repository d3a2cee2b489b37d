// BitBlt of a loaded DIB into a DirectDraw surface's drawing context: each
// pixel arrives as the index, in the display palette, of its colour. A DIB
// whose table is the palette itself keeps every index, repeated colours
// included; any other DIB is matched colour by colour: the lowest index with
// exactly that colour, else the nearest colour, ties to the lowest index.
#include "platform/portable/gdi/gdi_objects.h"
#include "tests/support/dib_files.h"
#include "tests/support/display_fixture.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using testsupport::MakeRgbQuad;
using testsupport::Pixels;
using testsupport::ReadSurface;
using testsupport::WriteSurface;

constexpr uint8_t kUntouched = 0xEE;

// The display palette of these tests: grey i at index i, except that index
// 20 repeats grey 10 and index 31 repeats grey 30 (so greys 20 and 31 are
// missing).
std::vector<PALETTEENTRY> DisplayPalette() {
    std::vector<PALETTEENTRY> p(256);
    for (int i = 0; i < 256; ++i)
        p[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    p[20] = p[10];
    p[31] = p[30];
    return p;
}

std::vector<RGBQUAD> TableOf(const std::vector<PALETTEENTRY> &palette) {
    std::vector<RGBQUAD> table;
    for (const PALETTEENTRY &e : palette)
        table.push_back(MakeRgbQuad(e.peRed, e.peGreen, e.peBlue));
    return table;
}

class BitBltIntoSurface : public testsupport::DisplayTest {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ASSERT_EQ(palette->SetEntries(0, 0, 256, DisplayPalette().data()), DD_OK);
        WriteSurface(work, [](int, int) -> uint8_t { return kUntouched; });
        objects_ = portable::LiveGdiObjects();
    }
    void TearDown() override {
        EXPECT_EQ(portable::LiveGdiObjects(), objects_) << "every GDI object was deleted";
        DisplayTest::TearDown();
    }

    // Loads the file at its own size and draws it at (x, y) of the work
    // surface as the picture loader does; the BitBlt result.
    BOOL Draw(const std::vector<uint8_t> &file, int x, int y, int cx, int cy, DWORD rop = SRCCOPY,
              int loadWidth = 0, int loadHeight = 0) {
        const std::string path = dir_.Write("picture.bmp", file);
        HBITMAP bitmap =
            static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, loadWidth,
                                            loadHeight, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        EXPECT_NE(bitmap, nullptr);
        HDC surfaceDC = nullptr;
        EXPECT_EQ(work->GetDC(&surfaceDC), DD_OK);
        HDC memoryDC = CreateCompatibleDC(surfaceDC);
        EXPECT_NE(memoryDC, nullptr);
        HGDIOBJ previous = SelectObject(memoryDC, bitmap);
        EXPECT_NE(previous, nullptr);
        const BOOL result = BitBlt(surfaceDC, x, y, cx, cy, memoryDC, 0, 0, rop);
        SelectObject(memoryDC, previous);
        EXPECT_TRUE(DeleteDC(memoryDC));
        EXPECT_EQ(work->ReleaseDC(surfaceDC), DD_OK);
        EXPECT_TRUE(DeleteObject(bitmap));
        return result;
    }

    // The surface's pixels of the rectangle, row by row.
    std::vector<uint8_t> Area(int x, int y, int cx, int cy) {
        const Pixels p = ReadSurface(work);
        std::vector<uint8_t> area;
        for (int row = y; row < y + cy; ++row)
            for (int col = x; col < x + cx; ++col)
                area.push_back(p.at(col, row));
        return area;
    }

    // How many pixels outside the rectangle changed.
    int ChangedOutside(int x, int y, int cx, int cy) {
        const Pixels p = ReadSurface(work);
        int changed = 0;
        for (int row = 0; row < p.height; ++row)
            for (int col = 0; col < p.width; ++col) {
                const bool inside = col >= x && col < x + cx && row >= y && row < y + cy;
                changed += !inside && p.at(col, row) != kUntouched;
            }
        return changed;
    }

  private:
    testsupport::ScratchDir dir_;
    size_t objects_ = 0;
};

struct IndexedCase {
    const char *name;
    std::vector<RGBQUAD> table;
    std::vector<uint8_t> indices; // 4 x 2
    std::vector<uint8_t> expected;
};

std::vector<RGBQUAD> TableWithOneChange() {
    std::vector<RGBQUAD> table = TableOf(DisplayPalette());
    table[200] = MakeRgbQuad(128, 0, 0);
    return table;
}

const IndexedCase kIndexedCases[] = {
    {"TableEqualToThePaletteKeepsEveryIndex",
     TableOf(DisplayPalette()),
     {20, 10, 31, 30, 0, 255, 200, 7},
     {20, 10, 31, 30, 0, 255, 200, 7}},
    // One entry differs: every pixel is matched by its colour, so repeated
    // colours fall to their lowest index.
    {"TableWithOneChangeMatchesEveryColour",
     TableWithOneChange(),
     {20, 10, 31, 30, 0, 255, 200, 7},
     {10, 10, 30, 30, 0, 255, 43, 7}},
    // Grey 20 is missing: 19 and 21 are as near, and the lower wins.
    {"ShortTableMatchesByColourTiesToTheLowerIndex",
     {MakeRgbQuad(10, 10, 10), MakeRgbQuad(30, 30, 30), MakeRgbQuad(20, 20, 20),
      MakeRgbQuad(128, 0, 0)},
     {0, 1, 2, 3, 3, 2, 1, 0},
     {10, 30, 19, 43, 43, 19, 30, 10}},
};

// Named in test listings by its case name.
void PrintTo(const IndexedCase &c, std::ostream *os) {
    *os << c.name;
}

class IndexedDib : public BitBltIntoSurface, public ::testing::WithParamInterface<IndexedCase> {};

TEST_P(IndexedDib, ArrivesAsPaletteIndices) {
    const IndexedCase &c = GetParam();
    EXPECT_TRUE(Draw(testsupport::IndexedBmpFile(4, 2, c.table, c.indices), 60, 15, 4, 2));
    EXPECT_EQ(Area(60, 15, 4, 2), c.expected);
    EXPECT_EQ(ChangedOutside(60, 15, 4, 2), 0);
}

INSTANTIATE_TEST_SUITE_P(Tables, IndexedDib, ::testing::ValuesIn(kIndexedCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(BitBltIntoSurface, DirectColourPixelsTakeTheNearestLowestIndex) {
    const std::vector<uint32_t> colours = {0x0A0A0A, 0x141414, 0x1F1F1F, 0xFF0000,
                                           0x000000, 0xFFFFFF, 0x1E1E1E, 0x808080};
    EXPECT_TRUE(Draw(testsupport::TrueColourBmpFile(4, 2, colours), 0, 0, 4, 2));
    // Grey 31 is missing: 30 (twice) and 32 are as near, and 30 is lowest.
    EXPECT_EQ(Area(0, 0, 4, 2), (std::vector<uint8_t>{10, 19, 30, 85, 0, 255, 30, 128}));
    EXPECT_EQ(ChangedOutside(0, 0, 4, 2), 0);
}

// The demo's own use: a 400x420 file loaded at 200x210 and drawn at (60, 15).
TEST_F(BitBltIntoSurface, AHalvedPictureLandsWhereItIsDrawn) {
    std::vector<uint8_t> indices(400 * 420);
    for (int y = 0; y < 420; ++y)
        for (int x = 0; x < 400; ++x)
            indices[y * 400 + x] = static_cast<uint8_t>((x / 2 * 3 + y / 2) & 0xFF);
    const std::vector<uint8_t> file =
        testsupport::IndexedBmpFile(400, 420, TableOf(DisplayPalette()), indices);
    EXPECT_TRUE(Draw(file, 60, 15, 200, 210, SRCCOPY, 200, 210));
    const std::vector<uint8_t> area = Area(60, 15, 200, 210);
    for (int y = 0; y < 210; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(area[y * 200 + x], indices[(2 * y) * 400 + 2 * x]) << x << "," << y;
    EXPECT_EQ(ChangedOutside(60, 15, 200, 210), 0);
}

struct Placement {
    const char *name;
    int x, y;
    // The part of the 4x2 picture that lands, and where.
    int destX, destY, width, height, fromX, fromY;
};

const Placement kPlacements[] = {
    {"Inside", 100, 100, 100, 100, 4, 2, 0, 0},
    {"CutAtTheRightAndBottom", 638, 479, 638, 479, 2, 1, 0, 0},
    {"CutAtTheLeftAndTop", -3, -1, 0, 0, 1, 1, 3, 1},
    {"WhollyOutside", 640, 0, 0, 0, 0, 0, 0, 0},
};

// Named in test listings by its case name.
void PrintTo(const Placement &c, std::ostream *os) {
    *os << c.name;
}

class PlacedDib : public BitBltIntoSurface, public ::testing::WithParamInterface<Placement> {};

TEST_P(PlacedDib, WritesOnlyThePartOnTheSurface) {
    const Placement &p = GetParam();
    std::vector<uint8_t> indices = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_TRUE(Draw(testsupport::IndexedBmpFile(4, 2, TableOf(DisplayPalette()), indices), p.x,
                     p.y, 4, 2));
    std::vector<uint8_t> expected;
    for (int row = 0; row < p.height; ++row)
        for (int col = 0; col < p.width; ++col)
            expected.push_back(indices[(p.fromY + row) * 4 + p.fromX + col]);
    EXPECT_EQ(Area(p.destX, p.destY, p.width, p.height), expected);
    EXPECT_EQ(ChangedOutside(p.destX, p.destY, p.width, p.height), 0);
}

INSTANTIATE_TEST_SUITE_P(Places, PlacedDib, ::testing::ValuesIn(kPlacements),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(BitBltIntoSurface, OtherRasterOperationsDrawNothing) {
    const DWORD kSrcInvert = 0x00660046;
    EXPECT_FALSE(
        Draw(testsupport::IndexedBmpFile(4, 2, TableOf(DisplayPalette()), {1, 2, 3, 4, 5, 6, 7, 8}),
             0, 0, 4, 2, kSrcInvert));
    EXPECT_EQ(ChangedOutside(0, 0, 0, 0), 0);
}

} // namespace
