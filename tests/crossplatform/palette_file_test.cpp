// The palette read from a file's bytes 54-1077 by position alone, on either
// platform: binary reads (no line-end or end-of-file translation), blue-
// green-red order, the fourth byte dropped, 255 past the end of the file,
// however short it is; into the palette table and the display palette.
#include "display/display.h"
#include "image/image.h"
#include "tests/crossplatform/surface_fixture.h"
#include "tests/support/case_names.h"

#include <cctype>
#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Bytes that are never 255, so that a 255 in the palette can only come from
// a read past the end of the file.
std::vector<uint8_t> PatternBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>((i * 37 + 11) % 255);
    return bytes;
}

class PaletteFile : public crossplatform::SurfaceTest {
  protected:
    void SetUp() override {
        SurfaceTest::SetUp();
        g_pDDPal = CreatePalette();
        // A name of this test's own: the tests run side by side, each in its
        // own process, and one must not remove another's file.
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "_" + test->name();
        for (char &c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        path_ = ::testing::TempDir() + "ondulix_palette_" + name + ".bmp";
    }
    void TearDown() override {
        g_pDDPal = nullptr; // owned by the fixture
        std::remove(path_.c_str());
        SurfaceTest::TearDown();
    }
    // Loads the bytes as the picture file and checks the table and the
    // display palette against the file's colour table: entry i takes blue,
    // green and red from 54 + 4i, 55 + 4i and 56 + 4i, 255 for each byte past
    // the end, and the flag PC_RESERVED.
    void ExpectPaletteOf(const std::vector<uint8_t> &file) {
        std::FILE *f = std::fopen(path_.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        if (!file.empty())
            std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
        EXPECT_EQ(LoadBmpPalette(path_.c_str()), DD_OK);
        PALETTEENTRY shown[256];
        ASSERT_EQ(g_pDDPal->GetEntries(0, 0, 256, shown), DD_OK);
        const auto at = [&](size_t offset) -> int {
            return offset < file.size() ? file[offset] : 255;
        };
        for (int i = 0; i < 256; ++i) {
            const size_t base = 54 + 4 * static_cast<size_t>(i);
            const PALETTEENTRY &e = g_PalEntries[i];
            EXPECT_EQ(e.peBlue, at(base)) << "entry " << i;
            EXPECT_EQ(e.peGreen, at(base + 1)) << "entry " << i;
            EXPECT_EQ(e.peRed, at(base + 2)) << "entry " << i;
            EXPECT_EQ(e.peFlags, PC_RESERVED) << "entry " << i;
            EXPECT_EQ(shown[i].peBlue, at(base)) << "display entry " << i;
            EXPECT_EQ(shown[i].peGreen, at(base + 1)) << "display entry " << i;
            EXPECT_EQ(shown[i].peRed, at(base + 2)) << "display entry " << i;
        }
    }

    std::string path_;
};

TEST_F(PaletteFile, TableBytesBecomeEntriesInBlueGreenRedOrder) {
    std::vector<uint8_t> file = PatternBytes(1078 + 100);
    file[54] = 10;
    file[55] = 20;
    file[56] = 30;
    file[57] = 40;
    ExpectPaletteOf(file);
    EXPECT_EQ(g_PalEntries[0].peRed, 30);
    EXPECT_EQ(g_PalEntries[0].peGreen, 20);
    EXPECT_EQ(g_PalEntries[0].peBlue, 10);
    EXPECT_EQ(g_PalEntries[0].peFlags, PC_RESERVED);
}

TEST_F(PaletteFile, LineEndAndEndOfFileBytesAreReadAsThemselves) {
    std::vector<uint8_t> file = PatternBytes(1078);
    const uint8_t controls[] = {13, 10, 26, 13, 10, 10, 26, 26, 13, 26, 10, 13};
    for (size_t i = 0; i < sizeof(controls); ++i)
        file[54 + i] = controls[i]; // entries 0-2, reserved bytes included
    file[54 + 4 * 100] = 26;        // end-of-file byte mid-table
    file[54 + 4 * 100 + 1] = 13;
    file[54 + 4 * 100 + 2] = 10;
    ExpectPaletteOf(file);
    EXPECT_EQ(g_PalEntries[0].peBlue, 13);
    EXPECT_EQ(g_PalEntries[0].peGreen, 10);
    EXPECT_EQ(g_PalEntries[0].peRed, 26);
    EXPECT_EQ(g_PalEntries[100].peBlue, 26);
    EXPECT_EQ(g_PalEntries[100].peGreen, 13);
    EXPECT_EQ(g_PalEntries[100].peRed, 10);
}

struct FileSizeCase {
    const char *name;
    size_t size;
};

std::ostream &operator<<(std::ostream &os, const FileSizeCase &c) {
    return os << c.name;
}

const FileSizeCase kFileSizes[] = {
    {"the picture file's size", 43078},
    {"exactly headers and table", 1078},
    {"lacking only the last reserved byte", 1077},
    {"lacking entry 255's red as well", 1076},
    {"ending mid-table", 600},
    {"one table byte", 55},
    {"headers only", 54},
    {"shorter than the headers", 20},
    {"empty", 0},
};

class PaletteFileSize : public PaletteFile, public ::testing::WithParamInterface<FileSizeCase> {};

TEST_P(PaletteFileSize, GivesEveryByteBeyondTheEndAs255) {
    // No header in these files is a BMP header: none is looked at.
    ExpectPaletteOf(PatternBytes(GetParam().size));
}

INSTANTIATE_TEST_SUITE_P(Lengths, PaletteFileSize, ::testing::ValuesIn(kFileSizes),
                         testsupport::NameField());

} // namespace
